#pragma once

#include "saving/file_identity.h"
#include "system/file_handle.h"

#include <optional>
#include <string>
#include <vector>

namespace qb {

// The folder of one file's backups: <data>/backups/<file name>-<path key>, so files
// of one name in different folders keep their backups apart.
std::string backupFolder(const std::string& dataFolder, const std::string& canonicalPath);

// Copies the open file into its backup folder as
// <stem>-<sequence>-<UTC date-time-milliseconds><ext> the first time this process writes
// it, and again whenever it holds other bytes than this process last backed up or wrote
// (another program changed it since); the sequence, one more than the folder's highest,
// orders backups whatever the clock says. The copy is written under a temporary name, flushed and
// renamed, so a backup is whole or absent; a failed copy is deleted and the failure thrown. After a
// good copy the file keeps its ten newest backups and the first backup of each of the
// 30 latest days it was written on (at most 40 copies); the copy just made and `keep`
// (a backup the command reads, when given) are never deleted.
void backUpBeforeWrite(const FileHandle& file, const FileIdentity& identity,
                       const std::string& dataFolder, const std::string& keep = {});
// After this process wrote a file it backed up: what it holds now is its own doing, no
// reason for another backup.
void noteOwnWrite(const FileHandle& file, const FileIdentity& identity);

// Keeps `backup`, which a restore of `file` read, past the rotation that would delete it,
// until a newer backup holds `file` as the restore left it (as it is now): the next save
// backs that up before it writes, so what was restored is never held nowhere. Does
// nothing for a source outside the file's backup folder.
void keepUntilBackedUp(const std::string& backup, const std::string& file,
                       const std::string& dataFolder);

// One backup of a file: where it is, when it was made (UTC, "2026-12-07 01:13:00.123"),
// and how many slots hold other bytes than the file now (nothing when the backup
// cannot be read as a file of the same kind).
struct Backup {
    std::string path;
    std::string time;
    std::optional<int> differingSlots;
    // Why it is kept: "newest" (one of the ten newest), "first of 2026-12-07" (the file
    // before that day's first change), "read by a restore" (until what it restored is
    // backed up), or several; empty for one the next backup deletes.
    std::string kept;
};

// The backups that the tools made of `file` before writing it, newest first (by their
// sequence). None when the file has no backup folder yet.
std::vector<Backup> listBackups(const std::string& file, const std::string& dataFolder);

} // namespace qb
