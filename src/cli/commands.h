#pragma once

#include "cli/slot_report.h"
#include "player/player_match.h"
#include "saving/safe_write.h"

#include <optional>
#include <string>
#include <vector>

namespace qb::cli {

enum class Format { Text, Json, Csv };
struct EditOptions;

int runList(const std::string& file, bool all, Format format);
int runShow(const std::string& file, int slot, Format format);
int runDump(const std::string& file, bool all, Format format);
// dump --format xlsx: the players as a workbook made to be edited (player/workbook_writer.h).
int runDumpWorkbook(const std::string& file, bool all, const std::string& out);
int runSet(const std::string& file, int slot, const std::vector<std::string>& assignments,
           const EditOptions& options);
// With MatchBy::Id the entries name players by ID; the IDs that no player holds are listed.
int runApply(const std::string& file, const std::string& editsPath, MatchBy match,
             const EditOptions& options);
int runExport(const std::string& file, int slot, const std::string& out, bool yes);
int runImport(const std::string& file, int slot, const std::string& in, bool yes,
              const SafetyOptions& safety);
int runCheck(const std::string& file, Format format);
int runDiff(const std::string& fileA, const std::string& fileB, Format format, MatchBy match);
// diff --format patch: the differences as an apply file.
int runPatch(const std::string& fileA, const std::string& fileB, MatchBy match);

// What `copy` copies: one slot into another, or every matched player.
struct CopyRequest {
    std::string from;
    std::string to;
    std::optional<PlayerPair> slots;
    std::optional<MatchBy> match;
    std::optional<std::string> only; // the field groups, comma-separated; none: every group
};
int runCopy(const CopyRequest& request, const EditOptions& options);
int runBackups(const std::string& file, Format format);
// Writes the slots of `source` (default: every slot that differs) into `file`.
int runRestore(const std::string& file, const std::string& source, const std::vector<int>& slots,
               const ReportStyle& style, SafetyOptions safety);
int runBulk(const std::string& file, const std::vector<std::string>& wheres,
            const std::vector<std::string>& sets, const EditOptions& options);
// Sets the fields of each slot (default: every named slot that fails to load) that the
// editor cannot show to values it can show, and saves as the editor does.
int runRepair(const std::string& file, const std::vector<int>& slots, const ReportStyle& style,
              const SafetyOptions& safety);
int runFace(const std::string& gameFolder, int face, const std::string& out);
int runTga(const std::string& in, const std::string& out);

// Prints the roster's kind warning (a saved game named as a roster file) on stderr.
void warnAboutKind(const RosterFile& roster);
// Says on stderr, once, that the file holds a save that was cut off and is not completed
// or undone yet: what a reading command shows of its slots is a mix of old and new.
void warnAboutCutOffSave(const std::string& file);

// Asks a yes/no question on the terminal; false without a terminal.
bool confirmOnTerminal(const std::string& question);

} // namespace qb::cli
