#include "roster/safe_write.h"

#include "roster/faults.h"
#include "roster/file_handle.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>

namespace qb {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kKeptBackups = 10;
constexpr char kMagic[4] = {'Q', 'B', 'J', '1'};

struct Journal {
    std::string file;
    std::int64_t slotOffset = 0;
    std::vector<std::uint16_t> offsets;
    std::vector<std::uint8_t> oldBytes;
    std::vector<std::uint8_t> newBytes;
};

std::uint64_t fnv1a(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ULL;
    }
    return hash;
}

void put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::vector<std::uint8_t> encode(const Journal& j) {
    std::vector<std::uint8_t> out(kMagic, kMagic + 4);
    put(out, j.file.size(), 4);
    out.insert(out.end(), j.file.begin(), j.file.end());
    put(out, static_cast<std::uint64_t>(j.slotOffset), 8);
    put(out, j.offsets.size(), 2);
    for (const std::uint16_t offset : j.offsets) {
        put(out, offset, 2);
    }
    out.insert(out.end(), j.oldBytes.begin(), j.oldBytes.end());
    out.insert(out.end(), j.newBytes.begin(), j.newBytes.end());
    put(out, fnv1a(out), 8);
    return out;
}

// A journal whose checksum fails was cut off while it was written, before the roster
// was touched: it is nothing.
std::optional<Journal> decode(const std::vector<std::uint8_t>& bytes) {
    std::size_t at = 0;
    const auto take = [&](int count) -> std::optional<std::uint64_t> {
        if (at + static_cast<std::size_t>(count) > bytes.size()) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i) {
            value |= static_cast<std::uint64_t>(bytes[at++]) << (8 * i);
        }
        return value;
    };
    if (bytes.size() < 4 + 4 + 8 + 2 + 8 || !std::equal(kMagic, kMagic + 4, bytes.begin())) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> body(bytes.begin(), bytes.end() - 8);
    at = bytes.size() - 8;
    if (take(8) != fnv1a(body)) {
        return std::nullopt;
    }
    at = 4;
    Journal j;
    const auto pathLength = take(4);
    if (!pathLength || at + *pathLength > body.size()) {
        return std::nullopt;
    }
    j.file.assign(body.begin() + static_cast<std::ptrdiff_t>(at),
                  body.begin() + static_cast<std::ptrdiff_t>(at + *pathLength));
    at += *pathLength;
    const auto slotOffset = take(8);
    const auto count = take(2);
    if (!slotOffset || !count || at + *count * 4 != body.size()) {
        return std::nullopt;
    }
    j.slotOffset = static_cast<std::int64_t>(*slotOffset);
    for (std::uint64_t i = 0; i < *count; ++i) {
        j.offsets.push_back(static_cast<std::uint16_t>(*take(2)));
    }
    j.oldBytes.assign(body.begin() + static_cast<std::ptrdiff_t>(at),
                      body.begin() + static_cast<std::ptrdiff_t>(at + *count));
    j.newBytes.assign(body.begin() + static_cast<std::ptrdiff_t>(at + *count), body.end());
    if (std::any_of(j.offsets.begin(), j.offsets.end(),
                    [](std::uint16_t o) { return o >= SLOT_SIZE; })) {
        return std::nullopt;
    }
    return j;
}

std::string journalPath(const std::string& dataFolder, const std::string& file,
                        std::int64_t slotOffset) {
    const std::vector<std::uint8_t> key(file.begin(), file.end());
    return (fs::path(dataFolder) / "journal" /
            (std::to_string(fnv1a(key)) + "-" + std::to_string(slotOffset) + ".journal"))
        .string();
}

