#pragma once

#include "player/player_match.h"
#include "player/roster_document.h"

#include <map>
#include <string>
#include <vector>

namespace qb {

enum class CompareSide { Left, Right };

// One line of the comparison: a player of the left roster, of the right roster, or the
// two matched, with the fields whose shown value differs between them.
struct ComparedRow {
    int left = -1;  // the slot in the left roster; -1 when the player is only on the right
    int right = -1; // the slot in the right roster; -1 when it is only on the left
    std::vector<const Field*> differing;
    // Why the two could not be compared (a player the editors cannot show); empty if they were.
    std::string failure;

    int slot(CompareSide side) const { return side == CompareSide::Left ? left : right; }
    bool matched() const { return left >= 0 && right >= 0; }
    bool differs() const { return !matched() || !differing.empty() || !failure.empty(); }
};

// Two open rosters matched player by player, by slot or by player ID, and what differs
// between each pair. Plain C++: the compare view shows it, and it is kept up to date as
// either document changes.
class RosterComparison {
public:
    RosterComparison(RosterDocument& left, RosterDocument& right);

    // Matches the players again and compares every pair.
    void match(MatchBy by);
    MatchBy matchedBy() const noexcept { return by_; }
    // Compares the pairs holding this slot of that side again (after an edit there).
    // Returns their rows.
    std::vector<int> refresh(CompareSide side, int slot);
    // Compares every pair again, matched as they were (after a save, or many edits at once).
    void refreshAll();

    const std::vector<ComparedRow>& rows() const noexcept { return rows_; }
    RosterDocument& document(CompareSide side) const {
        return side == CompareSide::Left ? left_ : right_;
    }

    // Matched pairs that differ, the fields differing in them, and unmatched players.
    int differingPlayers() const;
    int differingFields() const;
    int unmatched(CompareSide side) const;

private:
    void compare(ComparedRow& row);

    RosterDocument& left_;
    RosterDocument& right_;
    MatchBy by_ = MatchBy::Slot;
    std::vector<ComparedRow> rows_;
    std::multimap<int, int> leftRows_; // slot -> row
    std::multimap<int, int> rightRows_;
};

} // namespace qb
