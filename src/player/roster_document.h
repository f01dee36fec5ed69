#pragma once

#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "player/field_registry.h"
#include "player/shown_player.h"
#include "roster/player_lists.h"
#include "roster/roster_file.h"
#include "saving/safe_write.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace qb {

// A field's raw editor value: a list index, slider value or box state, or a text.
using CellValue = std::variant<int, std::string>;
CellValue readCell(const Field& field, const PlayerSheet& sheet);
void writeCell(const Field& field, PlayerSheet& sheet, const CellValue& value);

// One change of one field of one slot. Undo reverts it; a bulk change is a group of them.
// An edit of no field is the slot's repair (see RosterDocument::repair): `after` 1 shows
// the slot repaired from the file, 0 as the file holds it, its pending edits dropped.
struct Edit {
    int slot = -1;
    const Field* field = nullptr;
    CellValue before;
    CellValue after;
};
// The edit that repairs the slot; reverting it drops the repairs.
inline Edit repairEdit(int slot) {
    return {slot, nullptr, 0, 1};
}

// What changed: a slot's pending edits (a field, or every field when `field` is null),
// or the whole roster (slot -1: opened again, saved, or many slots edited at once).
struct DocumentChange {
    int slot = -1;
    const Field* field = nullptr;
};
using ChangeListener = std::function<void(const DocumentChange&)>;
using ChangeListeners = std::map<int, ChangeListener>;

// Keeps a listener of a document's changes registered while it lives. The document or
// the listener may go first: a view closed before its document stops listening, and a
// document closed first leaves nothing to remove.
class ChangeSubscription {
public:
    ChangeSubscription() = default;
    ChangeSubscription(std::weak_ptr<ChangeListeners> listeners, int id)
        : listeners_(std::move(listeners)), id_(id) {}
    ChangeSubscription(ChangeSubscription&& other) noexcept
        : listeners_(std::exchange(other.listeners_, {})), id_(other.id_) {}
    ChangeSubscription& operator=(ChangeSubscription&& other) noexcept {
        std::swap(listeners_, other.listeners_);
        std::swap(id_, other.id_);
        return *this;
    }
    ~ChangeSubscription() {
        if (const auto listeners = listeners_.lock()) {
            listeners->erase(id_);
        }
    }

private:
    std::weak_ptr<ChangeListeners> listeners_;
    int id_ = 0;
};

// One open roster file or saved game: its slot table read once, the two player lists,
// and per slot the edits not yet saved (the player as its editors show it, and the
// keys changed). Every front end edits a roster through it, so the same edit writes
// the same bytes, and a player's edits are only ever saved into the file they were
// made on.
class RosterDocument {
public:
    explicit RosterDocument(const std::string& path, int commentaryCount = kCommentaryNameCount);

    const RosterFile& file() const noexcept { return file_; }
    const std::string& path() const noexcept { return file_.path(); }
    const SlotTable& table() const noexcept { return table_; }
    const RosterIndex& index() const noexcept { return index_; }
    int commentaryCount() const noexcept { return commentaryCount_; }

    // Reads the slot table and lists again, and the players without pending edits with
    // them; pending edits are kept (a save still refuses a slot that another program
    // changed since its player was loaded).
    void reload();

    // The player of `slot` as its editors show it, with its pending edits. Shown from
    // the slot table on first use; a player that cannot be shown throws a ShowError.
    PlayerEditor& player(int slot);
    // Every field of the slot's player as the window shows it. With pending edits: the
    // editors' sheet, and the statistics of the formats off screen as its working record
    // holds them. Without: each show step on its own from the slot table (see
    // showEveryField), so a field that cannot be shown is null and named in the failures.
    // Never shows a player it has not shown before.
    ShownPlayer shownWithEdits(int slot) const;
    // Shows the slot again from the file as it is now, its pending edits dropped.
    void discard(int slot);
    // What choosing a player found in the file (see readSlotAgain).
    enum class SlotInFile { AsLoaded, ReadAgain, ChangedUnderEdits };
    // Reads the slot's record from the file as it is now (one record, not the table).
    // A slot another program changed is shown from the new bytes when it has no pending
    // edits (the table and lists follow); its pending edits are kept otherwise, and a
    // save asks before it overwrites the other program's change.
    SlotInFile readSlotAgain(int slot);
    // Reads the slot from the file and shows it with the fields its editors cannot show
    // reset (see repairRecord); the repairs are its pending edits.
    FieldRepairs repair(int slot);

