#include "cli/commands.h"
#include "player/roster_document.h"
#include "roster/player_lists.h"
#include "saving/transfer.h"
#include "system/errors.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <filesystem>
#include <iostream>

namespace qb::cli {

bool confirmOnTerminal(const std::string& question) {
    if (!standardInputIsTerminal()) {
        return false;
    }
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return answer == "y" || answer == "Y" || answer == "yes";
}

void warnAboutKind(const RosterFile& roster) {
    if (roster.kindWarning()) {
        std::cerr << "quillbay-cli: warning: " << *roster.kindWarning() << '\n';
    }
}

int runExport(const std::string& file, int slot, const std::string& out, bool yes) {
    const RosterDocument document(file);
    const ExportTarget target = planExport(out);
    // No file dialog has asked about the name given, so an existing file is always asked
    // about, whether or not ".data" was appended.
    std::error_code ignored;
    if (std::filesystem::exists(nativePath(target.path), ignored) && !yes &&
        !confirmOnTerminal(target.path + " already exists. Replace it?")) {
        throw QuillbayError(target.path +
                                " already exists; nothing was exported (use --yes to replace it)",
                            target.path);
    }
    exportSlot(document.file(), slot, target.path);
    std::cout << exportSuccessText(target.path) << '\n';
    return 0;
}

int runImport(const std::string& file, int slot, const std::string& in, bool yes,
              const SafetyOptions& safety) {
    const RosterDocument document(file);
    const RosterFile& roster = document.file();
    warnAboutKind(roster);
    readPlayerFile(in); // refuse a wrong size before asking
    requireSlot(file, slot);
    const std::string name = recordName(document.table().record(slot));
    const std::string target = name.empty() ? "empty slot " + std::to_string(slot) : name;
    if (!yes && !confirmOnTerminal(importConfirmationText(target, in))) {
        throw QuillbayError(
            "Import not confirmed; nothing was written (use --yes without a terminal)", file);
    }
    std::vector<std::string> notices;
    importSlot(roster, slot, in, safety, &notices);
    std::cout << importSuccessText(target) << '\n';
    for (const std::string& notice : notices) {
        std::cerr << "quillbay-cli: " << notice << '\n';
    }
    return 0;
}

} // namespace qb::cli
