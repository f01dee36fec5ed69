#include "system/data_folder.h"
#include "system/errors.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <cstdlib>
#include <filesystem>

namespace qb {
namespace {

namespace fs = std::filesystem;

// An absolute folder that exists, from a variable of the environment (UTF-16 there).
std::optional<fs::path> folderFrom(const wchar_t* variable) {
    const wchar_t* value = ::_wgetenv(variable);
    if (value == nullptr || *value == L'\0') {
        return std::nullopt;
    }
    const fs::path folder(value);
    std::error_code error;
    if (!folder.is_absolute() || folder == folder.root_path() || !fs::is_directory(folder, error)) {
        return std::nullopt;
    }
    return folder;
}

} // namespace

// Journals and backups belong to this machine, so they go to the local application
// data (%LOCALAPPDATA%\Quillbay), not the roaming one. XDG_DATA_HOME, when set, wins,
// as on other systems, so tests and portable setups can name their own.
std::string userDataFolder() {
    if (const wchar_t* xdg = ::_wgetenv(L"XDG_DATA_HOME"); xdg != nullptr && *xdg != L'\0') {
        const fs::path folder(xdg);
        if (folder.has_root_directory()) {
            return utf8Path(folder / "Quillbay");
        }
    }
    for (const wchar_t* variable : {L"LOCALAPPDATA", L"APPDATA"}) {
        if (const auto folder = folderFrom(variable)) {
            return utf8Path(*folder / "Quillbay");
        }
    }
    throw FileError("There is no home folder for the journals and backups that make saving "
                    "safe (set LOCALAPPDATA or XDG_DATA_HOME); nothing was written");
}

// The user's own application data is not shared with other users; a folder made there
// inherits that.
void makePrivateFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(nativePath(folder), error);
    if (error) {
        throw FileError("Cannot create " + folder + ": " + error.message(), folder);
    }
}

} // namespace qb
