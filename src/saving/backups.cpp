#include "saving/backups.h"

#include "roster/roster_file.h"
#include "system/data_folder.h"
#include "system/errors.h"
#include "system/fnv1a.h"
#include "system/native_path.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

namespace qb {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kKeptBackups = 10;
// Days whose first backup is kept besides the ten newest: a file's backups never number
// more than 40, some 22 MB for a saved game.
constexpr std::size_t kKeptDays = 30;
constexpr const char* kPartial = ".partial";
constexpr const char* kRestoreMark = ".restored";

// "20261207-011300-123": when a backup was made, by the clock, which may be wrong.
std::string timestamp(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto day = floor<days>(when);
    const year_month_day date(day);
    const hh_mm_ss time(floor<milliseconds>(when - day));
    char text[40];
    std::snprintf(
        text, sizeof text, "%04d%02u%02u-%02d%02d%02d-%03d", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
        static_cast<int>(time.seconds().count()), static_cast<int>(time.subseconds().count()));
    return text;
}

// One backup in its folder: <stem>-<sequence>-<stamp><ext>, the sequence counted by the
// program (one more than the highest in the folder), so the order of backups holds
// whatever the clock said. Earlier versions wrote <stem>-<stamp><ext>: sequence 0.
struct Copy {
    fs::path path;
    long sequence = 0;
    std::string stamp;
    bool operator<(const Copy& other) const {
        return std::tie(sequence, stamp) < std::tie(other.sequence, other.stamp);
    }
};

bool isStamp(const std::string& text) {
    return text.size() == 19 && text[8] == '-' && text[15] == '-' &&
           std::ranges::all_of(text, [](char ch) { return ch == '-' || std::isdigit(ch) != 0; });
}

std::optional<Copy> copyNamed(const fs::path& path, const std::string& stem,
                              const std::string& ext) {
    const std::string name = utf8Path(path.filename());
    if (!name.starts_with(stem + "-") || !name.ends_with(ext) ||
        name.size() < stem.size() + 1 + ext.size()) {
        return std::nullopt;
    }
    const std::string rest =
        name.substr(stem.size() + 1, name.size() - stem.size() - 1 - ext.size());
    if (isStamp(rest)) {
        return Copy{path, 0, rest};
    }
    const std::size_t dash = rest.find('-');
    const std::string sequence = rest.substr(0, dash);
    if (dash == std::string::npos || sequence.empty() || sequence.size() > 9 ||
        !std::ranges::all_of(sequence, [](char ch) { return std::isdigit(ch) != 0; }) ||
        !isStamp(rest.substr(dash + 1))) {
        return std::nullopt;
    }
    return Copy{path, std::stol(sequence), rest.substr(dash + 1)};
}

// A file's backups, oldest first.
std::vector<Copy> copiesIn(const fs::path& folder, const std::string& stem,
                           const std::string& ext) {
    std::vector<Copy> copies;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (auto copy = copyNamed(entry.path(), stem, ext)) {
            copies.push_back(std::move(*copy));
        }
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

// Why each backup is kept, by position in `copies` (oldest first): one of the ten
// newest, or the first of its day (the file as it was before that day's first change)
// for the 30 latest days; empty for one that goes.
std::vector<std::string> keptBecause(const std::vector<Copy>& copies) {
    std::vector<std::string> why(copies.size());
    std::map<std::string, std::size_t> firstOfDay;
    for (std::size_t i = copies.size(); i-- > 0;) {
        firstOfDay[copies[i].stamp.substr(0, 8)] = i;
    }
    std::size_t days = 0;
    for (auto day = firstOfDay.rbegin(); day != firstOfDay.rend() && days < kKeptDays;
         ++day, ++days) {
        const std::string& d = day->first;
        why[day->second] =
            "first of " + d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
    }
    for (std::size_t i = copies.size() > kKeptBackups ? copies.size() - kKeptBackups : 0;
         i < copies.size(); ++i) {
        why[i] = why[i].empty() ? "newest" : "newest, " + why[i];
    }
    return why;
}

// Copies the file a megabyte at a time, so no file is ever held whole in memory.
void copyInChunks(const FileHandle& source, const fs::path& target) {
    constexpr std::int64_t kChunk = std::int64_t{1} << 20;
    const std::int64_t size = source.size();
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min(size, kChunk)));
    const FileHandle copy(utf8Path(target), OpenMode::CreateNew, "writing");
    for (std::int64_t at = 0; at < size; at += kChunk) {
        const auto count = static_cast<std::size_t>(std::min(size - at, kChunk));
        source.readAt(chunk.data(), count, at);
        copy.writeAt(chunk.data(), count, at);
    }
    copy.sync();
}

