#pragma once

#include <string>

namespace qb {

// The user's data folder for journals and backups: $XDG_DATA_HOME/Quillbay, or else
// ~/.local/share/Quillbay with the home folder from $HOME or the user database
// (%LOCALAPPDATA%\Quillbay on Windows). With no real home folder there is none
// (FileError: saving is refused rather than putting the user's data in a folder that
// other users share).
std::string userDataFolder();

// Creates `folder` (and what leads to it) if missing; the folder itself is made
// readable by its owner only (0700 where folders have permission bits).
void makePrivateFolder(const std::string& folder);

} // namespace qb
