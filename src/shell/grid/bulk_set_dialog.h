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
std::optional<BulkSet> askBulkSet(QWidget* parent, int players);

} // namespace qb