// The mark beside a backup that a restore read: the hash of the slot table the restore
// left in the file.
fs::path restoreMark(const fs::path& backup) {
    return nativePath(utf8Path(backup) + kRestoreMark);
}

std::uint64_t slotTableHash(const std::string& path) {
    SlotTable table = RosterFile(path).readSlotTable();
    return fnv1a(
        std::span<const std::uint8_t>(table.data(), static_cast<std::size_t>(SLOT_TABLE_SIZE)));
}

// Whether the backup at `i` was read by a restore and no newer backup holds the file as
// that restore left it.
bool heldForARestore(const std::vector<Copy>& copies, std::size_t i) {
    std::string mark;
    try {
        mark = readSmallFile(utf8Path(restoreMark(copies[i].path)), 32, "a restore's mark");
    } catch (const FileError&) {
        return false; // no mark: no restore read it
    }
    for (std::size_t newer = i + 1; newer < copies.size(); ++newer) {
        try {
            if (std::to_string(slotTableHash(utf8Path(copies[newer].path))) == mark) {
                return false;
            }
        } catch (const FileError&) {
            // an unreadable backup holds nothing
        }
    }
    return true;
}

// FNV-1a over the whole file, a megabyte at a time: tells this process's last view of a
// file from a change another program made since.
std::uint64_t fingerprint(const FileHandle& file) {
    constexpr std::int64_t kChunk = std::int64_t{1} << 20;
    const std::int64_t size = file.size();
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min(size, kChunk)));
    std::uint64_t hash = fnv1a(std::span<const std::uint8_t>());
    for (std::int64_t at = 0; at < size; at += kChunk) {
        const auto count = static_cast<std::size_t>(std::min(size - at, kChunk));
        file.readAt(chunk.data(), count, at);
        hash = fnv1a(std::span<const std::uint8_t>(chunk.data(), count), hash);
    }
    return hash;
}

// What each file (by canonical path) held when this process last backed it up or
// wrote it.
struct SeenFiles {
    std::mutex mutex;
    std::map<std::string, std::uint64_t> contents;
};

SeenFiles& seenFiles() {
    static SeenFiles seen;
    return seen;
}

// Deletes the backups that are not kept (keptBecause), never `keep` (the one a command
// reads), the newest, nor one held for a restore, and copies left half-written by a
// process that died (none is being written now: the roster's lock is held).
void rotate(const fs::path& folder, const std::string& stem, const std::string& ext,
            const std::string& keep) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (utf8Path(entry.path().filename()).ends_with(kPartial)) {
            fs::remove(entry.path(), error);
        }
    }
    const std::vector<Copy> copies = copiesIn(folder, stem, ext);
    const std::vector<std::string> why = keptBecause(copies);
    for (std::size_t i = 0; i + 1 < copies.size(); ++i) {
        if (why[i].empty() &&
            !(!keep.empty() && fs::equivalent(copies[i].path, nativePath(keep), error)) &&
            !heldForARestore(copies, i)) {
            fs::remove(copies[i].path, error);
            fs::remove(restoreMark(copies[i].path), error);
        }
    }
}

// "20261207-011300-123" as "2026-12-07 01:13:00.123"; empty for any other text.
std::string readableTime(const std::string& stamp) {
    if (stamp.size() != 19 || stamp[8] != '-' || stamp[15] != '-') {
        return {};
    }
    return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + " " +
           stamp.substr(9, 2) + ":" + stamp.substr(11, 2) + ":" + stamp.substr(13, 2) + "." +
           stamp.substr(16, 3);
}

