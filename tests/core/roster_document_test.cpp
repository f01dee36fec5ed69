// The roster document: edits applied and reverted on the players of one open file,
// saved as the same bytes the player editor writes.
#include "codecs/demo_roster.h"
#include "codecs/identity.h"
#include "player/demo_files.h"
#include "player/player_save.h"
#include "player/roster_document.h"
#include "player/shown_player.h"
#include "roster/layout.h"
#include "saving/safe_write.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>
#include <map>

namespace qb {
namespace {

class RosterDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeDemoFiles(dir.file("demo"));
        path = dir.file("demo/demo.pak");
        safety.backups = false;
        safety.dataFolder = dir.file("data");
    }
    const Field& field(const std::string& key) { return *findField(key); }

    test::TempDir dir;
    std::string path;
    SafetyOptions safety;
};

// Every kind of field, statistics of two formats among them, written as these bytes of
// demo slot 5 and no others: the commentary number (2-3), the name (4-13, its zero
// end), Test wickets (26), Flipper (99), the bowling mentality (108 bits 4-5), the One Day
// highest score (127, under the One Day rule), Pull (193 bit 4), Injury Free (198), the
// bat (210) and the nation's bit (216-217).
TEST_F(RosterDocumentTest, SavesEveryKindOfFieldAsItsBytes) {
    const std::vector<std::pair<std::string, std::string>> edits = {
        {"name", "Quill Bay"},
        {"nation", "NZL"},
        {"commentary", "77"},
        {"appearance.bat", "33"},
        {"roles.bowlingMentality", "Aggresive"},
        {"ratings.bowling.Flipper", "63"},
        {"skills.Injury Free", "2"},
        {"favouriteShots.backFoot.Pull", "false"},
        {"statistics.One Day.highestScore", "201"},
        {"statistics.Test.wickets", "12"},
    };
    const std::map<int, std::uint8_t> written = {
        {2, 0x4D},   {3, 0x00},   {4, 0x51},   {5, 0x75},   {6, 0x69},   {7, 0x6C},   {8, 0x6C},
        {9, 0x20},   {10, 0x42},  {11, 0x61},  {12, 0x79},  {13, 0x00},  {26, 0x0C},  {99, 0x3F},
        {108, 0x13}, {127, 0x19}, {193, 0x00}, {198, 0x02}, {210, 0x21}, {216, 0x00}, {217, 0x01}};
    const int slot = 5;
    std::vector<std::uint8_t> expected = test::readFileBytes(path);
    for (const auto& [offset, byte] : written) {
        expected.at(static_cast<std::size_t>(slot * SLOT_SIZE + offset)) = byte;
    }

    RosterDocument document(path);
    std::vector<Edit> made; // all made first: applying one must find its own format
    for (const auto& [key, value] : edits) {
        made.push_back(document.makeEdit(slot, field(key), value));
    }
    for (const Edit& edit : made) {
        document.apply(edit);
    }
    EXPECT_EQ(document.changedKeys(slot).size(), edits.size());
    EXPECT_EQ(document.saveAll(safety).at(slot).size(), written.size());
    EXPECT_EQ(test::readFileBytes(path), expected);
    EXPECT_TRUE(document.pendingSlots().empty());
    EXPECT_EQ(document.index().slotEntries.at(slot).name(), "Quill Bay");
}

// A field set back by hand to the file's value is no longer pending, and a listener hears
// of changes until its subscription ends. (Edits undone in the window leave nothing to
// save: checked through its Undo.)
TEST_F(RosterDocumentTest, AFieldSetBackToTheFilesValueIsNotPending) {
    RosterDocument document(path);
    std::vector<DocumentChange> changes;
    ChangeSubscription listening =
        document.onChange([&changes](const DocumentChange& change) { changes.push_back(change); });
    const Edit rating = document.makeEdit(3, field("ratings.batting.Attack"), "1");
    document.apply(rating);
    EXPECT_TRUE(document.hasPending(3));
    document.apply(document.makeCellEdit(3, field("ratings.batting.Attack"), rating.before));
    EXPECT_FALSE(document.hasPending(3));
    // A listener that stopped listening hears nothing more.
    listening = {};
    document.apply(rating);
    EXPECT_EQ(changes.size(), 2U);
}

