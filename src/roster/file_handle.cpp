#include "roster/file_handle.h"

#include "roster/errors.h"
#include "roster/faults.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

} // namespace

int openRegularForReading(const std::string& path, std::string& failure) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failure = systemError(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        failure = systemError(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        failure =
            std::string("it is not a regular file (it is ") + fileTypeName(info.st_mode) + ")";
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        failure = systemError(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

FileHandle::FileHandle(const std::string& path, int flags, const char* purpose, unsigned mode)
    : path_(path), fd_(-1) {
    int error = 0;
    if (faults::shouldFail(faults::Op::Open, error)) {
        throw FileError("Cannot open " + path + " for " + purpose + ": " + systemError(error),
                        path);
    }
    if ((flags & O_ACCMODE) == O_RDONLY && (flags & O_DIRECTORY) == 0) {
        std::string failure;
        fd_ = openRegularForReading(path, failure);
        if (fd_ < 0) {
            throw FileError("Cannot open " + path + " for " + purpose + ": " + failure, path);
        }
        return;
    }
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    if (fd_ < 0) {
        throw FileError("Cannot open " + path + " for " + purpose + ": " + systemError(errno),
                        path);
    }
}

FileHandle::~FileHandle() {
    ::close(fd_);
}

std::int64_t FileHandle::size() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        throw FileError("Cannot read the size of " + path_ + ": " + systemError(errno), path_);
    }
    return info.st_size;
}

void FileHandle::readAt(std::uint8_t* out, std::size_t count, std::int64_t position) const {
    int error = 0;
    if (faults::shouldFail(faults::Op::Read, error)) {
        throw FileError("Cannot read " + path_ + ": " + systemError(error), path_);
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, out + done, count - done,
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
        const ssize_t put = ::pwrite(fd_, data + done, count - done,
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
        (::fdatasync(fd_) != 0 && (error = errno) != 0)) {
        throw FileError("Cannot flush " + path_ + " to the disk: " + systemError(error), path_);
    }
}

void FileHandle::setMode(unsigned mode) const {
    if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0) {
        throw FileError("Cannot set the permissions of " + path_ + ": " + systemError(errno),
                        path_);
    }
}

} // namespace qb
