#include "player/roster_document.h"

#include "player/player_save.h"
#include "player/shown_player.h"

#include <algorithm>
#include <cstring>

namespace qb {

CellValue readCell(const Field& field, const PlayerSheet& sheet) {
    return std::visit([](auto* held) -> CellValue { return *held; },
                      field.cell(const_cast<PlayerSheet&>(sheet)));
}

void writeCell(const Field& field, PlayerSheet& sheet, const CellValue& value) {
    std::visit(
        [&value](auto* held) {
            using Held = std::remove_pointer_t<decltype(held)>;
            *held = std::get<Held>(value);
        },
        field.cell(sheet));
}

RosterDocument::RosterDocument(const std::string& path, int commentaryCount)
    : file_(path), commentaryCount_(commentaryCount) {
    reload();
}

void RosterDocument::reload() {
    table_ = file_.readSlotTable();
    index_ = buildRosterIndex(table_);
    // A player without pending edits is shown from the new table on next use; one with
    // edits keeps the record they were made on.
    std::erase_if(players_, [](const auto& player) { return player.second.keys.empty(); });
    notify({});
}

RosterDocument::Pending& RosterDocument::pending(int slot) {
    requireSlot(path(), slot);
    auto found = players_.find(slot);
    if (found == players_.end()) {
        Pending fresh{PlayerEditor(commentaryCount_), {}, {}};
        fresh.editor.load(file_, slot, table_.copyRecord(slot));
        found = players_.emplace(slot, std::move(fresh)).first;
    }
    return found->second;
}

PlayerEditor& RosterDocument::player(int slot) {
    return pending(slot).editor;
}

ShownPlayer RosterDocument::shownWithEdits(int slot) const {
    if (!hasPending(slot)) {
        return showEveryField(table_.copyRecord(slot));
    }
    const PlayerEditor& editor = players_.at(slot).editor;
    ShownPlayer shown = showEveryField(editor.working());
    shown.shown = editor.sheet();
    shown.formats[static_cast<std::size_t>(editor.sheet().statisticsFormat)] = editor.sheet();
    return shown;
}

void RosterDocument::discard(int slot) {
    players_.erase(slot);
    notify({slot});
}

RosterDocument::SlotInFile RosterDocument::readSlotAgain(int slot) {
    requireSlot(path(), slot);
    const Record now = file_.readSlot(slot);
    const auto shown = players_.find(slot);
    const Record known =
        shown != players_.end() ? shown->second.editor.loaded() : table_.copyRecord(slot);
    if (now == known) {
        return SlotInFile::AsLoaded;
    }
    if (hasPending(slot)) {
        return SlotInFile::ChangedUnderEdits;
    }
    adoptStoredSlots(std::array{SlotWrite{slot, now, {}}});
    return SlotInFile::ReadAgain;
}

FieldRepairs RosterDocument::repair(int slot) {
    FieldRepairs repairs = loadRepaired(slot);
    notify({slot});
    return repairs;
}

FieldRepairs RosterDocument::loadRepaired(int slot) {
    requireSlot(path(), slot);
    Pending repaired{PlayerEditor(commentaryCount_), {}, {}};
    FieldRepairs repairs = repaired.editor.loadRepaired(file_, slot, file_.readSlot(slot));
    for (const FieldRepair& made : repairs) {
        repaired.keys.insert(made.field);
    }
    players_.insert_or_assign(slot, std::move(repaired));
    return repairs;
}

FieldRepairs RosterDocument::repairFigures(int slot) {
    Pending& repaired = pending(slot);
    FieldRepairs repairs = repaired.editor.repairFigures();
    for (const FieldRepair& made : repairs) {
        repaired.keys.insert(made.field);
    }
    notify({slot});
    return repairs;
}

// The slot's player, showing the statistics format of the field when it has one.
RosterDocument::Pending& RosterDocument::pendingFor(int slot, const Field& field) {
    Pending& found = pending(slot);
    if (field.format >= 0 && found.editor.sheet().statisticsFormat != field.format) {
        found.editor.switchStatisticsFormat(field.format);
    }
    return found;
}

Edit RosterDocument::makeEdit(int slot, const Field& field, std::string_view text) {
    PlayerEditor& editor = pendingFor(slot, field).editor;
    PlayerSheet asked = editor.sheet();
    field.set(asked, text);
    return {slot, &field, readCell(field, editor.sheet()), readCell(field, asked)};
}

Edit RosterDocument::makeCellEdit(int slot, const Field& field, CellValue value) {
    PlayerEditor& editor = pendingFor(slot, field).editor;
    return {slot, &field, readCell(field, editor.sheet()), std::move(value)};
}

void RosterDocument::apply(const Edit& edit) {
    put(edit);
    notify({edit.slot, edit.field});
}

void RosterDocument::apply(std::span<const Edit> edits) {
    for (const Edit& edit : edits) {
        put(edit);
    }
    notify({});
}

void RosterDocument::revert(std::span<const Edit> edits) {
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        put({edit->slot, edit->field, edit->after, edit->before});
    }
    notify({});
}

