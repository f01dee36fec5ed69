#include "system/errors.h"
#include "system/faults.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <cstring>
#include <windows.h>
#include <winioctl.h>

namespace qb {
namespace {

// The seam's failures are given as errno values, as on every system.
std::string seamError(int code) {
    return std::strerror(code);
}

std::string windowsError(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) {
        return "system error " + std::to_string(code);
    }
    std::wstring message(text, length);
    ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    return utf8Path(std::filesystem::path(message));
}

std::string lastError() {
    return windowsError(::GetLastError());
}

HANDLE handleOf(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

// Other handles may read, write, rename and delete the file meanwhile, as on POSIX.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE openHandle(const std::string& path, OpenMode mode) {
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    switch (mode) {
    case OpenMode::Read:
    case OpenMode::Lock:
        break;
    case OpenMode::Write:
        access = GENERIC_WRITE;
        break;
    case OpenMode::ReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    case OpenMode::CreateNew:
        access = GENERIC_WRITE;
        disposition = CREATE_NEW;
        break;
    case OpenMode::CreateOrEmpty:
        access = GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
        break;
    }
    return ::CreateFileW(nativePath(path).c_str(), access, kShareAll, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Why `handle` is no regular file ("it is not a regular file (it is a device)"), or "".
std::string notRegular(HANDLE handle) {
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        return "it is not a regular file (it is a device)";
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(handle, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return "it is not a regular file (it is a folder)";
    }
    return {};
}

OVERLAPPED at(std::int64_t position) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(position) & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(position) >> 32);
    return where;
}

DWORD chunk(std::size_t count) {
    return static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
}

FileKey keyOf(HANDLE handle, const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        throw FileError("Cannot examine " + path + ": " + lastError(), path);
    }
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

} // namespace

std::filesystem::path nativePath(const std::string& utf8) {
    try {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    } catch (const std::exception&) {
        throw FileError("The file name " + utf8 + " is not UTF-8 text", utf8);
    }
}

std::string utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

FileHandle::FileHandle(const std::string& path, OpenMode mode, const char* purpose)
    : path_(path), native_(0) {
    int error = 0;
    if (mode != OpenMode::Lock && faults::shouldFail(faults::Op::Open, error)) {
        throw FileError("Cannot open " + path + " for " + purpose + ": " + seamError(error), path);
    }
    // Windows refuses to write a file with the read-only attribute; a file system that
    // only maps the attribute to permission bits (Samba, Wine run as root) may not, so
    // the attribute is honoured here.
    const DWORD before = ::GetFileAttributesW(nativePath(path).c_str());
    if (mode != OpenMode::Read && mode != OpenMode::Lock && before != INVALID_FILE_ATTRIBUTES &&
        (before & FILE_ATTRIBUTE_READONLY) != 0) {
        throw FileError("Cannot open " + path + " for " + purpose + ": the file is read-only",
                        path);
    }
    const HANDLE handle = openHandle(path, mode);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(nativePath(path).c_str());
        const bool folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        throw FileError(
            "Cannot open " + path + " for " + purpose + ": " +
                (folder ? "it is not a regular file (it is a folder)" : windowsError(code)),
            path);
    }
    native_ = reinterpret_cast<std::intptr_t>(handle);
    if (const std::string failure = notRegular(handle); !failure.empty()) {
        ::CloseHandle(handle);
        throw FileError("Cannot open " + path + " for " + purpose + ": " + failure, path);
    }
}

FileHandle::~FileHandle() {
    ::CloseHandle(handleOf(native_));
}

std::int64_t FileHandle::size() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handleOf(native_), &size)) {
        throw FileError("Cannot read the size of " + path_ + ": " + lastError(), path_);
    }
    return size.QuadPart;
}

FileKey FileHandle::key() const {
    return keyOf(handleOf(native_), path_);
}

void FileHandle::readAt(std::uint8_t* out, std::size_t count, std::int64_t position) const {
    int error = 0;
    if (faults::shouldFail(faults::Op::Read, error)) {
        throw FileError("Cannot read " + path_ + ": " + seamError(error), path_);
    }
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED where = at(position + static_cast<std::int64_t>(done));
        DWORD got = 0;
        if (!::ReadFile(handleOf(native_), out + done, chunk(count - done), &got, &where)) {
            if (::GetLastError() != ERROR_HANDLE_EOF) {
                throw FileError("Cannot read " + path_ + ": " + lastError(), path_);
            }
            got = 0;
        }
        if (got == 0) {
            throw FileError("Cannot read " + path_ + ": the file ended at byte " +
                                std::to_string(position + static_cast<std::int64_t>(done)),
                            path_);
        }
        done += got;
    }
}

