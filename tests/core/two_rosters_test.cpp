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

void applyAll(RosterDocument& document, const std::vector<Edit>& edits) {
    for (const Edit& edit : edits) {
        document.apply(edit);
    }
}

TEST(TwoRosters, CopyEditsMakeTheTargetShowTheSourceInTheSelectedFieldsOnly) {
    const TempDir dir;
    SafetyOptions safety;
    safety.backups = false;
    std::vector<std::string> names = fieldSelectionNames();
    names.emplace_back(); // every field
    for (const std::string kind : {"pak", "sav"}) {
        const std::string fromPath = test::generatedPlayers(7, 3).write(dir, "from." + kind);
        const std::string toPath = test::generatedPlayers(8, 3).write(dir, "to." + kind);
        const auto original = test::readFileBytes(toPath);
        for (const std::string& name : names) {
            SCOPED_TRACE(kind + " " + name);
            test::writeFileBytes(toPath, original);
            RosterDocument from(fromPath);
            RosterDocument to(toPath);
            RosterDocument untouched(toPath);
            const FieldSelection selection = parseFieldSelection(name);
            const std::vector<Edit> edits = copyEdits(from, 1, to, 2, selection);
            EXPECT_FALSE(edits.empty());
            applyAll(to, edits);
            EXPECT_TRUE(differingFields(from, 1, to, 2, selection).empty());
            EXPECT_TRUE(copyEdits(from, 1, to, 2, selection).empty());
            for (const Field* field : differingFields(untouched, 2, to, 2)) {
                EXPECT_TRUE(selection.contains(*field)) << field->key;
                // The statistics of one format change no other format's figures.
                EXPECT_TRUE(!name.starts_with("statistics") || field->key.starts_with(name + "."))
                    << field->key;
            }
            to.saveSlots({2}, safety);
            RosterDocument saved(toPath);
            EXPECT_TRUE(differingFields(from, 1, saved, 2, selection).empty());
        }
        RosterDocument from(fromPath);
        RosterDocument to(toPath);
        EXPECT_THROW(copyEdits(from, 1, to, 5, {}), CopyError);
        EXPECT_THROW(copyEdits(from, 5, to, 1, {}), CopyError);
    }
    EXPECT_THROW(parseFieldSelection("ratings, batting"), FieldSelectionError);
    EXPECT_THROW(parseFieldSelection("ratings,"), FieldSelectionError);
}

// Players of other fields in the same slots, with the same IDs (100 + slot).
TEST(TwoRosters, APatchByIdReachesEachPlayerWhereverItSits) {
    const TempDir dir;
    RosterDocument a(test::generatedPlayers(9, 4).write(dir, "a.pak"));
    RosterDocument b(test::generatedPlayers(10, 4).write(dir, "b.pak"));
    const RosterFile aFile(a.path());
    // A's players in reverse order, a stranger in place of ID 103, and ID 101 twice.
    Record stranger = aFile.readSlot(3);
    stranger[OFFSET_ID] = 200;
    test::RosterMaker reversed;
    for (int slot = 0; slot < 4; ++slot) {
        reversed.record(3 - slot, slot == 3 ? stranger : aFile.readSlot(slot));
    }
    RosterDocument mine(reversed.write(dir, "mine.pak"));
    RosterDocument twice(reversed.record(5, aFile.readSlot(1)).write(dir, "twice.pak"));

    const PlayerMatching byId = matchPlayers(a, b, MatchBy::Id);
    const std::string patch = writePatch(a, b, byId.pairs, MatchBy::Id);
    std::vector<int> unmatched;
    applyAll(mine,
             patchEdits(mine, readPatch(patch, "p.json", MatchBy::Id), MatchBy::Id, unmatched));
    EXPECT_EQ(unmatched, std::vector<int>{103});
    const PlayerMatching reached = matchPlayers(mine, b, MatchBy::Id);
    ASSERT_EQ(reached.pairs.size(), 3u);
    for (const PlayerPair& pair : reached.pairs) {
        EXPECT_EQ(pair.left, 3 - pair.right);
        EXPECT_TRUE(differingFields(mine, pair.left, b, pair.right).empty()) << pair.left;
    }
    EXPECT_EQ(reached.leftOnly, std::vector<int>{0});
    EXPECT_EQ(reached.rightOnly, std::vector<int>{3});
    // An ID two named slots hold names no one player: neither is paired or patched.
    const PlayerMatching ambiguous = matchPlayers(twice, b, MatchBy::Id);
    EXPECT_EQ(ambiguous.leftOnly, (std::vector<int>{0, 2, 5}));
    EXPECT_THROW(patchEdits(twice, readPatch(patch, "p.json", MatchBy::Id), MatchBy::Id, unmatched),
                 EditError);
}

} // namespace
} // namespace qb