void RosterDocument::put(const Edit& edit) {
    if (edit.field == nullptr) {
        if (std::get<int>(edit.after) != 0) {
            loadRepaired(edit.slot);
        } else {
            players_.erase(edit.slot);
        }
        return;
    }
    const Field& field = *edit.field;
    Pending& slot = pendingFor(edit.slot, field);
    writeCell(field, slot.editor.sheet(), edit.after);
    // The key is pending while the field shows another value than the file's record.
    // Shown once per loaded player: bulk edits and undo apply many edits to one player.
    // The formats' statistics only once a statistic is edited: a bulk edit of a rating
    // over every player decodes no figure.
    const bool statistics = field.format >= 0;
    if (!slot.stored || (statistics && !slot.storedStatistics)) {
        slot.stored = showEveryField(slot.editor.loaded(), statistics);
        slot.storedStatistics = statistics;
    }
    if (readCell(field, slot.stored->sheetFor(field)) == edit.after) {
        slot.keys.erase(field.key);
    } else {
        slot.keys.insert(field.key);
    }
}

void RosterDocument::revert(const Edit& edit) {
    apply({edit.slot, edit.field, edit.after, edit.before});
}

bool RosterDocument::hasPending(int slot) const {
    const auto found = players_.find(slot);
    return found != players_.end() && !found->second.keys.empty();
}

std::vector<int> RosterDocument::pendingSlots() const {
    std::vector<int> slots;
    for (const auto& [slot, player] : players_) {
        if (!player.keys.empty()) {
            slots.push_back(slot);
        }
    }
    return slots;
}

std::set<std::string> RosterDocument::changedKeys(int slot) const {
    const auto found = players_.find(slot);
    return found == players_.end() ? std::set<std::string>{} : found->second.keys;
}

std::vector<int> RosterDocument::save(int slot, const SafetyOptions& safety) {
    PlayerEditor& editor = player(slot);
    PlayerSaved saved = savePlayer(editor, file_, safety);
    notices_ = std::move(saved.notices);
    adoptStoredSlots(std::array{SlotWrite{slot, editor.loaded(), {}}});
    return saved.written;
}

std::map<int, std::vector<int>> RosterDocument::saveSlots(const std::vector<int>& slots,
                                                          const SafetyOptions& safety,
                                                          const std::set<int>& overwrite) {
    // Every player is stored first (a refused value stops the save before any write),
    // then all of them are written as one batch: all new or all as they were.
    std::vector<SlotWrite> writes;
    for (const int slot : slots) {
        PlayerEditor& editor = player(slot);
        editor.store(file_);
        if (!overwrite.contains(slot)) {
            writes.push_back({slot, editor.working(), editor.loaded()});
            continue;
        }
        const Record now = file_.readSlot(slot);
        Record merged = now;
        for (const int offset : changedOffsets(editor.loaded(), editor.working())) {
            merged[static_cast<std::size_t>(offset)] =
                editor.working()[static_cast<std::size_t>(offset)];
        }
        writes.push_back({slot, merged, now});
    }
    SaveReport report = writeSlots(file_, writes, safety);
    notices_ = std::move(report.notices);
    std::map<int, std::vector<int>> written;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        written[slots[i]] = report.written[i];
    }
    adoptStoredSlots(writes);
    return written;
}

std::vector<int> RosterDocument::changedInFile(const std::vector<int>& slots) const {
    const SlotTable now = file_.readSlotTable();
    std::vector<int> changed;
    for (const int slot : slots) {
        const auto shown = players_.find(slot);
        const Record known =
            shown != players_.end() ? shown->second.editor.loaded() : table_.copyRecord(slot);
        if (now.copyRecord(slot) != known) {
            changed.push_back(slot);
        }
    }
    return changed;
}

// The slots as saved (or as another program wrote them) go into the table and the
// lists, which are built again once for the batch (once per slot made a bulk save of
// 1,600 players quadratic); their players are shown from them again on next use. A
// batch is one change to the listeners: told slot by slot, a window showing every
// player refreshed itself 1,567 times for one Save All.
void RosterDocument::adoptStoredSlots(std::span<const SlotWrite> saved) {
    for (const SlotWrite& write : saved) {
        std::memcpy(table_.data() + static_cast<std::ptrdiff_t>(write.slot) * SLOT_SIZE,
                    write.record.data(), write.record.size());
        players_.erase(write.slot);
    }
    index_ = buildRosterIndex(table_);
    notify(saved.size() == 1 ? DocumentChange{saved.front().slot} : DocumentChange{});
}

void RosterDocument::notify(const DocumentChange& change) const {
    // A copy: a listener may end its own or another's subscription meanwhile.
    const ChangeListeners listeners = *listeners_;
    for (const auto& [id, listener] : listeners) {
        if (listeners_->contains(id)) {
            listener(change);
        }
    }
}

} // namespace qb
