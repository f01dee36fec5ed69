#pragma once

#include "roster/safe_write.h"

#include <string>
#include <vector>

namespace qb::cli {

enum class Format { Text, Json, Csv };
struct EditOptions;

int runList(const std::string& file, bool all, Format format);
int runShow(const std::string& file, int slot, Format format);
int runDump(const std::string& file, bool all, Format format);
int runSet(const std::string& file, int slot, const std::vector<std::string>& assignments,
           const EditOptions& options);
int runApply(const std::string& file, const std::string& editsPath, const EditOptions& options);
int runExport(const std::string& file, int slot, const std::string& out, bool yes);
int runImport(const std::string& file, int slot, const std::string& in, bool yes,
              const SafetyOptions& safety);
int runCheck(const std::string& file, Format format);
int runDiff(const std::string& fileA, const std::string& fileB, Format format);
int runBulk(const std::string& file, const std::vector<std::string>& wheres,
            const std::vector<std::string>& sets, const EditOptions& options);
// Sets the fields of each slot (default: every named slot that fails to load) that the
// editor cannot show to values it can show, and saves as the editor does.
int runRepair(const std::string& file, const std::vector<int>& slots, bool dryRun,
              const SafetyOptions& safety);
int runFace(const std::string& gameFolder, int face, const std::string& out);
int runTga(const std::string& in, const std::string& out);

// Prints the roster's kind warning (a saved game named as a roster file) on stderr.
void warnAboutKind(const RosterFile& roster);

// Asks a yes/no question on the terminal; false without a terminal.
bool confirmOnTerminal(const std::string& question);

} // namespace qb::cli
