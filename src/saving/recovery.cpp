#include "saving/recovery.h"

#include "roster/layout.h"
#include "saving/journal.h"
#include "saving/roster_lock.h"
#include "system/data_folder.h"
#include "system/faults.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>

namespace qb {
namespace {

namespace fs = std::filesystem;

// The slot whose record starts at `offset`: a roster file's slots start at multiples of
// the record size, a saved game's 132 bytes later, which no multiple is, so the offset
// alone tells them apart (the file's name may not: --kind overrides it).
std::int64_t slotAt(std::int64_t offset) {
    return (offset % SLOT_SIZE == 0 ? offset : offset - SAVE_HEADER_SIZE) / SLOT_SIZE;
}

// "0, 1, 2": the journal's slots.
std::string slotNumbers(const Journal& journal) {
    std::string slots;
    for (const SlotChange& slot : journal.slots) {
        slots += (slots.empty() ? "" : ", ") + std::to_string(slotAt(slot.slotOffset));
    }
    return slots;
}

// "slot 1 of /r.pak", or "slots 0, 1, 2 of /r.pak" for a batch.
std::string slotText(const Journal& journal) {
    return (journal.slots.size() == 1 ? "slot " : "slots ") + slotNumbers(journal) + " of " +
           journal.file.canonicalPath;
}

// What each slot of the journal holds now at its offsets, compared with its old and new
// bytes; every slot Foreign when the file at `path` is not the journal's (the game wrote
// a new file under its name) or changed size since. A file renamed since is the same
// file: its device and inode are.
std::vector<SlotState> slotStates(const FileHandle& file, const std::string& path,
                                  const Journal& journal) {
    const FileIdentity now = identifyFile(path);
    const bool sameFile = now.device == journal.file.device && now.inode == journal.file.inode &&
                          now.size == journal.file.size;
    std::vector<SlotState> states;
    for (const SlotChange& slot : journal.slots) {
        if (!sameFile) {
            states.push_back(SlotState::Foreign);
            continue;
        }
        const std::uint16_t first = slot.offsets.front();
        Record record{};
        file.readAt(record.data() + first, slot.offsets.back() - first + 1u,
                    slot.slotOffset + first);
        std::vector<std::uint8_t> bytes;
        for (const std::uint16_t offset : slot.offsets) {
            bytes.push_back(record[offset]);
        }
        states.push_back(classify(slot, bytes));
    }
    return states;
}

// Whether `file` holds the journal's batch as only a save cut off part-way leaves it: its
// runs, in the order a save writes them (slot by slot, each slot's runs in offset order),
// hold their new bytes up to some point and their old bytes after it, some of each. A
// file written since its batch was finished reads so only if that write put back the
// batch's new bytes in just such a leading part of its runs.
bool cutOffInWriteOrder(const FileHandle& file, const Journal& journal) {
    bool someNew = false;
    bool someOld = false;
    for (const SlotChange& slot : journal.slots) {
        const std::vector<std::uint16_t>& offsets = slot.offsets;
        Record record{};
        file.readAt(record.data() + offsets.front(), offsets.back() - offsets.front() + 1u,
                    slot.slotOffset + offsets.front());
        for (std::size_t first = 0; first < offsets.size();) {
            std::size_t end = first + 1;
            while (end < offsets.size() && offsets[end] == offsets[end - 1] + 1) {
                ++end;
            }
            const auto holds = [&](const std::vector<std::uint8_t>& bytes) {
                for (std::size_t i = first; i < end; ++i) {
                    if (record[offsets[i]] != bytes[i]) {
                        return false;
                    }
                }
                return true;
            };
            if (!someOld && holds(slot.newBytes)) {
                someNew = true;
            } else if (holds(slot.oldBytes)) {
                someOld = true;
            } else {
                return false; // another program's bytes, or new bytes after old ones
            }
            first = end;
        }
    }
    return someNew && someOld;
}

// Whether the file at `path`, which is not the journal's file, holds the journal's batch
// cut off part-way, by its content alone: the journal's size, and its runs as a cut-off
// save leaves them (cutOffInWriteOrder). So a file that left its file system since
// (moved, or copied before the next writer came) is still known to hold the batch.
bool holdsBatchByContent(const std::string& path, const Journal& journal) {
    try {
        const FileHandle file(path, OpenMode::Read, "reading");
        return file.size() == journal.file.size && cutOffInWriteOrder(file, journal);
    } catch (const QuillbayError&) {
        return false;
    }
}

// The journals of a folder that belong to the file at `onlyFor` (all when empty): by
// canonical path, or by device and inode when the file was reached another way or
// renamed since. `visit` gets the journal's file, the path to reach its roster by (the
// one asked for, which holds even when the journal's path no longer does) and the
// journal, nothing when it does not decode. Asked to, it also visits the journals whose
// half-written batch the file holds by its content (holdsBatchByContent), telling so.
enum class Match { ByIdentity, AlsoByContent };
template <typename Visit>
void forEachJournal(const fs::path& folder, const std::string& onlyFor, Match match, Visit visit) {
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
            journal = readJournal(utf8Path(entry.path()));
        } catch (const QuillbayError&) {
            continue;
        }
        if (!journal) {
            visit(entry.path(), std::string(), journal, false);
            continue;
        }
        const FileIdentity& file = journal->file;
        if (!wanted) {
            visit(entry.path(), file.canonicalPath, journal, false);
        } else if (file.canonicalPath == wanted->canonicalPath ||
                   (file.device == wanted->device && file.inode == wanted->inode)) {
            visit(entry.path(), wanted->canonicalPath, journal, false);
        } else if (match == Match::AlsoByContent &&
                   holdsBatchByContent(wanted->canonicalPath, *journal)) {
            visit(entry.path(), wanted->canonicalPath, journal, true);
        }
    }
}

