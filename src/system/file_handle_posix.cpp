#include "system/errors.h"
#include "system/faults.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

std::string systemError(int code) {
    return std::strerror(code);
}

const char* fileTypeName(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    return "of another kind";
}

std::string notRegular(mode_t mode) {
    return std::string("it is not a regular file (it is ") + fileTypeName(mode) + ")";
}

// Opens `path` with `flags` so that no open can wait: a FIFO would wait forever for its
// other end, and a device may too. The name is checked first, so nothing else is opened
// at all; it is opened without blocking, since the name may reach another file by then,
// and the handle is checked again; only then is the descriptor made blocking. Returns the
// descriptor, or -1 with the reason in `failure`.
int openRegular(const std::string& path, int flags, std::string& failure) {
    if (std::optional<std::string> refusal = notRegularFileAt(path)) {
        failure = std::move(*refusal);
        return -1;
    }
    struct stat info {};
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        failure = systemError(errno);
        return -1;
    }
    if (::fstat(fd, &info) != 0) {
        failure = systemError(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        failure = notRegular(info.st_mode);
        ::close(fd);
        return -1;
    }
    const int current = ::fcntl(fd, F_GETFL);
    if (current < 0 || ::fcntl(fd, F_SETFL, current & ~O_NONBLOCK) != 0) {
        failure = systemError(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

int openFlags(OpenMode mode) {
    switch (mode) {
    case OpenMode::Read:
    case OpenMode::Lock:
        return O_RDONLY;
    case OpenMode::Write:
        return O_WRONLY;
    case OpenMode::ReadWrite:
        return O_RDWR;
    case OpenMode::CreateNew:
        return O_WRONLY | O_CREAT | O_EXCL;
    case OpenMode::CreateOrEmpty:
        return O_WRONLY | O_CREAT | O_TRUNC;
    }
    return O_RDONLY;
}

int descriptor(std::intptr_t native) {
    return static_cast<int>(native);
}

} // namespace

std::filesystem::path nativePath(const std::string& utf8) {
    return std::filesystem::path(utf8);
}

std::string utf8Path(const std::filesystem::path& path) {
    return path.string();
}

FileHandle::FileHandle(const std::string& path, OpenMode mode, const char* purpose)
    : path_(path), native_(-1) {
    int error = 0;
    if (mode != OpenMode::Lock && faults::shouldFail(faults::Op::Open, error)) {
        throw FileError("Cannot open " + path + " for " + purpose + ": " + systemError(error),
                        path);
    }
    std::string failure;
    native_ = openRegular(path, openFlags(mode), failure);
    if (native_ < 0) {
        throw FileError("Cannot open " + path + " for " + purpose + ": " + failure, path);
    }
}

FileHandle::~FileHandle() {
    ::close(descriptor(native_));
}

std::int64_t FileHandle::size() const {
    struct stat info {};
    if (::fstat(descriptor(native_), &info) != 0) {
        throw FileError("Cannot read the size of " + path_ + ": " + systemError(errno), path_);
    }
    return info.st_size;
}

FileKey FileHandle::key() const {
    struct stat info {};
    if (::fstat(descriptor(native_), &info) != 0) {
        throw FileError("Cannot examine " + path_ + ": " + systemError(errno), path_);
    }
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

void FileHandle::readAt(std::uint8_t* out, std::size_t count, std::int64_t position) const {
    int error = 0;
    if (faults::shouldFail(faults::Op::Read, error)) {
        throw FileError("Cannot read " + path_ + ": " + systemError(error), path_);
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(descriptor(native_), out + done, count - done,
                                    static_cast<off_t>(position) + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw FileError("Cannot read " + path_ + ": " + systemError(errno), path_);
        }
        if (got == 0) {
            throw FileError("Cannot read " + path_ + ": the file ended at byte " +
                                std::to_string(position + static_cast<std::int64_t>(done)),
                            path_);
        }
        done += static_cast<std::size_t>(got);
    }
}

void FileHandle::writeAt(const std::uint8_t* data, std::size_t count, std::int64_t position) const {
    int error = 0;
    if (faults::shouldFail(faults::Op::Write, error)) {
        if (error == faults::kLostWrite) {
            return;
        }
        throw FileError("Cannot write " + path_ + ": " + systemError(error), path_);
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = ::pwrite(descriptor(native_), data + done, count - done,
                                     static_cast<off_t>(position) + static_cast<off_t>(done));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            throw FileError("Cannot write " + path_ + ": " + systemError(put < 0 ? errno : EIO),
                            path_);
        }
        done += static_cast<std::size_t>(put);
    }
}

void FileHandle::sync() const {
    int error = 0;
    if (faults::shouldFail(faults::Op::Sync, error) ||
        (::fdatasync(descriptor(native_)) != 0 && (error = errno) != 0)) {
        throw FileError("Cannot flush " + path_ + " to the disk: " + systemError(error), path_);
    }
}

// The mode a replaced file had, or what creating the file would give (0666 less the umask).
void FileHandle::makeSparse() const {}

void FileHandle::matchPermissionsOf(const std::string& path) const {
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(descriptor(native_), mode) != 0) {
        throw FileError("Cannot set the permissions of " + path_ + ": " + systemError(errno),
                        path_);
    }
}

bool FileHandle::tryLock() const {
    while (::flock(descriptor(native_), LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        if (code == EWOULDBLOCK) {
            return false;
        }
        if (code != EINTR) {
            throw FileError("Cannot lock " + path_ + ": " + systemError(code), path_);
        }
    }
    return true;
}

std::string canonicalFilePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::canonical(path, error);
    if (error) {
        throw FileError("Cannot examine " + path + ": " + error.message(), path);
    }
    return canonical.string();
}

std::optional<std::string> notRegularFileAt(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return notRegular(info.st_mode);
    }
    return std::nullopt;
}

std::optional<FileKey> fileKeyAt(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileKey{static_cast<std::uint64_t>(info.st_dev),
                   static_cast<std::uint64_t>(info.st_ino)};
}

void syncFolder(const std::string& folder) {
    int error = 0;
    if (faults::shouldFail(faults::Op::Open, error)) {
        throw FileError("Cannot open " + folder + " for reading: " + systemError(error), folder);
    }
    if (faults::shouldFail(faults::Op::Sync, error)) {
        throw FileError("Cannot flush " + folder + " to the disk: " + systemError(error), folder);
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        throw FileError("Cannot open " + folder + " for reading: " + systemError(errno), folder);
    }
    const bool flushed = ::fdatasync(fd) == 0;
    error = errno;
    ::close(fd);
    if (!flushed) {
        throw FileError("Cannot flush " + folder + " to the disk: " + systemError(error), folder);
    }
}

void replaceFile(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        throw FileError("Cannot write " + to + ": " + systemError(errno), to);
    }
}

void removeFile(const std::string& path) noexcept {
    ::unlink(path.c_str());
}

bool standardInputIsTerminal() {
    return ::isatty(STDIN_FILENO) != 0;
}

} // namespace qb
