#include "shell/grid/bulk_set_dialog.h"

#include "player/field_registry.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/pages/widgets.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QStandardItemModel>

namespace qb {
namespace {

// The fields that can be set, by column title under a heading per column group (the
// headings cannot be chosen). Starts on `current`, or else on the first field after
// the name: a value and Enter must not rename every player by accident.
QComboBox* fieldList(QWidget* parent, const Field* current) {
    auto* fields = named(new QComboBox(parent), QStringLiteral("bulkField"));
    auto* items = qobject_cast<QStandardItemModel*>(fields->model());
    const auto addFields = [fields](int first, int last, const QString& indent) {
        for (int column = first; column <= last; ++column) {
            const auto index =
                static_cast<std::size_t>(column - RosterGridModel::kFirstFieldColumn);
            const Field& field = fieldRegistry()[index];
            if (!field.readOnly()) {
                fields->addItem(indent + columnTitle(field),
                                QVariant::fromValue(static_cast<qlonglong>(index)));
            }
        }
    };
    // The name stands before the groups, in none of them, as in the grid.
    addFields(RosterGridModel::kFirstFieldColumn, RosterGridModel::groups().front().first - 1, {});
    for (const ColumnGroup& group : RosterGridModel::groups()) {
        auto* heading = new QStandardItem(group.name);
        heading->setFlags(Qt::NoItemFlags);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        items->appendRow(heading);
        addFields(group.first, group.last, QStringLiteral("    "));
    }
    const Field& start = current != nullptr && !current->readOnly() ? *current : fieldRegistry()[1];
    fields->setCurrentIndex(fields->findData(
        QVariant::fromValue(static_cast<qlonglong>(&start - fieldRegistry().data()))));
    return fields;
}

} // namespace

std::optional<BulkSet> askBulkSet(QWidget* parent, int players, const Field* current) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("bulkDialog"));
    dialog.setWindowTitle(QStringLiteral("Set a Field of %1 Players").arg(players));
    QComboBox* fields = fieldList(&dialog, current);
    auto* op = named(new QComboBox(&dialog), QStringLiteral("bulkOp"));
    op->addItems({QStringLiteral("="), QStringLiteral("+="), QStringLiteral("-=")});
    auto* value = named(new QLineEdit(&dialog), QStringLiteral("bulkValue"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("&Field"), fields);
    form->addRow(QStringLiteral("&How"), op);
    form->addRow(QStringLiteral("&Value"), value);
    form->addRow(buttons);
    value->setFocus();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(fields->currentData().toLongLong());
    return BulkSet{&fieldRegistry()[index], op->currentText(), value->text()};
}

} // namespace qb
