#include "player/player_compare.h"

namespace qb {

std::vector<const Field*> differingFields(const RosterDocument& a, int slotA,
                                          const RosterDocument& b, int slotB,
                                          const FieldSelection& selection) {
    const ShownPlayer shownA = a.shownWithEdits(slotA);
    const ShownPlayer shownB = b.shownWithEdits(slotB);
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