// A journal that does not decode is being written now, or was cut off while it was
// written (the roster untouched then). Its file name ends in its writer's process ID.
bool writerIsGone(const fs::path& journalFile) {
    const std::string stem = utf8Path(journalFile.stem());
    const long pid = std::atol(stem.substr(stem.rfind('-') + 1).c_str());
    return pid <= 0 || !isRunning({static_cast<std::uint32_t>(pid), 0});
}

std::string setAside(const fs::path& journalFile, const std::string& dataFolder) {
    const fs::path folder = nativePath(dataFolder) / "set-aside";
    makePrivateFolder(utf8Path(folder));
    const fs::path kept = folder / journalFile.filename();
    replaceFile(utf8Path(journalFile), utf8Path(kept));
    return utf8Path(kept);
}

// Handles one journal under its roster's lock; the message for the user, or nothing
// when the journal is not this process's to handle.
std::optional<std::string> recoverOne(const fs::path& journalFile, const std::string& path,
                                      const Journal& journal, const std::string& dataFolder,
                                      std::chrono::milliseconds lockWait) {
    const std::string where = slotText(journal);
    const ProcessMark me = thisProcess();
    if (journal.owner.pid != me.pid && isRunning(journal.owner)) {
        return std::nullopt; // a save still running, not cut off: not even its lock is waited for
    }
    const RosterLock lock(path, lockWait);
    // Another process may have handled it while this one waited for the lock.
    std::error_code error;
    if (!fs::exists(journalFile, error)) {
        return std::nullopt;
    }
    if (journal.owner.pid != me.pid && isRunning(journal.owner)) {
        return std::nullopt; // its owner still runs; its save is not cut off
    }
    const FileHandle file(path, OpenMode::ReadWrite, "restoring an interrupted save");
    const std::vector<SlotState> states = slotStates(file, path, journal);
    const auto all = [&states](SlotState wanted) {
        return std::all_of(states.begin(), states.end(),
                           [wanted](SlotState state) { return state == wanted; });
    };
    const bool one = journal.slots.size() == 1;
    if (std::find(states.begin(), states.end(), SlotState::Foreign) != states.end()) {
        return "A save of " + where +
               " was cut off, and the file was written or replaced by another program since; " +
               (one ? "the slot was left as it is" : "the slots were left as they are") +
               " and the journal set aside as " + setAside(journalFile, dataFolder);
    }
    std::string message;
    if (all(SlotState::New)) {
        message = "A save of " + where +
                  " was cut off after its bytes were written; they are "
                  "complete.";
    } else if (all(SlotState::Old)) {
        message = "A save of " + where + " was cut off before its bytes were written; " +
                  (one ? "the slot is as it was." : "the slots are as they were.");
    } else {
        // Some slots old, some new or part-written: the whole batch goes back.
        for (const SlotChange& slot : journal.slots) {
            writeRuns(file, slot, Side::Old);
        }
        file.sync();
        message = "A save of " + where + " was cut off; " +
                  (one ? "the slot was restored to its earlier bytes."
                       : "the slots were restored to their earlier bytes.");
    }
    fs::remove(journalFile, error);
    return message;
}

// A cut-off save still waiting for recovery, naming the file as reached and the slots.
std::string pendingText(const std::string& roster, const Journal& journal) {
    return "A save of " + roster + " (slot" + (journal.slots.size() == 1 ? " " : "s ") +
           slotNumbers(journal) + ") was cut off and is not completed or undone yet";
}

// A batch cut off part-way that `roster` holds by its content, for the user: what it is
// and how to finish it.
std::string heldByContentText(const std::string& roster, const Journal& journal) {
    return pendingText(roster, journal) + " (found by its content: the journal is of " +
           journal.file.canonicalPath + "; say --cut-off complete or --cut-off undo)";
}

