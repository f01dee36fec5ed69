#include "roster/backups.h"

#include "roster/data_folder.h"
#include "roster/errors.h"
#include "roster/roster_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
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
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &utc);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() %
        1000;
    char withMillis[40];
    std::snprintf(withMillis, sizeof withMillis, "%s-%03d", text, static_cast<int>(millis));
    return withMillis;
}

void copyWhole(const FileHandle& source, const fs::path& target) {
    const std::int64_t size = source.size();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    source.readAt(bytes.data(), bytes.size(), 0);
    const FileHandle copy(target.string(), O_WRONLY | O_CREAT | O_EXCL, "writing", 0600);
    copy.writeAt(bytes.data(), bytes.size(), 0);
    copy.sync();
}

// Deletes all but the ten newest backups, and copies left half-written by a process
// that died (none is being written now: the roster's lock is held).
void rotate(const fs::path& folder, const std::string& stem, const std::string& ext) {
    std::vector<fs::path> copies;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
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
    return (fs::path(dataFolder) / "backups" /
            (fs::path(canonicalPath).filename().string() + "-" + pathKey(canonicalPath)))
        .string();
}

void backUpOnce(const FileHandle& file, const FileIdentity& identity,
                const std::string& dataFolder) {
    static std::mutex mutex;
    static std::set<std::string> done;
    const std::lock_guard lock(mutex);
    if (done.contains(identity.canonicalPath)) {
        return;
    }
    makePrivateFolder((fs::path(dataFolder) / "backups").string());
    const fs::path folder = backupFolder(dataFolder, identity.canonicalPath);
    makePrivateFolder(folder.string());
    const fs::path source(identity.canonicalPath);
    const std::string stem = source.stem().string();
    const std::string ext = source.extension().string();
    auto when = std::chrono::system_clock::now();
    fs::path target = folder / (stem + "-" + timestamp(when) + ext);
    while (fs::exists(target)) {
        when += std::chrono::milliseconds(1);
        target = folder / (stem + "-" + timestamp(when) + ext);
    }
    const fs::path partial = target.string() + kPartial;
    try {
        copyWhole(file, partial);
        fs::rename(partial, target);
        const FileHandle folderHandle(folder.string(), O_RDONLY | O_DIRECTORY, "reading");
        folderHandle.sync();
    } catch (...) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        fs::remove(target, ignored);
        throw;
    }
    done.insert(identity.canonicalPath);
    rotate(folder, stem, ext);
}

std::vector<Backup> listBackups(const std::string& file, const std::string& dataFolder) {
    const RosterFile roster(file);
    const SlotTable now = roster.readSlotTable();
    const fs::path source(identifyFile(file).canonicalPath);
    const std::string stem = source.stem().string() + "-";
    const std::string ext = source.extension().string();
    std::vector<Backup> backups;
    std::error_code error;
    for (const auto& entry :
         fs::directory_iterator(backupFolder(dataFolder, source.string()), error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(stem) || !name.ends_with(ext) || name.ends_with(kPartial)) {
            continue;
        }
        const std::string time =
            readableTime(name.substr(stem.size(), name.size() - stem.size() - ext.size()));
        if (!time.empty()) {
            backups.push_back({entry.path().string(), time, std::nullopt});
        }
    }
    std::ranges::sort(backups, std::greater<>(), &Backup::time);
    for (Backup& backup : backups) {
        backup.differingSlots = differingSlots(now, backup.path);
    }
    return backups;
}

} // namespace qb
