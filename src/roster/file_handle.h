#pragma once

#include <cstdint>
#include <string>

namespace qb {

// Opens `path` read-only without blocking (a FIFO or a device would wait forever for a
// writer), refuses anything but a regular file, then makes the descriptor blocking.
// Returns the descriptor, or -1 with the reason in `failure` ("is not a regular file: it
// is a FIFO"). Every reader of the program opens its files here, the picture readers too.
int openRegularForReading(const std::string& path, std::string& failure);

// An open file descriptor, closed on every path. Every operation names the file in
// its failure and goes through the fault seam of roster/faults.h.
class FileHandle {
public:
    // A read-only handle (O_RDONLY) is only ever made of a regular file.
    FileHandle(const std::string& path, int flags, const char* purpose, unsigned mode = 0);
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    std::int64_t size() const;
    void readAt(std::uint8_t* out, std::size_t count, std::int64_t position) const;
    void writeAt(const std::uint8_t* data, std::size_t count, std::int64_t position) const;
    // Flushes the written data to the disk.
    void sync() const;
    // Sets the permission bits exactly (the umask does not apply).
    void setMode(unsigned mode) const;

private:
    std::string path_;
    int fd_;
};

} // namespace qb
