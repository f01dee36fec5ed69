#pragma once

#include <string>
#include <vector>

namespace qb {

class RosterGridModel;

// The players of the slots `players` (empty slots left out) as the CSV that `quillbay-cli apply`
// reads: a header of keys, then a row per player, the slot and ID first and then the
// fields of `columns` (grid columns, in their order), each as the grid shows it with
// its pending edits.
std::string gridCsv(const RosterGridModel& model, const std::vector<int>& players,
                    const std::vector<int>& columns);

// The same players and columns as a workbook made to be edited (player/workbook_writer.h),
// written to `path`. It has no slot hashes: the grid shows pending edits, which no slot's
// bytes hold yet.
void writeGridWorkbook(const RosterGridModel& model, const std::vector<int>& players,
                       const std::vector<int>& columns, const std::string& path);

} // namespace qb
