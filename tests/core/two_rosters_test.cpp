// Two open rosters: players paired by slot or ID, the fields that differ, copies by
// field group and patches, each made as pending edits of the target document.
#include "player/edits_file.h"
#include "player/player_compare.h"
#include "player/player_copy.h"
#include "support/record_generator.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using test::TempDir;

// A patch by ID reaches the players whose ID one named slot holds: an ID no slot holds is
// listed as unmatched, one that two slots hold is refused. (Copies and patches that reach
// their players are checked through the compare view and quillbay-cli.)
TEST(TwoRosters, APatchByIdListsUnmatchedIdsAndRefusesOnesHeldTwice) {
    const TempDir dir;
    RosterDocument a(test::generatedPlayers(9, 4).write(dir, "a.pak"));
    RosterDocument b(test::generatedPlayers(10, 4).write(dir, "b.pak"));
    const RosterEdits patch =
        parseJsonEdits(writePatch(a, b, matchPlayers(a, b, MatchBy::Id).pairs, MatchBy::Id),
                       "p.json", MatchBy::Id);
    const RosterFile aFile(a.path());
    Record stranger = aFile.readSlot(3);
    stranger[OFFSET_ID] = 200;
    test::RosterMaker maker;
    for (int slot = 0; slot < 3; ++slot) {
        maker.record(slot, aFile.readSlot(slot));
    }
    RosterDocument mine(maker.record(3, stranger).write(dir, "mine.pak"));
    std::vector<int> unmatched;
    EXPECT_FALSE(patchEdits(mine, patch, MatchBy::Id, unmatched).empty());
    EXPECT_EQ(unmatched, std::vector<int>{103});
    RosterDocument twice(maker.record(5, aFile.readSlot(1)).write(dir, "twice.pak"));
    EXPECT_EQ(matchPlayers(twice, b, MatchBy::Id).leftOnly, (std::vector<int>{1, 3, 5}));
    EXPECT_THROW(patchEdits(twice, patch, MatchBy::Id, unmatched), EditError);
}

} // namespace
} // namespace qb
