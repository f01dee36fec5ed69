#pragma once

#include "player/patch.h"

#include <cstdint>
#include <string>

namespace qb {

// An edits file is read whole; one of 300,000 entries has some 10 MB, so a file of more
// than 64 MiB is no edits file, and is refused before it is read.
inline constexpr std::int64_t kLargestEditsFile = std::int64_t{64} << 20;

// The text of the edits file at `path`; FileTooLarge (naming its size) past
// kLargestEditsFile, FileError when it cannot be read or is no regular file.
std::string readEditsFile(const std::string& path);

// Edits from a JSON array of partial player objects (player/patch.h), each with
// "slot" (or "id", keying the edits by player ID). An unknown key throws; a value its
// field refuses is kept with its refusal. A dump's slot hashes go to `hashes`.
RosterEdits parseJsonEdits(const std::string& text, const std::string& path,
                           MatchBy match = MatchBy::Slot, SlotHashes* hashes = nullptr);

// Edits from CSV rows under a header of keys, with a "slot" column (or "id", keying
// the edits by player ID). An empty cell
// and a read-only column leave the field alone; a missing column leaves it alone too.
// Values are held as in parseJsonEdits; so are the cells of a dump's slot hash column.
RosterEdits parseCsvEdits(const std::string& text, const std::string& path,
                          MatchBy match = MatchBy::Slot, SlotHashes* hashes = nullptr);

// An edits file of either kind, as its name says: CSV when `path` ends in .csv, else JSON.
// Anything unreadable throws EditError (CsvError for a quote left open) naming `path`.
RosterEdits parseEditsFile(const std::string& text, const std::string& path,
                           MatchBy match = MatchBy::Slot, SlotHashes* hashes = nullptr);

// How an edits file names its players when no one says: by slot when its CSV header
// or its first JSON entry has "slot", else by player ID when it has "id", else by slot
// (and reading it then says what is missing).
MatchBy editsFileMatch(const std::string& text, const std::string& path);

} // namespace qb
