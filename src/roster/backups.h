#pragma once

#include "roster/file_handle.h"
#include "roster/file_identity.h"

#include <string>

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

} // namespace qb
