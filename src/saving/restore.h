#pragma once

#include "saving/safe_write.h"

#include <string>
#include <vector>

namespace qb {

// A file that cannot be restored from: another kind or size than the file restored.
class RestoreError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

// The slot writes that put the records of `source` (a backup, or any file of the same
// kind and size) into `file`: for each of `slots`, or with none given for every slot
// whose bytes differ. Only slot records are ever written, so a saved game's header
// stays as it is. Refuses a source of another kind or size with RestoreError.
std::vector<SlotWrite> restoreWrites(const RosterFile& file, const RosterFile& source,
                                     const std::vector<int>& slots = {});

} // namespace qb