// Completes or undoes, as the user chose, the batch that the file at `path` holds by its
// content, under its lock. The journal stays while its own file is still there (the
// file at `path` is a copy), since that file holds the batch too.
std::optional<std::string> finishByContent(const fs::path& journalFile, const std::string& path,
                                           const Journal& journal, CutOffChoice choice,
                                           std::chrono::milliseconds lockWait) {
    if (isRunning(journal.owner)) {
        return std::nullopt;
    }
    const RosterLock lock(path, lockWait);
    std::error_code error;
    const FileHandle file(path, OpenMode::ReadWrite, "finishing an interrupted save");
    if (!fs::exists(journalFile, error) || file.size() != journal.file.size ||
        !cutOffInWriteOrder(file, journal)) {
        return std::nullopt; // finished by another process meanwhile
    }
    const bool complete = choice == CutOffChoice::Complete;
    for (const SlotChange& slot : journal.slots) {
        writeRuns(file, slot, complete ? Side::New : Side::Old);
    }
    file.sync();
    const bool ownFileThere =
        fileKeyAt(journal.file.canonicalPath) == FileKey{journal.file.device, journal.file.inode};
    if (!ownFileThere) {
        fs::remove(journalFile, error);
    }
    return "A save of " + slotText(journal) + " was cut off, and " + path +
           " held it (found by its content); " +
           (complete ? "it was completed as asked" : "it was undone as asked") +
           (ownFileThere ? "; the journal stays for " + journal.file.canonicalPath : "");
}

} // namespace

std::vector<std::string> recoverInterruptedSaves(const std::string& dataFolder,
                                                 const std::string& onlyFor,
                                                 std::chrono::milliseconds lockWait,
                                                 std::vector<std::string>* stillPending,
                                                 std::optional<CutOffChoice> heldByContent) {
    std::vector<std::string> messages;
    forEachJournal(
        nativePath(dataFolder) / "journal", onlyFor, Match::AlsoByContent,
        [&](const fs::path& path, const std::string& roster, const std::optional<Journal>& journal,
            bool byContent) {
            if (byContent) {
                // Not this file's own journal: nothing is written unless the user says how.
                if (heldByContent) {
                    if (auto message =
                            finishByContent(path, roster, *journal, *heldByContent, lockWait)) {
                        messages.push_back(std::move(*message));
                    }
                } else if (stillPending != nullptr && !isRunning(journal->owner)) {
                    stillPending->push_back(heldByContentText(roster, *journal));
                }
                return;
            }
            if (!journal) {
                if (writerIsGone(path)) {
                    removeFile(utf8Path(path));
                }
                return;
            }
            try {
                if (auto message = recoverOne(path, roster, *journal, dataFolder, lockWait)) {
                    messages.push_back(std::move(*message));
                }
            } catch (const std::exception& failure) {
                messages.push_back("A save of " + slotText(*journal) +
                                   " was cut off and could not be restored yet: " + failure.what());
                if (stillPending != nullptr) {
                    stillPending->push_back(pendingText(roster, *journal));
                }
            }
        });
    return messages;
}

std::vector<std::string> setAsideJournals(const std::string& dataFolder,
                                          const std::string& onlyFor) {
    std::vector<std::string> messages;
    forEachJournal(
        nativePath(dataFolder) / "set-aside", onlyFor, Match::ByIdentity,
        [&](const fs::path& path, const std::string&, const std::optional<Journal>& journal, bool) {
            if (journal) {
                messages.push_back("A journal of a cut-off save of " + slotText(*journal) +
                                   " was set aside because another program wrote the file since; "
                                   "its old and new bytes are kept in " +
                                   utf8Path(path));
            }
        });
    return messages;
}

std::vector<std::string> pendingSaves(const std::string& dataFolder, const std::string& path) {
    std::vector<std::string> pending;
    const ProcessMark me = thisProcess();
    forEachJournal(nativePath(dataFolder) / "journal", path, Match::AlsoByContent,
                   [&](const fs::path& file, const std::string& roster,
                       const std::optional<Journal>& journal, bool byContent) {
                       if (!journal) {
                           return;
                       }
                       // Where a test lets the journal's owner finish between the two looks below.
                       faults::crashPoint("before-owner-check");
                       // A save that ends removes its journal before its process ends: a journal
                       // still there once its owner is gone was cut off, but one gone meanwhile
                       // belonged to a save that finished after the journal was read.
                       std::error_code error;
                       if ((journal->owner.pid == me.pid || !isRunning(journal->owner)) &&
                           fs::exists(file, error)) {
                           pending.push_back(byContent ? heldByContentText(roster, *journal)
                                                       : pendingText(roster, *journal));
                       }
                   });
    return pending;
}

std::vector<std::string> recoverOnOpening(const std::string& path) {
    const std::string folder = userDataFolder();
    std::vector<std::string> texts = recoverInterruptedSaves(folder, path);
    std::ranges::move(setAsideJournals(folder, path), std::back_inserter(texts));
    return texts;
}

} // namespace qb
