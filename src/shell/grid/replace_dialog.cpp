#include "shell/grid/replace_dialog.h"

#include "shell/pages/widgets.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace qb {

std::optional<ColumnReplace> askReplace(QWidget* parent, const QString& column,
                                        bool manyRowsSelected) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("replaceDialog"));
    dialog.setWindowTitle(QStringLiteral("Replace in %1").arg(column));
    auto* find = named(new QLineEdit(&dialog), QStringLiteral("replaceFind"));
    auto* replacement = named(new QLineEdit(&dialog), QStringLiteral("replaceWith"));
    replacement->setPlaceholderText(QStringLiteral("a value, or +=N / -=N"));
    auto* selected = named(new QCheckBox(QStringLiteral("Only the &selected rows"), &dialog),
                           QStringLiteral("replaceSelected"));
    selected->setChecked(manyRowsSelected);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("&Find"), find);
    form->addRow(QStringLiteral("&Replace with"), replacement);
    form->addRow(selected);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ColumnReplace{find->text(), replacement->text(), selected->isChecked()};
}

} // namespace qb
