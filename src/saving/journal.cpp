#include "saving/journal.h"

#include "roster/layout.h"
#include "system/errors.h"
#include "system/faults.h"
#include "system/fnv1a.h"
#include "system/native_path.h"

#include <algorithm>
#include <filesystem>

namespace qb {
namespace {

namespace fs = std::filesystem;

// Every journal written now is a batch; earlier versions wrote one slot a journal.
constexpr char kMagic[4] = {'Q', 'B', 'J', '3'};
constexpr char kSingleSlotMagic[4] = {'Q', 'B', 'J', '2'};
// The largest journal: a long path and every slot with every byte changed.
constexpr std::int64_t kLargestJournal = 1 << 22;

void put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// Reads little-endian numbers and byte strings from a journal's body.
class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::optional<std::uint64_t> number(int count) {
        if (at_ + static_cast<std::size_t>(count) > bytes_.size()) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i) {
            value |= static_cast<std::uint64_t>(bytes_[at_++]) << (8 * i);
        }
        return value;
    }
    std::optional<std::vector<std::uint8_t>> bytes(std::uint64_t count) {
        if (count > bytes_.size() - at_) {
            return std::nullopt;
        }
        const auto from = bytes_.begin() + static_cast<std::ptrdiff_t>(at_);
        at_ += count;
        return std::vector<std::uint8_t>(from, from + static_cast<std::ptrdiff_t>(count));
    }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 4; // after the magic
};

} // namespace

std::vector<std::uint8_t> encodeJournal(const Journal& j) {
    std::vector<std::uint8_t> out(kMagic, kMagic + 4);
    put(out, j.file.canonicalPath.size(), 4);
    out.insert(out.end(), j.file.canonicalPath.begin(), j.file.canonicalPath.end());
    put(out, j.file.device, 8);
    put(out, j.file.inode, 8);
    put(out, static_cast<std::uint64_t>(j.file.size), 8);
    put(out, j.owner.pid, 4);
    put(out, j.owner.start, 8);
    put(out, j.slots.size(), 2);
    for (const SlotChange& slot : j.slots) {
        put(out, static_cast<std::uint64_t>(slot.slotOffset), 8);
        put(out, slot.offsets.size(), 2);
        for (const std::uint16_t offset : slot.offsets) {
            put(out, offset, 2);
        }
        out.insert(out.end(), slot.oldBytes.begin(), slot.oldBytes.end());
        out.insert(out.end(), slot.newBytes.begin(), slot.newBytes.end());
    }
    put(out, fnv1a(out), 8);
    return out;
}

namespace {

// One slot's changes: its offset, the count (at least one), the offsets (ascending,
// inside a record), the old bytes and the new ones.
std::optional<SlotChange> readSlotChange(Reader& in) {
    const auto slotOffset = in.number(8);
    const auto count = in.number(2);
    if (!slotOffset || !count || *count == 0) {
        return std::nullopt; // a slot is journaled only for a change
    }
    SlotChange slot;
    slot.slotOffset = static_cast<std::int64_t>(*slotOffset);
    for (std::uint64_t i = 0; i < *count; ++i) {
        const auto offset = in.number(2);
        if (!offset || *offset >= SLOT_SIZE ||
            (!slot.offsets.empty() && *offset <= slot.offsets.back())) {
            return std::nullopt;
        }
        slot.offsets.push_back(static_cast<std::uint16_t>(*offset));
    }
    auto oldBytes = in.bytes(*count);
    auto newBytes = in.bytes(*count);
    if (!oldBytes || !newBytes) {
        return std::nullopt;
    }
    slot.oldBytes = std::move(*oldBytes);
    slot.newBytes = std::move(*newBytes);
    return slot;
}

} // namespace