    // Sets the slot's figures that a save would refuse as the file holds them into
    // range (see PlayerEditor::repairFigures); the repairs are pending edits.
    FieldRepairs repairFigures(int slot);

    // An edit that puts `text` into the field, checked by the field (FieldValueError).
    Edit makeEdit(int slot, const Field& field, std::string_view text);
    // An edit that puts a raw editor value into the field.
    Edit makeCellEdit(int slot, const Field& field, CellValue value);
    void apply(const Edit& edit);
    void revert(const Edit& edit);
    // Many edits as one change (a bulk set, a paste): listeners hear of them once.
    // Reverting undoes them in the opposite order.
    void apply(std::span<const Edit> edits);
    void revert(std::span<const Edit> edits);

    bool hasPending(int slot) const;
    std::vector<int> pendingSlots() const;
    // The keys whose value differs from what the file's record shows.
    std::set<std::string> changedKeys(int slot) const;

    // Writes the slot's player through safe writing; returns the offsets written.
    std::vector<int> save(int slot, const SafetyOptions& safety = {});
    // Writes every slot with pending edits as one batch (all of them or none); returns
    // the offsets written per slot.
    std::map<int, std::vector<int>> saveAll(const SafetyOptions& safety = {}) {
        return saveSlots(pendingSlots(), safety);
    }
    // Writes the players of these slots as one batch, each stored as a save stores it.
    // A slot in `overwrite` is written over another program's change to it, as a forced
    // save of one player is: the bytes its edits changed replace the file's, the rest of
    // the record stays as the file holds it now. Should the slot change once more before
    // the write, the batch is refused (SlotConflict) all the same.
    std::map<int, std::vector<int>> saveSlots(const std::vector<int>& slots,
                                              const SafetyOptions& safety = {},
                                              const std::set<int>& overwrite = {});
    // The slots among `slots` that another program changed in the file since their
    // players were loaded, which a save would refuse (one read of the slot table).
    std::vector<int> changedInFile(const std::vector<int>& slots) const;
    // What the last save wants the user to know besides its result (a failed backup).
    const std::vector<std::string>& notices() const noexcept { return notices_; }

    // Calls `listener` after every change until the subscription ends.
    [[nodiscard]] ChangeSubscription onChange(ChangeListener listener) {
        listeners_->emplace(nextListener_, std::move(listener));
        return {listeners_, nextListener_++};
    }

private:
    struct Pending {
        PlayerEditor editor;
        std::set<std::string> keys;
        std::optional<ShownPlayer> stored; // every field of the loaded record, once needed
        bool storedStatistics = false;     // whether `stored` shows the formats' figures
    };
    Pending& pending(int slot);
    Pending& pendingFor(int slot, const Field& field);
    FieldRepairs loadRepaired(int slot);
    // Applies the edit without telling the listeners.
    void put(const Edit& edit);
    void notify(const DocumentChange& change) const;
    void adoptStoredSlots(std::span<const SlotWrite> saved);

    RosterFile file_;
    int commentaryCount_;
    SlotTable table_;
    RosterIndex index_;
    std::map<int, Pending> players_;
    std::shared_ptr<ChangeListeners> listeners_ = std::make_shared<ChangeListeners>();
    int nextListener_ = 0;
    std::vector<std::string> notices_;
};

} // namespace qb