void writeJournal(const std::string& path, const Journal& journal, bool durable) {
    fs::create_directories(fs::path(path).parent_path());
    const std::vector<std::uint8_t> bytes = encode(journal);
    try {
        const FileHandle file(path, O_WRONLY | O_CREAT | O_TRUNC, "writing", 0600);
        file.writeAt(bytes.data(), bytes.size(), 0);
        if (durable) {
            file.sync();
        }
    } catch (const QuillbayError&) {
        std::remove(path.c_str()); // the roster is untouched; no journal is left behind
        throw;
    }
    if (durable) {
        const FileHandle folder(fs::path(path).parent_path().string(), O_RDONLY | O_DIRECTORY,
                                "reading");
        folder.sync();
    }
}

std::vector<std::uint8_t> readWhole(const std::string& path) {
    const FileHandle file(path, O_RDONLY, "reading");
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(std::min<std::int64_t>(file.size(), 1 << 16)));
    file.readAt(bytes.data(), bytes.size(), 0);
    return bytes;
}

// Writes `bytes` at the journal's offsets of the slot, each run in one write.
void writeRuns(const FileHandle& file, std::int64_t slotOffset,
               const std::vector<std::uint16_t>& offsets, const std::vector<std::uint8_t>& bytes,
               std::size_t* runsDone) {
    std::size_t first = 0;
    while (first < offsets.size()) {
        std::size_t last = first;
        while (last + 1 < offsets.size() && offsets[last + 1] == offsets[last] + 1) {
            ++last;
        }
        file.writeAt(bytes.data() + first, last - first + 1, slotOffset + offsets[first]);
        first = last + 1;
        if (runsDone != nullptr) {
            *runsDone = first;
            faults::crashPoint("after-first-run");
        }
    }
}

std::string timestamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Copies the file to <data>/backups/<name>-<date-time>.<ext> once per process and
// keeps the 10 newest copies of each file.
void backUpOnce(const std::string& path, const std::string& dataFolder) {
    static std::mutex mutex;
    static std::set<std::string> done;
    const std::lock_guard lock(mutex);
    std::error_code error;
    const std::string key = fs::weakly_canonical(path, error).string();
    if (done.contains(key)) {
        return;
    }
    const fs::path folder = fs::path(dataFolder) / "backups";
    fs::create_directories(folder);
    const fs::path source(path);
    const std::string stem = source.stem().string() + "-";
    const std::string ext = source.extension().string();
    fs::path target = folder / (stem + timestamp() + ext);
    for (int n = 1; fs::exists(target); ++n) {
        target = folder / (stem + timestamp() + "-" + std::to_string(n) + ext);
    }
    fs::copy_file(source, target);
    done.insert(key);
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(stem) && name.ends_with(ext) &&
            name.size() > stem.size() + ext.size() &&
            std::isdigit(static_cast<unsigned char>(name[stem.size()])) != 0) {
            copies.push_back(entry.path());
        }
    }
    std::sort(copies.begin(), copies.end());
    for (std::size_t i = 0; i + kKeptBackups < copies.size(); ++i) {
        fs::remove(copies[i], error);
    }
}

} // namespace

std::string userDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
        return (fs::path(xdg) / "Quillbay").string();
    }
    const char* home = std::getenv("HOME");
    return (fs::path(home != nullptr ? home : "/tmp") / ".local" / "share" / "Quillbay").string();
}

