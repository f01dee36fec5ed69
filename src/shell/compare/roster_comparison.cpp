#include "shell/compare/roster_comparison.h"

#include "player/player_compare.h"

namespace qb {

RosterComparison::RosterComparison(RosterDocument& left, RosterDocument& right)
    : left_(left), right_(right) {}

void RosterComparison::match(MatchBy by) {
    by_ = by;
    const PlayerMatching matching = matchPlayers(left_, right_, by);
    rows_.clear();
    for (const PlayerPair& pair : matching.pairs) {
        rows_.push_back({pair.left, pair.right, {}, {}});
    }
    for (const int slot : matching.leftOnly) {
        rows_.push_back({slot, -1, {}, {}});
    }
    for (const int slot : matching.rightOnly) {
        rows_.push_back({-1, slot, {}, {}});
    }
    leftRows_.clear();
    rightRows_.clear();
    refreshAll();
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        leftRows_.emplace(rows_[row].left, static_cast<int>(row));
        rightRows_.emplace(rows_[row].right, static_cast<int>(row));
    }
}

std::vector<int> RosterComparison::refresh(CompareSide side, int slot) {
    const auto& rowsOf = side == CompareSide::Left ? leftRows_ : rightRows_;
    std::vector<int> changed;
    const auto [first, last] = rowsOf.equal_range(slot);
    for (auto found = first; found != last; ++found) {
        compare(rows_[static_cast<std::size_t>(found->second)]);
        changed.push_back(found->second);
    }
    return changed;
}

void RosterComparison::refreshAll() {
    for (ComparedRow& row : rows_) {
        compare(row);
    }
}

void RosterComparison::compare(ComparedRow& row) {
    row.differing.clear();
    row.failure.clear();
    if (!row.matched()) {
        return;
    }
    // Two records of the same bytes with no edits pending show the same values.
    if (!left_.hasPending(row.left) && !right_.hasPending(row.right) &&
        left_.table().copyRecord(row.left) == right_.table().copyRecord(row.right)) {
        return;
    }
    try {
        row.differing = qb::differingFields(left_, row.left, right_, row.right);
    } catch (const QuillbayError& error) {
        row.failure = error.description();
    }
}

int RosterComparison::differingPlayers() const {
    int count = 0;
    for (const ComparedRow& row : rows_) {
        count += row.matched() && row.differs() ? 1 : 0;
    }
    return count;
}

int RosterComparison::differingFields() const {
    std::size_t count = 0;
    for (const ComparedRow& row : rows_) {
        count += row.differing.size();
    }
    return static_cast<int>(count);
}

int RosterComparison::unmatched(CompareSide side) const {
    int count = 0;
    for (const ComparedRow& row : rows_) {
        count += !row.matched() && row.slot(side) >= 0 ? 1 : 0;
    }
    return count;
}

} // namespace qb
