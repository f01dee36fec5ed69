#include "roster/roster_file.h"

#include "roster/errors.h"

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

// An open file descriptor, closed on every path.
class FileHandle {
public:
    FileHandle(const std::string& path, int flags, const char* purpose)
        : fd_(::open(path.c_str(), flags | O_CLOEXEC)) {
        if (fd_ < 0) {
            throw FileError("Cannot open " + path + " for " + purpose + ": " + systemError(errno),
                            path);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { ::close(fd_); }

    bool isRegular(const std::string& path) const {
        struct stat info {};
        if (::fstat(fd_, &info) != 0) {
            throw FileError("Cannot examine " + path + ": " + systemError(errno), path);
        }
        return S_ISREG(info.st_mode);
    }

    std::int64_t size(const std::string& path) const {
        struct stat info {};
        if (::fstat(fd_, &info) != 0) {
            throw FileError("Cannot read the size of " + path + ": " + systemError(errno), path);
        }
        return info.st_size;
    }

    void readAt(const std::string& path, std::uint8_t* out, std::size_t count,
                std::int64_t position) const {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t got = ::pread(fd_, out + done, count - done,
                                        static_cast<off_t>(position) + static_cast<off_t>(done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                throw FileError("Cannot read " + path + ": " + systemError(errno), path);
            }
            if (got == 0) {
                throw FileError("Cannot read " + path + ": the file ended at byte " +
                                    std::to_string(position + static_cast<std::int64_t>(done)),
                                path);
            }
            done += static_cast<std::size_t>(got);
        }
    }

    void writeAt(const std::string& path, const std::uint8_t* data, std::size_t count,
                 std::int64_t position) const {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t put = ::pwrite(fd_, data + done, count - done,
                                         static_cast<off_t>(position) + static_cast<off_t>(done));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                throw FileError("Cannot write " + path + ": " + systemError(put < 0 ? errno : EIO),
                                path);
            }
            done += static_cast<std::size_t>(put);
        }
    }

private:
    int fd_;
};

void requireSlotTable(const std::string& path, FileKind kind, std::int64_t size) {
    const std::int64_t needed = slotBase(kind) + SLOT_TABLE_SIZE;
    if (size < needed) {
        throw FileError(path + " is too short for a player table: it has " + std::to_string(size) +
                            " bytes, the table needs " + std::to_string(needed),
                        path);
    }
}

void requireSlot(const std::string& path, int slot) {
    if (!isValidSlot(slot)) {
        throw FileError("Slot " + std::to_string(slot) + " is outside 0 to " +
                            std::to_string(SLOT_COUNT - 1),
                        path);
    }
}

} // namespace

SlotTable::SlotTable(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

const std::uint8_t* SlotTable::record(int slot) const {
    return bytes_.data() + static_cast<std::ptrdiff_t>(slot) * SLOT_SIZE;
}

Record SlotTable::copyRecord(int slot) const {
    Record out{};
    std::memcpy(out.data(), record(slot), out.size());
    return out;
}

RosterFile::RosterFile(std::string path) : path_(std::move(path)), kind_(fileKindOf(path_)) {
    const FileHandle file(path_, O_RDONLY, "reading");
    if (!file.isRegular(path_)) {
        throw FileError(path_ + " is not a roster file or saved game: it is not a regular file",
                        path_);
    }
    requireSlotTable(path_, kind_, file.size(path_));
}

void RosterFile::requireWritable() const {
    const FileHandle file(path_, O_WRONLY, "writing");
}

std::int64_t RosterFile::slotOffset(int slot) const {
    return qb::slotOffset(kind_, slot);
}

SlotTable RosterFile::readSlotTable() const {
    const FileHandle file(path_, O_RDONLY, "reading");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(SLOT_TABLE_SIZE));
    file.readAt(path_, bytes.data(), bytes.size(), slotBase(kind_));
    return SlotTable(std::move(bytes));
}

Record RosterFile::readSlot(int slot) const {
    requireSlot(path_, slot);
    const FileHandle file(path_, O_RDONLY, "reading");
    Record record{};
    file.readAt(path_, record.data(), record.size(), slotOffset(slot));
    return record;
}

std::vector<std::uint8_t> RosterFile::readHeader() const {
    if (kind_ != FileKind::SavedGame) {
        return {};
    }
    const FileHandle file(path_, O_RDONLY, "reading");
    std::vector<std::uint8_t> header(SAVE_HEADER_SIZE);
    file.readAt(path_, header.data(), header.size(), 0);
    return header;
}

std::vector<int> RosterFile::writeChanges(int slot, const Record& before,
                                          const Record& after) const {
    requireSlot(path_, slot);
    std::vector<int> offsets = changedOffsets(before, after);
    if (offsets.empty()) {
        return offsets;
    }
    // Opened for writing only, never created or truncated.
    const FileHandle file(path_, O_WRONLY, "writing");
    requireSlotTable(path_, kind_, file.size(path_));
    const std::int64_t base = slotOffset(slot);
    std::size_t first = 0;
    while (first < offsets.size()) {
        std::size_t last = first;
        while (last + 1 < offsets.size() && offsets[last + 1] == offsets[last] + 1) {
            ++last;
        }
        const auto start = static_cast<std::size_t>(offsets[first]);
        file.writeAt(path_, after.data() + start, last - first + 1, base + offsets[first]);
        first = last + 1;
    }
    return offsets;
}

std::vector<int> changedOffsets(const Record& before, const Record& after) {
    std::vector<int> offsets;
    for (int i = 0; i < SLOT_SIZE; ++i) {
        if (before[static_cast<std::size_t>(i)] != after[static_cast<std::size_t>(i)]) {
            offsets.push_back(i);
        }
    }
    return offsets;
}

} // namespace qb
