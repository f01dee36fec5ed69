#pragma once

#include "roster/file_handle.h"
#include "roster/file_identity.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// What a save is about to change, flushed to <data>/journal before the roster is
// touched: the file's identity, the saving process, the slot and each changed offset
// with its old and new byte, under a checksum.
struct Journal {
    FileIdentity file;
    ProcessMark owner;
    std::int64_t slotOffset = 0;
    std::vector<std::uint16_t> offsets; // ascending
    std::vector<std::uint8_t> oldBytes;
    std::vector<std::uint8_t> newBytes;
};

std::vector<std::uint8_t> encodeJournal(const Journal& journal);
// nullopt for a journal cut off while it was written (its checksum fails): the roster
// was not touched yet.
std::optional<Journal> decodeJournal(const std::vector<std::uint8_t>& bytes);

// <data>/journal/<path key>-<slot offset>-<pid>.journal
std::string journalPath(const std::string& dataFolder, const Journal& journal);
// Writes and flushes the journal (and its folder); on failure no journal is left.
void writeJournal(const std::string& path, const Journal& journal, bool durable);
std::optional<Journal> readJournal(const std::string& path);

// Writes `bytes` at the offsets of the slot, each run of consecutive offsets in one
// write, in order. `runsDone`, when given, counts the offsets written so far.
void writeRuns(const FileHandle& file, std::int64_t slotOffset,
               const std::vector<std::uint16_t>& offsets, const std::vector<std::uint8_t>& bytes,
               std::size_t* runsDone);

// How the slot's bytes at the journal's offsets relate to it: exactly the new bytes,
// exactly the old ones, a mix where each run is wholly old or wholly new (what a cut
// off write or rollback leaves), or anything else (someone else wrote since).
enum class SlotState { New, Old, MixedRuns, Foreign };
SlotState classify(const Journal& journal, const std::vector<std::uint8_t>& now);

} // namespace qb
