#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace qb {

struct Field;

// What to set on the selected players: a field, "=", "+=" or "-=", and the value.
struct BulkSet {
    const Field* field = nullptr;
    QString op;
    QString value;
};

// Asks which field to set on `players` players, how and to what; nothing when cancelled.
// The fields are listed by their column titles under the grid's column groups, and the
// list starts on `current` (the current cell's field) when it can be set.
std::optional<BulkSet> askBulkSet(QWidget* parent, int players, const Field* current);

} // namespace qb