void FileHandle::writeAt(const std::uint8_t* data, std::size_t count, std::int64_t position) const {
    int error = 0;
    if (faults::shouldFail(faults::Op::Write, error)) {
        if (error == faults::kLostWrite) {
            return;
        }
        throw FileError("Cannot write " + path_ + ": " + seamError(error), path_);
    }
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED where = at(position + static_cast<std::int64_t>(done));
        DWORD put = 0;
        if (!::WriteFile(handleOf(native_), data + done, chunk(count - done), &put, &where)) {
            throw FileError("Cannot write " + path_ + ": " + lastError(), path_);
        }
        if (put == 0) {
            throw FileError("Cannot write " + path_ + ": nothing was written", path_);
        }
        done += put;
    }
}

void FileHandle::sync() const {
    int error = 0;
    if (faults::shouldFail(faults::Op::Sync, error)) {
        throw FileError("Cannot flush " + path_ + " to the disk: " + seamError(error), path_);
    }
    if (!::FlushFileBuffers(handleOf(native_))) {
        throw FileError("Cannot flush " + path_ + " to the disk: " + lastError(), path_);
    }
}

// Windows files carry a read-only attribute rather than permission bits; a new file
// gets the folder's inherited access, which is what the replaced file had too.
void FileHandle::matchPermissionsOf(const std::string&) const {}

void FileHandle::makeSparse() const {
    DWORD returned = 0;
    // FAT and exFAT have no sparse files; their gaps are written out.
    ::DeviceIoControl(handleOf(native_), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned,
                      nullptr);
}

// The lock covers one byte far past the end of any roster: Windows locks keep every
// other handle from reading or writing the bytes they cover, and this one must not.
bool FileHandle::tryLock() const {
    OVERLAPPED where = at(std::int64_t{1} << 62);
    if (::LockFileEx(handleOf(native_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1,
                     0, &where)) {
        return true;
    }
    const DWORD code = ::GetLastError();
    if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING) {
        return false;
    }
    throw FileError("Cannot lock " + path_ + ": " + windowsError(code), path_);
}

// The name the system gives the open file (GetFinalPathNameByHandleW), which always
// starts "\\?\C:\" or "\\?\UNC\server\share\". std::filesystem::canonical cannot read
// such long-path names, nor tell "C:\x" and "\\?\C:\x" for one file. The prefix is
// dropped again when the name is short enough to do without it.
std::string canonicalFilePath(const std::string& path) {
    const HANDLE handle = ::CreateFileW(nativePath(path).c_str(), 0, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw FileError("Cannot examine " + path + ": " + lastError(), path);
    }
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(handle, name.data(), MAX_PATH, VOLUME_NAME_DOS);
    if (length >= MAX_PATH) {
        name.resize(length);
        length = ::GetFinalPathNameByHandleW(handle, name.data(), length, VOLUME_NAME_DOS);
    }
    const std::string reason = length == 0 ? lastError() : std::string();
    ::CloseHandle(handle);
    if (length == 0 || length >= name.size()) {
        throw FileError("Cannot examine " + path + ": " + reason, path);
    }
    name.resize(length);
    if (name.size() < MAX_PATH) {
        if (name.starts_with(L"\\\\?\\UNC\\")) {
            name.replace(0, 8, L"\\\\");
        } else if (name.starts_with(L"\\\\?\\")) {
            name.erase(0, 4);
        }
    }
    return utf8Path(std::filesystem::path(name));
}

std::optional<std::string> notRegularFileAt(const std::string& path) {
    const HANDLE handle = ::CreateFileW(nativePath(path).c_str(), 0, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string refusal = notRegular(handle);
    ::CloseHandle(handle);
    if (refusal.empty()) {
        return std::nullopt;
    }
    return refusal;
}

std::optional<FileKey> fileKeyAt(const std::string& path) {
    const HANDLE handle = ::CreateFileW(nativePath(path).c_str(), 0, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::optional<FileKey> key;
    try {
        key = keyOf(handle, path);
    } catch (const FileError&) {
    }
    ::CloseHandle(handle);
    return key;
}

void syncFolder(const std::string& folder) {
    int error = 0;
    if (faults::shouldFail(faults::Op::Open, error)) {
        throw FileError("Cannot open " + folder + " for reading: " + seamError(error), folder);
    }
    if (faults::shouldFail(faults::Op::Sync, error)) {
        throw FileError("Cannot flush " + folder + " to the disk: " + seamError(error), folder);
    }
}

void replaceFile(const std::string& from, const std::string& to) {
    if (!::MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw FileError("Cannot write " + to + ": " + lastError(), to);
    }
}

void removeFile(const std::string& path) noexcept {
    try {
        ::DeleteFileW(nativePath(path).c_str());
    } catch (const FileError&) {
    }
}

bool standardInputIsTerminal() {
    return ::GetFileType(::GetStdHandle(STD_INPUT_HANDLE)) == FILE_TYPE_CHAR;
}

} // namespace qb