std::optional<Journal> decodeJournal(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < 12) {
        return std::nullopt;
    }
    const bool batch = std::equal(kMagic, kMagic + 4, bytes.begin());
    if (!batch && !std::equal(kSingleSlotMagic, kSingleSlotMagic + 4, bytes.begin())) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> body(bytes.begin(), bytes.end() - 8);
    std::uint64_t checksum = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        checksum |= static_cast<std::uint64_t>(bytes[body.size() + i]) << (8 * i);
    }
    if (checksum != fnv1a(body)) {
        return std::nullopt;
    }
    Reader in(body);
    Journal j;
    const auto pathLength = in.number(4);
    const auto path = pathLength ? in.bytes(*pathLength) : std::nullopt;
    const auto device = in.number(8);
    const auto inode = in.number(8);
    const auto size = in.number(8);
    const auto pid = in.number(4);
    const auto start = in.number(8);
    const auto slotCount = batch ? in.number(2) : std::optional<std::uint64_t>(1);
    if (!path || !device || !inode || !size || !pid || !start || !slotCount || *slotCount == 0) {
        return std::nullopt;
    }
    j.file = {std::string(path->begin(), path->end()), *device, *inode,
              static_cast<std::int64_t>(*size)};
    j.owner = {static_cast<std::uint32_t>(*pid), *start};
    for (std::uint64_t i = 0; i < *slotCount; ++i) {
        std::optional<SlotChange> slot = readSlotChange(in);
        if (!slot || (!j.slots.empty() && slot->slotOffset <= j.slots.back().slotOffset)) {
            return std::nullopt;
        }
        j.slots.push_back(std::move(*slot));
    }
    if (!in.atEnd()) {
        return std::nullopt;
    }
    return j;
}

std::string journalPath(const std::string& dataFolder, const Journal& journal) {
    return utf8Path(nativePath(dataFolder) / "journal" /
                    (pathKey(journal.file.canonicalPath) + "-" +
                     std::to_string(journal.slots.front().slotOffset) + "-" +
                     std::to_string(journal.owner.pid) + ".journal"));
}

void writeJournal(const std::string& path, const Journal& journal, bool durable) {
    const std::vector<std::uint8_t> bytes = encodeJournal(journal);
    try {
        const FileHandle file(path, OpenMode::CreateOrEmpty, "writing");
        file.writeAt(bytes.data(), bytes.size(), 0);
        if (durable) {
            file.sync();
        }
    } catch (const QuillbayError&) {
        removeFile(path); // the roster is untouched; no journal is left behind
        throw;
    }
    if (durable) {
        syncFolder(utf8Path(nativePath(path).parent_path()));
    }
}

std::optional<Journal> readJournal(const std::string& path) {
    const FileHandle file(path, OpenMode::Read, "reading");
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(std::min<std::int64_t>(file.size(), kLargestJournal)));
    file.readAt(bytes.data(), bytes.size(), 0);
    return decodeJournal(bytes);
}

void writeRuns(const FileHandle& file, const SlotChange& slot, Side side, std::size_t* done) {
    const std::vector<std::uint16_t>& offsets = slot.offsets;
    const std::vector<std::uint8_t>& bytes = side == Side::New ? slot.newBytes : slot.oldBytes;
    std::size_t first = 0;
    while (first < offsets.size()) {
        std::size_t last = first;
        while (last + 1 < offsets.size() && offsets[last + 1] == offsets[last] + 1) {
            ++last;
        }
        file.writeAt(bytes.data() + first, last - first + 1, slot.slotOffset + offsets[first]);
        first = last + 1;
        if (done != nullptr) {
            *done = first;
            faults::crashPoint("after-first-run");
        }
    }
}

SlotState classify(const SlotChange& slot, const std::vector<std::uint8_t>& now) {
    if (now == slot.newBytes) {
        return SlotState::New;
    }
    if (now == slot.oldBytes) {
        return SlotState::Old;
    }
    const std::vector<std::uint16_t>& offsets = slot.offsets;
    for (std::size_t first = 0; first < offsets.size();) {
        std::size_t end = first + 1;
        while (end < offsets.size() && offsets[end] == offsets[end - 1] + 1) {
            ++end;
        }
        const auto run = [&](const std::vector<std::uint8_t>& bytes) {
            return std::equal(now.begin() + static_cast<std::ptrdiff_t>(first),
                              now.begin() + static_cast<std::ptrdiff_t>(end),
                              bytes.begin() + static_cast<std::ptrdiff_t>(first));
        };
        if (!run(slot.oldBytes) && !run(slot.newBytes)) {
            return SlotState::Foreign;
        }
        first = end;
    }
    return SlotState::MixedRuns;
}

} // namespace qb
