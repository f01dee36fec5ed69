#include "shell/grid/bulk_set_dialog.h"

#include "player/field_registry.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/pages/widgets.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace qb {

std::optional<BulkSet> askBulkSet(QWidget* parent, int players) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Set a Field of %1 Players").arg(players));
    auto* fields = named(new QComboBox(&dialog), QStringLiteral("bulkField"));
    for (const Field& field : fieldRegistry()) {
        if (!field.readOnly()) {
            fields->addItem(QString::fromStdString(field.key),
                            QVariant::fromValue(&field - fieldRegistry().data()));
        }
    }
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
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(fields->currentData().toLongLong());
    return BulkSet{&fieldRegistry()[index], op->currentText(), value->text()};
}

} // namespace qb
