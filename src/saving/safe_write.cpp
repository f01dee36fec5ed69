#include "saving/safe_write.h"

#include "saving/backups.h"
#include "saving/journal.h"
#include "system/faults.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace qb {
namespace {

// The slots of a batch that change, in slot order, each with its change.
struct Planned {
    int slot;
    std::size_t index; // in the writes given
    const SlotWrite* write;
    std::vector<int> offsets;
};

// The records from the first planned slot to the last, read in one go.
class SlotSpan {
public:
    SlotSpan(const FileHandle& file, const RosterFile& roster, const std::vector<Planned>& plan)
        : start_(roster.slotOffset(plan.front().slot)),
          bytes_(
              static_cast<std::size_t>(roster.slotOffset(plan.back().slot) + SLOT_SIZE - start_)),
          roster_(roster) {
        file.readAt(bytes_.data(), bytes_.size(), start_);
    }
    const std::uint8_t* record(int slot) const {
        return bytes_.data() + (roster_.slotOffset(slot) - start_);
    }

private:
    std::int64_t start_;
    std::vector<std::uint8_t> bytes_;
    const RosterFile& roster_;
};

std::vector<Planned> planOf(const RosterFile& roster, const std::vector<SlotWrite>& writes) {
    std::vector<Planned> plan;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const SlotWrite& write = writes[i];
        std::vector<int> offsets = changedOffsets(write.expected, write.record);
        if (!offsets.empty()) {
            requireSlot(roster.path(), write.slot);
            plan.push_back({write.slot, i, &write, std::move(offsets)});
        }
    }
    std::sort(plan.begin(), plan.end(),
              [](const Planned& a, const Planned& b) { return a.slot < b.slot; });
    for (std::size_t i = 1; i < plan.size(); ++i) {
        if (plan[i].slot == plan[i - 1].slot) {
            throw QuillbayError("Slot " + std::to_string(plan[i].slot) + " of " + roster.path() +
                                    " was given twice in one save; nothing was written",
                                roster.path());
        }
    }
    return plan;
}

// Whether the first `slots` slots of the journal read as their old bytes.
bool readsAsBefore(const FileHandle& file, const Journal& journal, std::size_t slots) {
    try {
        for (std::size_t i = 0; i < slots; ++i) {
            const SlotChange& slot = journal.slots[i];
            Record record{};
            file.readAt(record.data(), record.size(), slot.slotOffset);
            std::vector<std::uint8_t> now;
            for (const std::uint16_t offset : slot.offsets) {
                now.push_back(record[offset]);
            }
            if (classify(slot, now) != SlotState::Old) {
                return false;
            }
        }
        return true;
    } catch (const QuillbayError&) {
        return false;
    }
}

// Writes every slot's new bytes and flushes the file; on a failure puts back what was
// written and throws, saying whether that worked.
void writeBatch(const FileHandle& file, const RosterFile& roster, const std::vector<Planned>& plan,
                const Journal& journal, const std::string& journalFile, bool durable) {
    const bool one = plan.size() == 1;
    std::size_t slotsStarted = 0;
    std::size_t done = 0; // offsets written of the slot being written
    std::optional<int> failedSlot;
    try {
        requireSlotTable(roster.path(), roster.kind(), file.size());
        for (std::size_t i = 0; i < plan.size(); ++i) {
            failedSlot = plan[i].slot;
            done = 0;
            slotsStarted = i + 1;
            writeRuns(file, journal.slots[i], Side::New, &done);
            faults::crashPoint(("after-slot-" + std::to_string(i + 1)).c_str());
        }
        failedSlot.reset();
        if (durable) {
            file.sync();
        }
    } catch (const QuillbayError& error) {
        const auto fail = [&](const std::string& outcome) {
            const std::string description = error.description() + "; " + outcome;
            if (failedSlot) {
                throw SlotWriteFailed(description, roster.path(), *failedSlot);
            }
            throw FileError(description, roster.path());
        };
        if (slotsStarted == 0 || (slotsStarted == 1 && done == 0)) {
            removeFile(journalFile);
            fail(one ? "nothing of the slot was changed" : "nothing of the slots was changed");
        }
        try {
            for (std::size_t i = 0; i < slotsStarted; ++i) {
                writeRuns(file, journal.slots[i], Side::Old);
            }
            file.sync();
        } catch (const QuillbayError& rollback) {
            // A full disk fails the flush of the bytes put back as it failed the first
            // (a sparse file, or blocks allocated when flushed); the file may still read
            // as it did, and then there is nothing left to restore.
            if (readsAsBefore(file, journal, slotsStarted)) {
                removeFile(journalFile);
                fail(
                    "putting back the bytes already written could not be flushed (" +
                    rollback.description() + "), but the file reads as it did before: " +
                    (one ? "nothing of the slot was changed" : "nothing of the slots was changed"));
            }
            fail("putting back the bytes already written failed too (" + rollback.description() +
                 "); " + (one ? "the slot" : "the slots") +
                 " will be restored the next time the file is opened");
        }
        removeFile(journalFile);
        fail("the bytes already written were put back");
    }
}

} // namespace

