#include "player/player_copy.h"

#include "player/player_compare.h"

namespace qb {

bool showsAlready(const Field& field, const PlayerSheet& shown, const std::string& text) {
    const Json current = toJson(field.get(shown));
    if (valueText(current) == text) {
        return true;
    }
    PlayerSheet asked = shown;
    try {
        field.set(asked, text);
    } catch (const FieldValueError&) {
        return false;
    }
    return toJson(field.get(asked)) == current;
}

std::vector<FieldEdit> copiedValues(RosterDocument& from, int fromSlot,
                                    const FieldSelection& selection) {
    requireSlot(from.path(), fromSlot);
    if (isEmptySlot(from.table().record(fromSlot))) {
        throw CopyError("slot " + std::to_string(fromSlot) + " of " + from.path() +
                            " is empty; there is no player to copy",
                        from.path(), fromSlot);
    }
    from.player(fromSlot); // a player that fails to load is refused (ShowError)
    const ShownPlayer shown = from.shownWithEdits(fromSlot);
    std::vector<FieldEdit> values;
    for (const Field& field : fieldRegistry()) {
        const Json value = toJson(shown.value(field));
        // A list the source leaves unselected holds no value to copy: as null in an
        // edits file, it leaves the target's field alone.
        if (!field.readOnly() && selection.contains(field) && !value.is_null()) {
            values.push_back(fieldEdit(field.key, valueText(value), ""));
        }
    }
    return values;
}

std::vector<Edit> editsShowing(RosterDocument& document, int slot,
                               const std::vector<FieldEdit>& values) {
    const ShownPlayer shown = document.shownWithEdits(slot);
    std::vector<const FieldEdit*> changing;
    for (const FieldEdit& value : values) {
        if (!showsAlready(*value.field, shown.sheetFor(*value.field), value.value)) {
            if (!value.refusal.empty()) {
                throw EditError(value.refusal);
            }
            changing.push_back(&value);
        }
    }
    if (changing.empty()) {
        return {};
    }
    requireCopyTarget(document, slot); // an empty slot is filled by import
    document.player(slot);             // a player that fails to load is refused (ShowError)
    std::vector<Edit> edits;
    for (const FieldEdit* value : changing) {
        edits.push_back(document.makeEdit(slot, *value->field, value->value));
    }
    return edits;
}

void requireCopyTarget(const RosterDocument& to, int toSlot) {
    requireSlot(to.path(), toSlot);
    if (isEmptySlot(to.table().record(toSlot))) {
        throw CopyError("slot " + std::to_string(toSlot) + " is empty; use import", to.path(),
                        toSlot);
    }
}

std::vector<Edit> copyEdits(RosterDocument& from, int fromSlot, RosterDocument& to, int toSlot,
                            const FieldSelection& selection) {
    requireCopyTarget(to, toSlot);
    return editsShowing(to, toSlot, copiedValues(from, fromSlot, selection));
}

} // namespace qb
