#pragma once

#include "saving/file_identity.h"
#include "system/file_handle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// What a save is about to change in one slot: each changed offset of the record, in
// ascending order, with its old and new byte.
struct SlotChange {
    std::int64_t slotOffset = 0;
    std::vector<std::uint16_t> offsets; // ascending
    std::vector<std::uint8_t> oldBytes;
    std::vector<std::uint8_t> newBytes;
};

// What a save of one or more slots of a file is about to change, flushed to
// <data>/journal before the file is touched: the file's identity, the saving process
// and every slot's changes, under a checksum. One journal covers a whole batch, so the
// batch is completed or undone as one.
struct Journal {
    FileIdentity file;
    ProcessMark owner;
    std::vector<SlotChange> slots; // each slot once
};

std::vector<std::uint8_t> encodeJournal(const Journal& journal);
// nullopt for a journal cut off while it was written (its checksum fails): the roster
// was not touched yet. The single-slot journals of earlier versions ("QBJ2") decode as
// a batch of one, so a save they left cut off is still finished.
std::optional<Journal> decodeJournal(const std::vector<std::uint8_t>& bytes);

// <data>/journal/<path key>-<first slot's offset>-<pid>.journal
std::string journalPath(const std::string& dataFolder, const Journal& journal);
// Writes and flushes the journal (and its folder); on failure no journal is left.
void writeJournal(const std::string& path, const Journal& journal, bool durable);
std::optional<Journal> readJournal(const std::string& path);

// Writes the slot's new bytes (or its old ones, to put them back) at its offsets, each
// run of consecutive offsets in one write, in order. `done`, when given, counts the
// offsets written so far.
enum class Side { Old, New };
void writeRuns(const FileHandle& file, const SlotChange& slot, Side side,
               std::size_t* done = nullptr);

// How the slot's bytes at its change's offsets relate to it: exactly the new bytes,
// exactly the old ones, a mix where each run is wholly old or wholly new (what a cut
// off write or rollback leaves), or anything else (someone else wrote since).
enum class SlotState { New, Old, MixedRuns, Foreign };
SlotState classify(const SlotChange& slot, const std::vector<std::uint8_t>& now);

} // namespace qb
