#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace qb {

// Finishes what interrupted saves left, for the journals in <data>/journal of the file
// at `onlyFor` (every journal when empty), each under its roster's lock and only when
// the process that wrote it is gone:
//  - the slot holds the journal's new bytes: the save completed; the journal is deleted;
//  - its old bytes, or each run wholly old or new: the old bytes are put back;
//  - anything else, or the file was replaced or changed size since: someone else wrote
//    it; the slot is left alone and the journal is set aside in <data>/set-aside.
// Returns one message per journal handled, for the user. Reads never call this.
std::vector<std::string>
recoverInterruptedSaves(const std::string& dataFolder, const std::string& onlyFor = {},
                        std::chrono::milliseconds lockWait = std::chrono::milliseconds(5000));

// One message per journal set aside for the file at `onlyFor` (every one when empty),
// naming the slot, the file and where the journal is kept.
std::vector<std::string> setAsideJournals(const std::string& dataFolder,
                                          const std::string& onlyFor = {});

} // namespace qb
