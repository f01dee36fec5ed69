#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// Finishes what interrupted saves left, for the journals in <data>/journal of the file
// at `onlyFor` (every journal when empty), each under its roster's lock and only when
// the process that wrote it is gone. A journal covers a batch of slots, handled as one:
//  - every slot holds its new bytes: the save completed; the journal is deleted;
//  - every slot its old bytes: nothing was written; the journal is deleted;
//  - any other mix where each run is wholly old or new: every slot's old bytes are put
//    back, so the batch is undone as a whole;
//  - anything else in any slot, or the file was replaced or changed size since: someone
//    else wrote it; the file is left alone and the journal set aside in <data>/set-aside.
// Returns one message per journal handled, for the user. Reads never call this. A journal
// that could not be handled yet is also named in `stillPending` as pendingSaves names it,
// so a writer learns it from the same pass over the folder.
//
// A file that is not a journal's own but holds its batch cut off part-way by its content
// (the journal's size; every run of every slot wholly old or new, some old and some new)
// is that batch too, in a file moved off its file system or copied before the next writer
// came. It is never written unasked: it is named in `stillPending` until `heldByContent`
// says whether to complete or undo it; the journal stays while its own file is there.
enum class CutOffChoice { Complete, Undo };
std::vector<std::string>
recoverInterruptedSaves(const std::string& dataFolder, const std::string& onlyFor = {},
                        std::chrono::milliseconds lockWait = std::chrono::milliseconds(5000),
                        std::vector<std::string>* stillPending = nullptr,
                        std::optional<CutOffChoice> heldByContent = std::nullopt);

// One text per save of the file at `path` that was cut off and waits for recovery (its
// process is gone, or it is this process's own), naming the file and the slots; also
// per batch the file holds by its content, saying how to finish it. A file
// with one is never written before it is recovered, and reading it shows a mix.
std::vector<std::string> pendingSaves(const std::string& dataFolder, const std::string& path);

// One message per journal set aside for the file at `onlyFor` (every one when empty),
// naming the slot, the file and where the journal is kept.
std::vector<std::string> setAsideJournals(const std::string& dataFolder,
                                          const std::string& onlyFor = {});

// What the window says when it opens the file at `path`: the texts of its cut-off saves,
// recovered now, then those of its journals set aside earlier (said at every opening
// until the user deals with them). The journals are in the user's data folder.
std::vector<std::string> recoverOnOpening(const std::string& path);

} // namespace qb
