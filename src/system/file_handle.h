#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qb {

// Every mode opens regular files only: a FIFO, a device or a folder is refused, and no
// open ever waits (for a FIFO's other end, say).
enum class OpenMode {
    Read,          // an existing file
    Write,         // an existing file, written in place
    ReadWrite,     // an existing file, read and written in place
    CreateNew,     // a file made here, refused when the name is taken (a planted link too)
    CreateOrEmpty, // made, or emptied when it exists
    Lock,          // an existing file, only to hold its lock; outside the fault seam
};

// Which file a path reaches: two names of one file (a link, another spelling) share it.
struct FileKey {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    // Written out rather than defaulted with <=>: <compare> pulls in <concepts>, which Qt's
    // moc cannot read, and this header reaches the window's headers.
    bool operator==(const FileKey&) const = default;
    bool operator<(const FileKey& other) const {
        return device != other.device ? device < other.device : inode < other.inode;
    }
};

// An open file, closed on every path; binary, and shared with other readers and
// writers. Every operation names the file in its failure and goes through the fault
// seam of roster/faults.h. A file made here (CreateNew, CreateOrEmpty) is readable by
// its owner only where the system has permission bits.
class FileHandle {
public:
    FileHandle(const std::string& path, OpenMode mode, const char* purpose);
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    std::int64_t size() const;
    FileKey key() const;
    void readAt(std::uint8_t* out, std::size_t count, std::int64_t position) const;
    void writeAt(const std::uint8_t* data, std::size_t count, std::int64_t position) const;
    // Flushes the written data to the disk.
    void sync() const;
    // Gives this file the permissions of the file at `path`, or those a file created
    // there would get; a no-op where files have no permission bits.
    void matchPermissionsOf(const std::string& path) const;
    // Takes an exclusive lock on the file without waiting: false when another handle
    // holds it. Advisory: it never keeps anyone from reading or writing the file. The
    // lock goes when the handle is closed.
    bool tryLock() const;
    // Lets the gaps written past stay holes that take no disk space. POSIX files are made
    // so already; NTFS fills a gap with zeros on the disk unless the file is marked sparse.
    // Where the file system cannot, the gaps are written out, which is slower, not wrong.
    void makeSparse() const;

private:
    std::string path_;
    std::intptr_t native_; // a descriptor or a Windows handle
};

// The whole of the file at `path`, one of `kind` ("an edits file"), which never has more
// than `limit` bytes: a larger file is refused with FileTooLarge, naming its size, before
// any of it is read.
std::string readSmallFile(const std::string& path, std::int64_t limit, const char* kind);

// Makes the file at `path`, or empties the one there, and writes `bytes` into it; opened
// as every file is (a FIFO or a device is refused, never waited on).
void writeSmallFile(const std::string& path, std::span<const std::uint8_t> bytes);

// The one name of the file at `path`: absolute, with links and "." and ".." resolved,
// and on Windows with the letter case and the short or long-path (\\?\) spelling the
// system keeps; every spelling of one file gives the same. Throws FileError ("Cannot
// examine ...") when there is no such file.
std::string canonicalFilePath(const std::string& path);

// Why the file at `path` can be neither opened nor replaced: "it is not a regular file
// (it is a FIFO)"; nothing for a regular file, or when there is no file at all.
std::optional<std::string> notRegularFileAt(const std::string& path);

// The key of the file at `path` now, or nothing when there is none.
std::optional<FileKey> fileKeyAt(const std::string& path);

// Flushes a folder's entries (a new or renamed file in it) to the disk. Windows
// cannot open a folder for that and keeps its entries with the file, so there it
// only asks the fault seam.
void syncFolder(const std::string& folder);

// Renames `from` to `to`, replacing a file there in one step; FileError on failure.
void replaceFile(const std::string& from, const std::string& to);

// Deletes the file at `path` if it can; a file that is gone already is no failure.
void removeFile(const std::string& path) noexcept;

// Whether the program's standard input comes from a terminal (and not a pipe or a file).
bool standardInputIsTerminal();

} // namespace qb
