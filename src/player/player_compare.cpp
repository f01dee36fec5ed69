#include "player/player_compare.h"

#include "codecs/codec_errors.h"

namespace qb {

ShownPlayer shownPlayer(RosterDocument& document, int slot) {
    PlayerEditor* editor = nullptr;
    try {
        editor = &document.player(slot);
    } catch (const ShowError&) {
        return showEveryField(document.table().copyRecord(slot));
    }
    ShownPlayer shown = showEveryField(editor->working());
    shown.shown = editor->sheet();
    shown.formats[static_cast<std::size_t>(editor->sheet().statisticsFormat)] = editor->sheet();
    shown.failures.clear();
    return shown;
}

std::vector<const Field*> differingFields(RosterDocument& a, int slotA, RosterDocument& b,
                                          int slotB, const FieldSelection& selection) {
    const ShownPlayer shownA = shownPlayer(a, slotA);
    const ShownPlayer shownB = shownPlayer(b, slotB);
    std::vector<const Field*> fields;
    for (const Field& field : fieldRegistry()) {
        if (!field.readOnly() && selection.contains(field) &&
            shownA.value(field) != shownB.value(field)) {
            fields.push_back(&field);
        }
    }
    return fields;
}

} // namespace qb
