#include "codecs/player_editor.h"

#include "codecs/codec_errors.h"
#include "codecs/field_keys.h"
#include "codecs/flags.h"
#include "codecs/identity.h"
#include "codecs/ratings.h"
#include "codecs/roles.h"
#include "codecs/statistics.h"
#include "system/errors.h"

#include <algorithm>

namespace qb {

const std::array<ShowStep, 10> kShowSequence = {{
    {keys::kNation, [](const Record& r, const Record&, PlayerSheet& s, int) { showNation(r, s); }},
    {"statistics",
     [](const Record&, const Record& working, PlayerSheet& s, int) {
         s.statisticsFormat = 0;
         s.economyRate.clear();
         s.strikeRate.clear();
         showStatistics(s, working);
     }},
    {"battingRole", [](const Record& r, const Record&, PlayerSheet& s,
                       int) { showBattingRole(r[106], r[107], s); }},
    {"bowlingRole",
     [](const Record& r, const Record&, PlayerSheet& s, int) { showBowlingRole(r[108], s); }},
    {"fieldingRole", [](const Record& r, const Record&, PlayerSheet& s,
                        int) { showFieldingRole(r[109], r[110], s); }},
    {"appearance",
     [](const Record& r, const Record&, PlayerSheet& s, int) { showAppearance(r, s); }},
    {"skills", [](const Record& r, const Record&, PlayerSheet& s, int) { showSkills(r, s); }},
    {"shotFlags", [](const Record& r, const Record&, PlayerSheet& s, int) { showShotFlags(r, s); }},
    {"ratings", [](const Record& r, const Record&, PlayerSheet& s, int) { showRatings(r, s); }},
    {keys::kCommentary, [](const Record& r, const Record&, PlayerSheet& s,
                           int count) { showCommentary(r, s, count); }},
}};

void showRecord(const Record& record, PlayerSheet& sheet, int commentaryCount) {
    sheet.name = recordName(record.data());
    for (const ShowStep& step : kShowSequence) {
        step.run(record, record, sheet, commentaryCount);
    }
}

void storeSheet(PlayerSheet& sheet, Record& working, int commentaryCount) {
    sheet.name = trimName(sheet.name);
    storeName(sheet, working);
    storeNation(sheet, working);
    storeBattingRole(sheet, working);
    storeBowlingRole(sheet, working);
    storeFieldingRole(sheet, working);
    storeStatistics(sheet, working, sheet.statisticsFormat);
    storeRatings(sheet, working);
    storeShotFlags(sheet, working);
    storeSkills(sheet, working);
    storeCommentary(sheet, working, commentaryCount);
    storeAppearance(sheet, working);
}

FieldRepairs repairRecord(Record& record, int commentaryCount) {
    FieldRepairs repairs;
    repairIdentity(record, commentaryCount, repairs);
    repairFieldingRole(record, repairs);
    repairSkills(record, repairs);
    repairRatings(record, repairs);
    repairStatistics(record, repairs);
    return repairs;
}

QuillbayError noPlayerToSave(std::optional<int> partlyShown) {
    if (partlyShown) {
        return QuillbayError("The player in slot " + std::to_string(*partlyShown) +
                             " was not loaded completely; load a player again before saving");
    }
    return QuillbayError("No player is loaded");
}

PlayerEditor::PlayerEditor(int commentaryCount) : commentaryCount_(commentaryCount) {}

void PlayerEditor::load(const RosterFile& roster, int slot, const Record& stored) {
    show(roster, slot, stored, stored);
}

FieldRepairs PlayerEditor::loadRepaired(const RosterFile& roster, int slot, const Record& stored) {
    Record repaired = stored;
    FieldRepairs repairs = repairRecord(repaired, commentaryCount_);
    show(roster, slot, stored, repaired);
    return repairs;
}

void PlayerEditor::show(const RosterFile& roster, int slot, const Record& stored,
                        const Record& shown) {
    complete_ = false;
    slot_ = slot;
    source_ = roster.path();
    loaded_ = stored;
    working_ = shown;
    showRecord(shown, sheet_, commentaryCount_);
    complete_ = true;
}

FieldRepairs PlayerEditor::figureRepairs() const {
    PlayerSheet sheet = sheet_;
    Record working = working_;
    FieldRepairs repairs;
    repairFiguresOnScreen(sheet, working, repairs);
    return repairs;
}

FieldRepairs PlayerEditor::repairFigures() {
    FieldRepairs repairs;
    repairFiguresOnScreen(sheet_, working_, repairs);
    return repairs;
}

void PlayerEditor::switchStatisticsFormat(int format) {
    qb::switchStatisticsFormat(sheet_, working_, format);
}

std::vector<int> PlayerEditor::store(const RosterFile& roster) {
    if (!slot_) {
        throw noPlayerToSave(std::nullopt);
    }
    if (roster.path() != source_) {
        throw QuillbayError("The player shown was loaded from " + source_ + ", not from " +
                                roster.path() + "; load a player of this file before saving",
                            roster.path());
    }
    if (!complete_) {
        throw noPlayerToSave(slot_);
    }
    try {
        storeSheet(sheet_, working_, commentaryCount_);
    } catch (const StoreError& refused) {
        // A figure the file itself holds out of range refuses every save of the player,
        // whatever was edited: say so, and what brings it back.
        const FieldRepairs repairs = figureRepairs();
        if (std::ranges::any_of(repairs, [&](const FieldRepair& repair) {
                return repair.field == refused.field();
            })) {
            throw FigureOutOfRange(refused.field(),
                                   refused.description() +
                                       "; the file holds it out of that range: repair the player "
                                       "to bring its figures into range");
        }
        throw;
    }
    return changedOffsets(loaded_, working_);
}

} // namespace qb
