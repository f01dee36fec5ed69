#pragma once

#include <cstdint>
#include <string>

namespace qb {

// An open file descriptor, closed on every path. Every operation names the file in
// its failure and goes through the fault seam of roster/faults.h.
class FileHandle {
public:
    FileHandle(const std::string& path, int flags, const char* purpose, unsigned mode = 0);
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    bool isRegular() const;
    std::int64_t size() const;
    void readAt(std::uint8_t* out, std::size_t count, std::int64_t position) const;
    void writeAt(const std::uint8_t* data, std::size_t count, std::int64_t position) const;
    // Flushes the written data to the disk.
    void sync() const;

private:
    std::string path_;
    int fd_;
};

} // namespace qb
