#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/edits.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace qb::cli {
namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw FileError("Cannot open " + path + " for reading", path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int report(const std::vector<SlotResult>& results) {
    for (const SlotResult& result : results) {
        std::cout << describe(result) << '\n';
    }
    return 0;
}

} // namespace

int runSet(const std::string& file, int slot, const std::vector<std::string>& assignments,
           bool dryRun, const SafetyOptions& safety) {
    RosterEdits edits;
    edits[slot] = parseAssignments(assignments);
    const RosterFile roster(file);
    return report(applyEdits(roster, edits, dryRun, safety));
}

int runApply(const std::string& file, const std::string& editsPath, bool dryRun,
             const SafetyOptions& safety) {
    const std::string text = readText(editsPath);
    const bool csv = editsPath.ends_with(".csv") || editsPath.ends_with(".CSV");
    RosterEdits edits;
    try {
        edits = csv ? parseCsvEdits(text, editsPath) : parseJsonEdits(text, editsPath);
    } catch (const UsageError& error) {
        // A bad edits file is a failure of its contents, not of the command line.
        throw QuillbayError(error.description(), editsPath);
    }
    const RosterFile roster(file);
    return report(applyEdits(roster, edits, dryRun, safety));
}

} // namespace qb::cli
