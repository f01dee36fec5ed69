#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace qb {

// What to replace in a column: the value to find, the value to put instead, and whether
// only the selected rows are searched (else every row shown).
struct ColumnReplace {
    QString find;
    QString replacement;
    bool selectedRows = false;
};

// Asks what to replace in the column titled `column`; nothing when cancelled. "Only the
// selected rows" starts ticked when more than one row is selected.
std::optional<ColumnReplace> askReplace(QWidget* parent, const QString& column,
                                        bool manyRowsSelected);

} // namespace qb
