#include "roster/backups.h"

#include "roster/data_folder.h"
#include "roster/errors.h"
#include "roster/native_path.h"
#include "roster/roster_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <vector>

namespace qb {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kKeptBackups = 10;
constexpr const char* kPartial = ".partial";

// "20261207-011300-123": sorts as it is ordered in time.
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

void copyWhole(const FileHandle& source, const fs::path& target) {
    const std::int64_t size = source.size();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    source.readAt(bytes.data(), bytes.size(), 0);
    const FileHandle copy(utf8Path(target), OpenMode::CreateNew, "writing");
    copy.writeAt(bytes.data(), bytes.size(), 0);
    copy.sync();
}

// Deletes all but the ten newest backups, and copies left half-written by a process
// that died (none is being written now: the roster's lock is held).
void rotate(const fs::path& folder, const std::string& stem, const std::string& ext) {
    std::vector<fs::path> copies;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = utf8Path(entry.path().filename());
        if (name.ends_with(kPartial)) {
            fs::remove(entry.path(), error);
        } else if (name.starts_with(stem + "-") && name.ends_with(ext)) {
            copies.push_back(entry.path());
        }
    }
    std::sort(copies.begin(), copies.end());
    for (std::size_t i = 0; i + kKeptBackups < copies.size(); ++i) {
        fs::remove(copies[i], error);
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

void backUpOnce(const FileHandle& file, const FileIdentity& identity,
                const std::string& dataFolder) {
    static std::mutex mutex;
    static std::set<std::string> done;
    const std::lock_guard lock(mutex);
    if (done.contains(identity.canonicalPath)) {
        return;
    }
    makePrivateFolder(utf8Path(nativePath(dataFolder) / "backups"));
    const std::string folder = backupFolder(dataFolder, identity.canonicalPath);
    makePrivateFolder(folder);
    const fs::path source = nativePath(identity.canonicalPath);
    const std::string stem = utf8Path(source.stem());
    const std::string ext = utf8Path(source.extension());
    auto when = std::chrono::system_clock::now();
    const auto named = [&] {
        return nativePath(folder) / nativePath(stem + "-" + timestamp(when) + ext);
    };
    fs::path target = named();
    while (fs::exists(target)) {
        when += std::chrono::milliseconds(1);
        target = named();
    }
    const fs::path partial = nativePath(utf8Path(target) + kPartial);
    try {
        copyWhole(file, partial);
        replaceFile(utf8Path(partial), utf8Path(target));
        syncFolder(folder);
    } catch (...) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        fs::remove(target, ignored);
        throw;
    }
    done.insert(identity.canonicalPath);
    rotate(nativePath(folder), stem, ext);
}

std::vector<Backup> listBackups(const std::string& file, const std::string& dataFolder) {
    const RosterFile roster(file);
    const SlotTable now = roster.readSlotTable();
    const std::string canonical = identifyFile(file).canonicalPath;
    const fs::path source = nativePath(canonical);
    const std::string stem = utf8Path(source.stem()) + "-";
    const std::string ext = utf8Path(source.extension());
    std::vector<Backup> backups;
    std::error_code error;
    for (const auto& entry :
         fs::directory_iterator(nativePath(backupFolder(dataFolder, canonical)), error)) {
        const std::string name = utf8Path(entry.path().filename());
        if (!name.starts_with(stem) || !name.ends_with(ext) || name.ends_with(kPartial)) {
            continue;
        }
        const std::string time =
            readableTime(name.substr(stem.size(), name.size() - stem.size() - ext.size()));
        if (!time.empty()) {
            backups.push_back({utf8Path(entry.path()), time, std::nullopt});
        }
    }
    std::ranges::sort(backups, std::greater<>(), &Backup::time);
    for (Backup& backup : backups) {
        backup.differingSlots = differingSlots(now, backup.path);
    }
    return backups;
}

} // namespace qb