SaveReport writeSlots(const RosterFile& roster, const std::vector<SlotWrite>& writes,
                      const SafetyOptions& options) {
    SaveReport report;
    report.written.resize(writes.size());
    const std::vector<Planned> plan = planOf(roster, writes);
    if (plan.empty()) {
        return report;
    }
    const std::string dataFolder = options.dataFolderOrDefault();
    const RosterLock lock(roster.path(), options.lockWait);
    // A batch of this file cut off earlier is completed or undone first; a file whose
    // batch cannot be yet is not written, or that batch would stay half-applied for good.
    std::vector<std::string> pending;
    for (std::string& text : recoverInterruptedSaves(dataFolder, roster.path(), options.lockWait,
                                                     &pending, options.cutOffBatch)) {
        report.notices.push_back(std::move(text));
    }
    if (!pending.empty()) {
        throw FileError(pending.front() + "; nothing was written", roster.path());
    }
    // One handle, opened for reading and writing, serves the check, the writes and the
    // read-back; a file the user cannot write is reported as such.
    const FileHandle file(roster.path(), OpenMode::ReadWrite, "writing");
    requireOwnSize(roster, file.size());
    const SlotSpan current(file, roster, plan);
    for (const Planned& planned : plan) {
        const std::uint8_t* now = current.record(planned.slot);
        if (!options.force && !std::equal(now, now + SLOT_SIZE, planned.write->expected.begin())) {
            throw SlotConflict("Slot " + std::to_string(planned.slot) + " of " + roster.path() +
                                   " was changed by another program since it was loaded",
                               roster.path());
        }
    }
    const FileIdentity identity = identifyFile(roster.path());
    if (options.backups) {
        try {
            backUpBeforeWrite(file, identity, dataFolder, options.keepBackup);
        } catch (const std::exception& error) {
            report.notices.push_back(std::string("No backup of ") + roster.path() +
                                     " could be made: " + error.what());
        }
    }

    Journal journal{identity, thisProcess(), {}};
    for (const Planned& planned : plan) {
        const std::uint8_t* now = current.record(planned.slot);
        SlotChange change{roster.slotOffset(planned.slot), {}, {}, {}};
        for (const int offset : planned.offsets) {
            change.offsets.push_back(static_cast<std::uint16_t>(offset));
            change.oldBytes.push_back(now[offset]);
            change.newBytes.push_back(planned.write->record[static_cast<std::size_t>(offset)]);
        }
        journal.slots.push_back(std::move(change));
    }
    makePrivateFolder(dataFolder);
    makePrivateFolder(utf8Path(nativePath(dataFolder) / "journal"));
    const std::string journalFile = journalPath(dataFolder, journal);
    writeJournal(journalFile, journal, options.durable);
    faults::crashPoint("after-journal");

    writeBatch(file, roster, plan, journal, journalFile, options.durable);
    const SlotSpan after(file, roster, plan);
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const SlotChange& change = journal.slots[i];
        const std::uint8_t* now = after.record(plan[i].slot);
        for (std::size_t k = 0; k < change.offsets.size(); ++k) {
            if (now[change.offsets[k]] != change.newBytes[k]) {
                throw SlotWriteFailed("Reading " + roster.path() +
                                          " back after saving found other bytes than were written",
                                      roster.path(), plan[i].slot);
            }
        }
    }
    noteOwnWrite(file, identity);
    faults::crashPoint("before-journal-delete");
    removeFile(journalFile);
    for (const Planned& planned : plan) {
        report.written[planned.index] = planned.offsets;
    }
    return report;
}

SaveReport writeSlotSafely(const RosterFile& roster, int slot, const Record& loaded,
                           const Record& working, const SafetyOptions& options) {
    return writeSlots(roster, {{slot, working, loaded}}, options);
}

} // namespace qb
