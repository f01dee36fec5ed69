#pragma once

#include "roster/file_handle.h"
#include "roster/file_identity.h"

#include <optional>
#include <string>
#include <vector>

namespace qb {

// The folder of one file's backups: <data>/backups/<file name>-<path key>, so files
// of one name in different folders keep their backups apart.
std::string backupFolder(const std::string& dataFolder, const std::string& canonicalPath);

// Copies the open file into its backup folder as <stem>-<UTC date-time-milliseconds><ext>
// the first time this process writes it. The copy is written under a temporary name,
// flushed and renamed, so a backup is whole or absent; a failed copy is deleted and
// the failure thrown. After a good copy the ten newest backups of the file are kept.
void backUpOnce(const FileHandle& file, const FileIdentity& identity,
                const std::string& dataFolder);

// One backup of a file: where it is, when it was made (UTC, "2026-12-07 01:13:00.123"),
// and how many slots hold other bytes than the file now (nothing when the backup
// cannot be read as a file of the same kind).
struct Backup {
    std::string path;
    std::string time;
    std::optional<int> differingSlots;
};

// The backups that the tools made of `file` before writing it, newest first. None when
// the file has no backup folder yet.
std::vector<Backup> listBackups(const std::string& file, const std::string& dataFolder);

} // namespace qb
