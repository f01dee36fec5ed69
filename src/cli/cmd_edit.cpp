#include "cli/commands.h"
#include "cli/edits.h"
#include "player/edits_file.h"

#include <iostream>

namespace qb::cli {
int runSet(const std::string& file, int slot, const std::vector<std::string>& assignments,
           const EditOptions& options) {
    RosterEdits edits;
    edits[slot] = parseAssignments(assignments);
    RosterDocument document(file);
    warnAboutKind(document.file());
    for (const SlotResult& result : applyEdits(document, edits, options).slots) {
        printSlot(result, options.style());
    }
    return 0;
}

int runApply(const std::string& file, const std::string& editsPath, MatchBy match,
             const EditOptions& options) {
    const std::string text = readEditsFile(editsPath);
    EditBasis basis{match, {}, {}};
    // A bad edits file is a failure of its contents (exit 1), not of the command line.
    const RosterEdits edits = parseEditsFile(text, editsPath, match, &basis.slotHashes);
    RosterDocument document(file);
    warnAboutKind(document.file());
    const EditResults results = applyEdits(document, edits, options, std::move(basis));
    for (const int id : results.unmatched) {
        std::cout << "id " << id << ": no player with this ID in " << file << '\n';
    }
    printBatch(results.slots, options.style());
    return 0;
}

} // namespace qb::cli