SaveReport writeSlotSafely(const RosterFile& roster, int slot, const Record& loaded,
                           const Record& working, const SafetyOptions& options) {
    SaveReport report;
    const std::vector<int> offsets = changedOffsets(loaded, working);
    if (offsets.empty()) {
        return report;
    }
    // One handle, opened for reading and writing, serves the check, the writes and the
    // read-back; a file the user cannot write is reported as such.
    requireSlot(roster.path(), slot);
    const FileHandle file(roster.path(), O_RDWR, "writing");
    Record current{};
    file.readAt(current.data(), current.size(), roster.slotOffset(slot));
    if (!options.force && current != loaded) {
        throw SlotConflict("Slot " + std::to_string(slot) + " of " + roster.path() +
                               " was changed by another program since it was loaded",
                           roster.path());
    }
    if (options.backups) {
        try {
            backUpOnce(roster.path(), options.dataFolder);
        } catch (const std::exception& error) {
            report.notices.push_back(std::string("No backup of ") + roster.path() +
                                     " could be made: " + error.what());
        }
    }

    // The journal names the file absolutely, so it is found whatever folder the next run starts in.
    Journal journal{fs::absolute(roster.path()).string(), roster.slotOffset(slot), {}, {}, {}};
    for (const int offset : offsets) {
        journal.offsets.push_back(static_cast<std::uint16_t>(offset));
        journal.oldBytes.push_back(current[static_cast<std::size_t>(offset)]);
        journal.newBytes.push_back(working[static_cast<std::size_t>(offset)]);
    }
    const std::string journalFile =
        journalPath(options.dataFolder, journal.file, journal.slotOffset);
    writeJournal(journalFile, journal, options.durable);
    faults::crashPoint("after-journal");

    {
        std::size_t runsDone = 0;
        try {
            requireSlotTable(roster.path(), roster.kind(), file.size());
            writeRuns(file, journal.slotOffset, journal.offsets, journal.newBytes, &runsDone);
            if (options.durable) {
                file.sync();
            }
        } catch (const QuillbayError& error) {
            std::string outcome = "nothing of the slot was changed";
            if (runsDone > 0) {
                try {
                    writeRuns(file, journal.slotOffset, journal.offsets, journal.oldBytes, nullptr);
                    file.sync();
                    outcome = "the bytes already written were put back";
                } catch (const QuillbayError& rollback) {
                    outcome = "putting back the bytes already written failed too (" +
                              rollback.description() +
                              "); the slot will be restored the next time the file is opened";
                    throw FileError(error.description() + "; " + outcome, roster.path());
                }
            }
            std::remove(journalFile.c_str());
            throw FileError(error.description() + "; " + outcome, roster.path());
        }
    }
    Record after{};
    file.readAt(after.data(), after.size(), roster.slotOffset(slot));
    for (std::size_t i = 0; i < journal.offsets.size(); ++i) {
        if (after[journal.offsets[i]] != journal.newBytes[i]) {
            throw FileError("Reading " + roster.path() +
                                " back after saving found other bytes than were written",
                            roster.path());
        }
    }
    faults::crashPoint("before-journal-delete");
    std::remove(journalFile.c_str());
    report.written = offsets;
    return report;
}

std::vector<std::string> recoverInterruptedSaves(const std::string& dataFolder,
                                                 const std::string& onlyFor) {
    std::vector<std::string> messages;
    const fs::path folder = fs::path(dataFolder) / "journal";
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return messages;
    }
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string path = entry.path().string();
        std::optional<Journal> journal;
        try {
            journal = decode(readWhole(path));
        } catch (const QuillbayError&) {
            continue;
        }
        if (!journal) {
            std::remove(path.c_str()); // cut off before the roster was touched
            continue;
        }
        if (!onlyFor.empty() && journal->file != fs::absolute(onlyFor).string()) {
            continue;
        }
        const std::string where =
            "slot at byte " + std::to_string(journal->slotOffset) + " of " + journal->file;
        try {
            const FileHandle file(journal->file, O_RDWR, "restoring an interrupted save");
            std::vector<std::uint8_t> now(journal->offsets.size());
            for (std::size_t i = 0; i < journal->offsets.size(); ++i) {
                file.readAt(&now[i], 1, journal->slotOffset + journal->offsets[i]);
            }
            if (now == journal->newBytes) {
                messages.push_back("A save of the " + where +
                                   " was cut off after its bytes were written; they are complete.");
            } else {
                writeRuns(file, journal->slotOffset, journal->offsets, journal->oldBytes, nullptr);
                file.sync();
                messages.push_back("A save of the " + where +
                                   " was cut off; the slot was restored to its earlier bytes.");
            }
            std::remove(path.c_str());
        } catch (const QuillbayError& failure) {
            messages.push_back(
                "A save of the " + where +
                " was cut off and could not be restored yet: " + failure.description());
        }
    }
    return messages;
}

} // namespace qb
