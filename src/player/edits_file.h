#pragma once

#include "player/patch.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// A cell of a read-only column (id, commentaryName, the rates) as an edits file gives
// it; applying never changes such a field, so a cell that differs from the roster is a
// mistake to report, not an edit to drop.
struct ReadOnlyCell {
    std::string key;
    std::string value;
    std::string where; // "players.csv: row 4: column strikeRate"
};

// An edits file as read: the edits of each player, keyed by slot or by player ID as
// `by` says, with what a dump recorded of each.
struct EditsFile {
    MatchBy by = MatchBy::Slot;
    RosterEdits players;
    SlotHashes hashes;
    std::map<int, std::vector<ReadOnlyCell>> readOnly;
    // False for a CSV file without a slot hash column: rows of players changed in the
    // roster since the file was made cannot be told.
    bool hasHashColumn = true;
    // What reading it decided that the user should know once ("read as Windows-1252").
    std::vector<std::string> notes;
};

// An edits file is read whole; one of 300,000 entries has some 10 MB, so a file of more
// than 64 MiB is no edits file, and is refused before it is read.
inline constexpr std::int64_t kLargestEditsFile = std::int64_t{64} << 20;

// The bytes of the edits file at `path`; FileTooLarge (naming its size) past
// kLargestEditsFile, FileError when it cannot be read or is no regular file (a FIFO is
// refused, never waited on).
std::string readEditsFileBytes(const std::string& path);

// An edits file of any kind, as its name says: CSV when `path` ends in .csv
// (readCsv: any encoding and separator a spreadsheet saves), an XLSX workbook when it
// ends in .xlsx (readWorkbookTable: its first sheet with a keys row, read by the CSV
// rules, places named as "Players!H12"), else a JSON array of partial player objects
// (player/patch.h). Players are named by "slot" or by "id" as
// `by` says, or, without it, as the file's CSV header or first JSON entry says (by slot
// when it has "slot", else by ID when it has "id", else by slot, and reading then says
// what is missing).
// In CSV, an empty cell and a missing column leave the field alone; a figure may have a
// decimal comma where the separator is not a comma. A value its field refuses is kept
// with its refusal. Anything unreadable throws EditError (CsvError for the text itself)
// naming `path` and, in a CSV file, the row and column.
EditsFile readEditsFile(const std::string& bytes, const std::string& path,
                        std::optional<MatchBy> by = std::nullopt);

// The same file keyed by slot: each player named by ID goes to the one named slot of
// `document` that holds the ID (an ID several named slots hold throws EditError), with
// its hash and read-only cells. The IDs no named slot holds go to `unmatched`.
EditsFile keyedBySlot(EditsFile file, const RosterDocument& document, std::vector<int>& unmatched);

} // namespace qb
