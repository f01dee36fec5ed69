// Two open rosters: players paired by slot or ID, the fields that differ, copies by
// field group and patches, each made as pending edits of the target document.
#include "player/patch.h"
#include "player/player_compare.h"
#include "player/player_copy.h"
#include "support/record_generator.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using test::TempDir;

// An ID two named slots hold names no one player: neither is paired or patched. (Copies
// and patches that reach their players are checked through quillbay-cli's copy and apply.)
TEST(TwoRosters, AnIdHeldTwiceIsNeitherPairedNorPatched) {
    const TempDir dir;
    RosterDocument a(test::generatedPlayers(9, 4).write(dir, "a.pak"));
    RosterDocument b(test::generatedPlayers(10, 4).write(dir, "b.pak"));
    const RosterFile aFile(a.path());
    test::RosterMaker twice;
    for (int slot = 0; slot < 4; ++slot) {
        twice.record(slot, aFile.readSlot(slot));
    }
    RosterDocument mine(twice.record(5, aFile.readSlot(1)).write(dir, "twice.pak"));
    const std::string patch = writePatch(a, b, matchPlayers(a, b, MatchBy::Id).pairs, MatchBy::Id);
    EXPECT_EQ(matchPlayers(mine, b, MatchBy::Id).leftOnly, (std::vector<int>{1, 5}));
    std::vector<int> unmatched;
    EXPECT_THROW(patchEdits(mine, readPatch(patch, "p.json", MatchBy::Id), MatchBy::Id, unmatched),
                 EditError);
    EXPECT_THROW(parseFieldSelection("ratings,"), FieldSelectionError);
}

} // namespace
} // namespace qb