std::optional<int> differingSlots(const SlotTable& now, const std::string& backup) {
    try {
        const SlotTable then = RosterFile(backup).readSlotTable();
        int count = 0;
        for (int slot = 0; slot < SLOT_COUNT; ++slot) {
            count += now.copyRecord(slot) != then.copyRecord(slot) ? 1 : 0;
        }
        return count;
    } catch (const FileError&) {
        return std::nullopt;
    }
}

} // namespace

std::string backupFolder(const std::string& dataFolder, const std::string& canonicalPath) {
    return utf8Path(
        nativePath(dataFolder) / "backups" /
        nativePath(utf8Path(nativePath(canonicalPath).filename()) + "-" + pathKey(canonicalPath)));
}

void backUpBeforeWrite(const FileHandle& file, const FileIdentity& identity,
                       const std::string& dataFolder, const std::string& keep) {
    SeenFiles& seen = seenFiles();
    const std::lock_guard lock(seen.mutex);
    const std::uint64_t print = fingerprint(file);
    if (const auto found = seen.contents.find(identity.canonicalPath);
        found != seen.contents.end() && found->second == print) {
        return;
    }
    makePrivateFolder(utf8Path(nativePath(dataFolder) / "backups"));
    const std::string folder = backupFolder(dataFolder, identity.canonicalPath);
    makePrivateFolder(folder);
    const fs::path source = nativePath(identity.canonicalPath);
    const std::string stem = utf8Path(source.stem());
    const std::string ext = utf8Path(source.extension());
    const std::vector<Copy> copies = copiesIn(nativePath(folder), stem, ext);
    const long sequence = copies.empty() ? 1 : copies.back().sequence + 1;
    char number[24];
    std::snprintf(number, sizeof number, "%06ld", sequence);
    const fs::path target =
        nativePath(folder) /
        nativePath(stem + "-" + number + "-" + timestamp(std::chrono::system_clock::now()) + ext);
    const fs::path partial = nativePath(utf8Path(target) + kPartial);
    try {
        copyInChunks(file, partial);
        replaceFile(utf8Path(partial), utf8Path(target));
        syncFolder(folder);
    } catch (...) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        fs::remove(target, ignored);
        throw;
    }
    seen.contents[identity.canonicalPath] = print;
    rotate(nativePath(folder), stem, ext, keep);
}

void keepUntilBackedUp(const std::string& backup, const std::string& file,
                       const std::string& dataFolder) {
    std::error_code error;
    const fs::path source = nativePath(backup);
    if (!fs::equivalent(source.parent_path(),
                        nativePath(backupFolder(dataFolder, identifyFile(file).canonicalPath)),
                        error)) {
        return;
    }
    const std::string mark = std::to_string(slotTableHash(file));
    const FileHandle out(utf8Path(restoreMark(source)), OpenMode::CreateOrEmpty, "writing");
    out.writeAt(reinterpret_cast<const std::uint8_t*>(mark.data()), mark.size(), 0);
}

void noteOwnWrite(const FileHandle& file, const FileIdentity& identity) {
    SeenFiles& seen = seenFiles();
    const std::lock_guard lock(seen.mutex);
    if (const auto found = seen.contents.find(identity.canonicalPath);
        found != seen.contents.end()) {
        found->second = fingerprint(file);
    }
}

std::vector<Backup> listBackups(const std::string& file, const std::string& dataFolder) {
    const RosterFile roster(file);
    const SlotTable now = roster.readSlotTable();
    const std::string canonical = identifyFile(file).canonicalPath;
    const fs::path source = nativePath(canonical);
    const std::vector<Copy> copies =
        copiesIn(nativePath(backupFolder(dataFolder, canonical)), utf8Path(source.stem()),
                 utf8Path(source.extension()));
    std::vector<std::string> why = keptBecause(copies);
    std::vector<Backup> backups;
    for (std::size_t i = copies.size(); i-- > 0;) {
        if (heldForARestore(copies, i)) {
            why[i] += why[i].empty() ? "read by a restore" : ", read by a restore";
        }
        backups.push_back({utf8Path(copies[i].path), readableTime(copies[i].stamp),
                           differingSlots(now, utf8Path(copies[i].path)), why[i]});
    }
    return backups;
}

} // namespace qb
