#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/edits.h"
#include "roster/file_handle.h"

#include <iostream>

namespace qb::cli {
namespace {

std::string readText(const std::string& path) {
    const FileHandle in(path, OpenMode::Read, "reading");
    std::string text(static_cast<std::size_t>(in.size()), '\0');
    in.readAt(reinterpret_cast<std::uint8_t*>(text.data()), text.size(), 0);
    return text;
}

int report(const std::vector<SlotResult>& results) {
    for (const SlotResult& result : results) {
        std::cout << describe(result) << '\n';
    }
    return 0;
}

} // namespace

int runSet(const std::string& file, int slot, const std::vector<std::string>& assignments,
           const EditOptions& options) {
    RosterEdits edits;
    edits[slot] = parseAssignments(assignments);
    RosterDocument document(file);
    warnAboutKind(document.file());
    return report(applyEdits(document, edits, options));
}

int runApply(const std::string& file, const std::string& editsPath, MatchBy match,
             const EditOptions& options) {
    const std::string text = readText(editsPath);
    const bool csv = editsPath.ends_with(".csv") || editsPath.ends_with(".CSV");
    RosterEdits edits;
    try {
        edits =
            csv ? parseCsvEdits(text, editsPath, match) : parseJsonEdits(text, editsPath, match);
    } catch (const UsageError& error) {
        // A bad edits file is a failure of its contents, not of the command line.
        throw QuillbayError(error.description(), editsPath);
    }
    RosterDocument document(file);
    warnAboutKind(document.file());
    std::vector<int> unmatched;
    if (match == MatchBy::Id) {
        const auto holders = namedSlotsById(document);
        RosterEdits bySlot;
        for (auto& [id, fields] : edits) {
            if (const std::optional<int> slot = slotHoldingId(holders, id, file)) {
                bySlot[*slot] = std::move(fields);
            } else {
                unmatched.push_back(id);
            }
        }
        edits = std::move(bySlot);
    }
    report(applyEdits(document, edits, options));
    for (const int id : unmatched) {
        std::cout << "id " << id << ": no player with this ID in " << file << '\n';
    }
    return 0;
}

} // namespace qb::cli
