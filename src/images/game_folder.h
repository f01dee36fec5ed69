#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace qb {

// Files of the installed game, relative to its folder.
inline constexpr const char* kArchiveRelative = "data/cricket_pc.gob";
inline constexpr int kBatFiles = 34;

// The game folder as stored in the settings; a path written with backslashes (as a
// Windows installation stores it) is turned into a path of this system.
std::filesystem::path gameFolderPath(const std::string& stored);

// "data/bats/batNN.tga", NN = bat + 1 with two digits: bat 0 is bat01.tga.
std::string batRelativePath(int bat);

// The file at `relative` under `folder`, each part matched without regard to case
// when the exact name is missing (games copied from a Windows disk differ in case).
// Nothing when no such file exists.
std::optional<std::filesystem::path> findGameFile(const std::filesystem::path& folder,
                                                  const std::string& relative);

std::optional<std::filesystem::path> findArchive(const std::filesystem::path& folder);
std::optional<std::filesystem::path> findBat(const std::filesystem::path& folder, int bat);

// The same for the folder as the settings store it, with every path as UTF-8 text: what
// the window shows and opens.
std::string gameFolderText(const std::string& stored);
std::optional<std::string> archiveInGameFolder(const std::string& stored);
std::optional<std::string> batInGameFolder(const std::string& stored, int bat);

} // namespace qb
