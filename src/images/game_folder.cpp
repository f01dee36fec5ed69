#include "images/game_folder.h"

#include "system/file_handle.h"
#include "system/native_path.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace qb {
namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The entry of `folder` named `name`, spelled as the folder spells it: the exact name
// first, else one that differs in letter case only. The folder is always listed, since
// on a file system that ignores case the name as asked for exists too, in the wrong case.
std::optional<std::filesystem::path> child(const std::filesystem::path& folder,
                                           const std::string& name) {
    std::error_code error;
    std::optional<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string entryName = utf8Path(entry.path().filename());
        if (entryName == name) {
            return entry.path();
        }
        if (!found && sameIgnoringCase(entryName, name)) {
            found = entry.path();
        }
    }
    return found;
}

} // namespace

std::filesystem::path gameFolderPath(const std::string& stored) {
    std::string path = stored;
    std::replace(path.begin(), path.end(), '\\', '/');
    return nativePath(path);
}

std::string batRelativePath(int bat) {
    char name[32];
    std::snprintf(name, sizeof name, "data/bats/bat%02d.tga", bat + 1);
    return name;
}

std::optional<std::filesystem::path> findGameFile(const std::filesystem::path& folder,
                                                  const std::string& relative) {
    std::optional<std::filesystem::path> found = folder;
    for (const auto& part : nativePath(relative)) {
        found = child(*found, utf8Path(part));
        if (!found) {
            return std::nullopt;
        }
    }
    std::error_code error;
    return std::filesystem::is_regular_file(*found, error) ? found : std::nullopt;
}

std::optional<std::filesystem::path> findArchive(const std::filesystem::path& folder) {
    return findGameFile(folder, kArchiveRelative);
}

std::optional<std::filesystem::path> findBat(const std::filesystem::path& folder, int bat) {
    if (bat < 0 || bat >= kBatFiles) {
        return std::nullopt;
    }
    return findGameFile(folder, batRelativePath(bat));
}

std::string gameFolderText(const std::string& stored) {
    return utf8Path(gameFolderPath(stored));
}

namespace {

std::optional<std::string> asText(const std::optional<std::filesystem::path>& path) {
    return path ? std::optional(utf8Path(*path)) : std::nullopt;
}

} // namespace

std::optional<std::string> archiveInGameFolder(const std::string& stored) {
    return asText(findArchive(gameFolderPath(stored)));
}

std::optional<std::string> batInGameFolder(const std::string& stored, int bat) {
    return asText(findBat(gameFolderPath(stored), bat));
}

} // namespace qb
