#include "roster/recovery.h"

#include "roster/data_folder.h"
#include "roster/journal.h"
#include "roster/roster_lock.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>

namespace qb {
namespace {

namespace fs = std::filesystem;

std::string slotText(const Journal& journal) {
    return "the slot at byte " + std::to_string(journal.slotOffset) + " of " +
           journal.file.canonicalPath;
}

// The journals of a folder that belong to the file at `onlyFor` (all when empty): by
// canonical path, or by device and inode when the file was reached another way.
template <typename Visit>
void forEachJournal(const fs::path& folder, const std::string& onlyFor, Visit visit) {
    std::optional<FileIdentity> wanted;
    if (!onlyFor.empty()) {
        try {
            wanted = identifyFile(onlyFor);
        } catch (const QuillbayError&) {
            return; // no such file: nothing of it to recover
        }
    }
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        std::optional<Journal> journal;
        try {
            journal = readJournal(entry.path().string());
        } catch (const QuillbayError&) {
            continue;
        }
        if (!journal) {
            visit(entry.path(), journal);
            continue;
        }
        const FileIdentity& file = journal->file;
        if (!wanted || file.canonicalPath == wanted->canonicalPath ||
            (file.device == wanted->device && file.inode == wanted->inode)) {
            visit(entry.path(), journal);
        }
    }
}

// A journal that does not decode is being written now, or was cut off while it was
// written (the roster untouched then). Its file name ends in its writer's process ID.
bool writerIsGone(const fs::path& journalFile) {
    const std::string stem = journalFile.stem().string();
    const long pid = std::atol(stem.substr(stem.rfind('-') + 1).c_str());
    return pid <= 0 || !isRunning({static_cast<std::uint32_t>(pid), 0});
}

std::string setAside(const fs::path& journalFile, const std::string& dataFolder) {
    const fs::path folder = fs::path(dataFolder) / "set-aside";
    makePrivateFolder(folder.string());
    const fs::path kept = folder / journalFile.filename();
    fs::rename(journalFile, kept);
    return kept.string();
}

// Handles one journal under its roster's lock; the message for the user, or nothing
// when the journal is not this process's to handle.
std::optional<std::string> recoverOne(const fs::path& journalFile, const Journal& journal,
                                      const std::string& dataFolder,
                                      std::chrono::milliseconds lockWait) {
    const std::string where = slotText(journal);
    const RosterLock lock(journal.file.canonicalPath, lockWait);
    // Another process may have handled it while this one waited for the lock.
    std::error_code error;
    if (!fs::exists(journalFile, error)) {
        return std::nullopt;
    }
    const ProcessMark me = thisProcess();
    if (journal.owner.pid != me.pid && isRunning(journal.owner)) {
        return std::nullopt; // its owner still runs; its save is not cut off
    }
    const FileHandle file(journal.file.canonicalPath, O_RDWR, "restoring an interrupted save");
    FileIdentity now = identifyFile(journal.file.canonicalPath);
    std::vector<std::uint8_t> bytes(journal.offsets.size());
    for (std::size_t i = 0; i < journal.offsets.size(); ++i) {
        file.readAt(&bytes[i], 1, journal.slotOffset + journal.offsets[i]);
    }
    const SlotState state =
        journal.file.sameFileAs(now) ? classify(journal, bytes) : SlotState::Foreign;
    std::string message;
    switch (state) {
    case SlotState::New:
        message = "A save of " + where +
                  " was cut off after its bytes were written; they are "
                  "complete.";
        break;
    case SlotState::Old:
        message = "A save of " + where +
                  " was cut off before its bytes were written; the slot "
                  "is as it was.";
        break;
    case SlotState::MixedRuns:
        writeRuns(file, journal.slotOffset, journal.offsets, journal.oldBytes, nullptr);
        file.sync();
        message = "A save of " + where +
                  " was cut off; the slot was restored to its earlier "
                  "bytes.";
        break;
    case SlotState::Foreign:
        return "A save of " + where +
               " was cut off, and the file was written or replaced by another program since; "
               "the slot was left as it is and the journal set aside as " +
               setAside(journalFile, dataFolder);
    }
    fs::remove(journalFile, error);
    return message;
}

} // namespace

std::vector<std::string> recoverInterruptedSaves(const std::string& dataFolder,
                                                 const std::string& onlyFor,
                                                 std::chrono::milliseconds lockWait) {
    std::vector<std::string> messages;
    forEachJournal(fs::path(dataFolder) / "journal", onlyFor,
                   [&](const fs::path& path, const std::optional<Journal>& journal) {
                       if (!journal) {
                           if (writerIsGone(path)) {
                               std::remove(path.c_str());
                           }
                           return;
                       }
                       try {
                           if (auto message = recoverOne(path, *journal, dataFolder, lockWait)) {
                               messages.push_back(std::move(*message));
                           }
                       } catch (const std::exception& failure) {
                           messages.push_back(
                               "A save of " + slotText(*journal) +
                               " was cut off and could not be restored yet: " + failure.what());
                       }
                   });
    return messages;
}

std::vector<std::string> setAsideJournals(const std::string& dataFolder,
                                          const std::string& onlyFor) {
    std::vector<std::string> messages;
    forEachJournal(fs::path(dataFolder) / "set-aside", onlyFor,
                   [&](const fs::path& path, const std::optional<Journal>& journal) {
                       if (journal) {
                           messages.push_back(
                               "A journal of a cut-off save of " + slotText(*journal) +
                               " was set aside because another program wrote the file since; "
                               "its old and new bytes are kept in " +
                               path.string());
                       }
                   });
    return messages;
}

} // namespace qb
