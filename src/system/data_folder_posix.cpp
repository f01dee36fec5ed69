#include "system/data_folder.h"
#include "system/errors.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

namespace fs = std::filesystem;

// An absolute folder that exists and is not the root of the file system.
bool isUsableFolder(const char* path) {
    std::error_code error;
    return path != nullptr && *path == '/' && fs::path(path) != "/" &&
           fs::is_directory(path, error);
}

} // namespace

std::string userDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        return (fs::path(xdg) / "Quillbay").string();
    }
    const char* home = std::getenv("HOME");
    if (!isUsableFolder(home)) {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (!isUsableFolder(home)) {
        throw FileError("There is no home folder for the journals and backups that make saving "
                        "safe (set HOME or XDG_DATA_HOME); nothing was written");
    }
    return (fs::path(home) / ".local" / "share" / "Quillbay").string();
}

void makePrivateFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(fs::path(folder).parent_path(), error);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        throw FileError("Cannot create " + folder + ": " + std::strerror(errno), folder);
    }
}

} // namespace qb