// A group of edits is reverted last first, so a field edited twice in it shows the
// file's value again; discarding a slot drops its pending edits.
TEST_F(RosterDocumentTest, RevertsAGroupLastFirstAndDiscardsPendingEdits) {
    RosterDocument document(path);
    const FieldValue inFile = field("nation").get(document.player(3).sheet());
    ASSERT_NE(inFile, FieldValue{"IND"});
    const Edit first = document.makeEdit(3, field("nation"), "IND");
    document.apply(first);
    const std::vector<Edit> group = {first, document.makeEdit(3, field("nation"), "PAK")};
    document.apply(group[1]);
    document.revert(group);
    EXPECT_EQ(field("nation").get(document.player(3).sheet()), inFile);
    EXPECT_FALSE(document.hasPending(3));
    document.apply(group);
    document.discard(3);
    EXPECT_FALSE(document.hasPending(3));
    EXPECT_EQ(field("nation").get(document.player(3).sheet()), inFile);
}

// A slot another program changed after its player was shown is refused, and with it
// the whole batch; the table is read again by reload, and pending edits survive it.
TEST_F(RosterDocumentTest, RefusesToSaveOverAnotherProgramsChange) {
    RosterDocument document(path);
    document.apply(document.makeEdit(1, field("nation"), "IND"));
    document.apply(document.makeEdit(2, field("nation"), "IND"));
    std::vector<std::uint8_t> changed = test::readFileBytes(path);
    const RosterFile file(path);
    const auto byte120 = static_cast<std::size_t>(file.slotOffset(2)) + 120;
    changed[byte120] ^= 1;
    test::writeFileBytes(path, changed);
    document.reload();
    EXPECT_TRUE(document.hasPending(2));
    EXPECT_THROW(document.saveAll(safety), SlotConflict);
    EXPECT_EQ(test::readFileBytes(path), changed);
    EXPECT_EQ(document.pendingSlots(), (std::vector<int>{1, 2}));
    // Overwriting it writes the fields edited and keeps the other program's other bytes.
    document.saveSlots({1, 2}, safety, {2});
    EXPECT_EQ(test::readFileBytes(path)[byte120], changed[byte120]);
    EXPECT_EQ(RosterDocument(path).player(2).sheet().nation, document.player(1).sheet().nation);
}

// Choosing a player reads its record from the file again: a slot without pending edits
// that another program changed is shown as the file holds it now and saves without a
// conflict; one with pending edits keeps them and says so.
TEST_F(RosterDocumentTest, ReadsAChosenSlotAgainFromTheFile) {
    RosterDocument document(path);
    document.player(3);
    document.apply(document.makeEdit(4, field("name"), "Mine"));
    RosterDocument other(path);
    other.apply(other.makeEdit(3, field("name"), "Outside"));
    other.apply(other.makeEdit(4, field("name"), "Outside Too"));
    other.saveAll(safety);
    EXPECT_EQ(document.readSlotAgain(2), RosterDocument::SlotInFile::AsLoaded);
    EXPECT_EQ(document.readSlotAgain(3), RosterDocument::SlotInFile::ReadAgain);
    EXPECT_EQ(document.player(3).sheet().name, "Outside");
    EXPECT_EQ(document.index().slotEntries[3].name(), "Outside");
    EXPECT_EQ(document.readSlotAgain(4), RosterDocument::SlotInFile::ChangedUnderEdits);
    EXPECT_TRUE(document.hasPending(4));
    document.apply(document.makeEdit(3, field("nation"), "IND"));
    EXPECT_NO_THROW(document.save(3, safety));
    EXPECT_EQ(RosterDocument(path).player(3).sheet().name, "Outside");
}

} // namespace
} // namespace qb
