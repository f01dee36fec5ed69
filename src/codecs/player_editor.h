#pragma once

#include "codecs/field_repair.h"
#include "codecs/player_sheet.h"
#include "roster/roster_file.h"
#include "system/errors.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// One step of the show sequence: reads the loaded record (the statistics step the
// working record, which holds the edits of other formats) and sets its editors. No
// step changes a record.
struct ShowStep {
    std::string_view name;
    std::function<void(const Record& loaded, const Record& working, PlayerSheet& sheet,
                       int commentaryCount)>
        run;
};

// The fixed order in which a loaded player is shown: nation, statistics (reset to
// "Test"), batting, bowling and fielding roles, appearance, skills, shot flags,
// ratings, commentary number.
extern const std::array<ShowStep, 10> kShowSequence;

// Fills `sheet` from `record` by the show sequence, the name first. A failing step stops
// the sequence (the editors of later steps keep their values) and is thrown as a
// ShowError: what the sheet then holds is as much of the player as could be shown.
void showRecord(const Record& record, PlayerSheet& sheet, int commentaryCount);

// The fixed order in which a player is stored into the working record: name, nation,
// the three roles, the statistics of the format on screen, ratings, shot flags,
// skills, commentary number, appearance.
void storeSheet(PlayerSheet& sheet, Record& working, int commentaryCount);

// Sets every field of `record` that its editor cannot show to a value it can show: the
// first entry whose bit is set where several are, else the nearest value in range,
// else the list's first entry. Fields that show are kept. Returns what was changed.
FieldRepairs repairRecord(Record& record, int commentaryCount);

// The refusal of a save while no player is on screen, or only part of the one of
// `partlyShown`.
QuillbayError noPlayerToSave(std::optional<int> partlyShown);

// The player being edited: the loaded and working records of one slot and the
// sheet of editor values that shows them. The window and the command-line tool both edit
// through it, so the same change writes the same bytes.
class PlayerEditor {
public:
    explicit PlayerEditor(int commentaryCount);

    PlayerSheet& sheet() noexcept { return sheet_; }
    const PlayerSheet& sheet() const noexcept { return sheet_; }
    const Record& loaded() const noexcept { return loaded_; }
    const Record& working() const noexcept { return working_; }
    std::optional<int> slot() const noexcept { return slot_; }

    // Takes `stored`, the bytes of the roster's slot as the caller read them, into both
    // records and runs the show sequence. A failing step stops the sequence (the editors
    // of later steps keep their values) and is thrown as a ShowError. The roster only
    // names the file a save may write the player into: nothing here reads a file.
    void load(const RosterFile& roster, int slot, const Record& stored);
    // The same with what its editors cannot show repaired (see repairRecord); the repairs
    // are unsaved edits that a save writes.
    FieldRepairs loadRepaired(const RosterFile& roster, int slot, const Record& stored);

    // The figures, in every format, that show a value a save refuses, with the values
    // repairFigures would set; nothing changes.
    FieldRepairs figureRepairs() const;
    // Sets those figures to the nearest values a save stores; they are unsaved edits.
    FieldRepairs repairFigures();
    // Stores the format on screen, then shows `format`.
    void switchStatisticsFormat(int format);

    // Trims the name and runs the store sequence into the working record; writes
    // nothing. Returns the record offsets that differ from the loaded record. Refused
    // while no player is loaded, the last load stopped part-way, or `roster` is not the
    // file the player was loaded from, so a mix of two players is never written into a
    // slot.
    std::vector<int> store(const RosterFile& roster);

private:
    // Shows `shown` as the player of `slot`, whose bytes in the file are `stored`.
    void show(const RosterFile& roster, int slot, const Record& stored, const Record& shown);

    int commentaryCount_;
    PlayerSheet sheet_;
    Record loaded_{};
    Record working_{};
    std::optional<int> slot_;
    std::string source_; // the file the player was loaded from
    bool complete_ = false;
};

} // namespace qb
