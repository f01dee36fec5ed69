#include "cli/commands.h"
#include "cli/edits.h"

#include <iostream>

namespace qb::cli {
int runSet(const std::string& file, int slot, const std::vector<std::string>& assignments,
           const EditOptions& options) {
    RosterEdits edits;
    edits[slot] = parseAssignments(assignments);
    RosterDocument document(file);
    warnAboutKind(document.file());
    for (const SlotResult& result :
         applyEdits(document, editsOf(std::move(edits)), options).slots) {
        printSlot(result, options.style());
    }
    return 0;
}

int runApply(const std::string& file, const std::string& editsPath, MatchBy match,
             const EditOptions& options) {
    // A bad edits file is a failure of its contents (exit 1), not of the command line.
    EditsFile edits = readEditsFile(readEditsFileBytes(editsPath), editsPath, match);
    for (const std::string& note : edits.notes) {
        std::cerr << "quillbay-cli: " << note << '\n';
    }
    if (!edits.hasHashColumn) {
        std::cerr << "quillbay-cli: " << editsPath << " has no " << kSlotHashKey
                  << " column: rows of players changed in " << file
                  << " since the file was made cannot be told and are applied as they are\n";
    }
    RosterDocument document(file);
    warnAboutKind(document.file());
    const EditResults results = applyEdits(document, std::move(edits), options);
    for (const int id : results.unmatched) {
        std::cout << "id " << id << ": no player with this ID in " << file << '\n';
    }
    printBatch(results.slots, options.style());
    return 0;
}

} // namespace qb::cli
