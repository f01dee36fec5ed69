#include "shell/compare/backups_window.h"

#include "shell/pages/widgets.h"
#include "shell/window_placement.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qb {

BackupsWindow::BackupsWindow(const QString& roster, std::vector<Backup> backups, QWidget* parent)
    : QDialog(parent), backups_(std::move(backups)) {
    setObjectName(QStringLiteral("backupsWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Backups - %1").arg(QFileInfo(roster).fileName()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        backups_.empty()
            ? QStringLiteral("No backup of %1 has been made yet.").arg(roster)
            : QStringLiteral("Backups of %1, newest first, with the players each holds "
                             "otherwise than the file now. Compare one with the roster as "
                             "its file holds it now (and your unsaved changes) to copy "
                             "players or field groups back from it.")
                  .arg(roster),
        this));
    backupTable_ = named(new QTableWidget(static_cast<int>(backups_.size()), 3, this),
                         QStringLiteral("backupsList"));
    backupTable_->setHorizontalHeaderLabels({QStringLiteral("Made (UTC)"),
                                             QStringLiteral("Players that differ"),
                                             QStringLiteral("File")});
    backupTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    backupTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    backupTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    backupTable_->verticalHeader()->hide();
    backupTable_->horizontalHeader()->setStretchLastSection(true);
    for (std::size_t row = 0; row < backups_.size(); ++row) {
        const Backup& backup = backups_[row];
        const QString differing = backup.differingSlots ? QString::number(*backup.differingSlots)
                                                        : QStringLiteral("cannot be read");
        const int at = static_cast<int>(row);
        backupTable_->setItem(at, 0, new QTableWidgetItem(QString::fromStdString(backup.time)));
        backupTable_->setItem(at, 1, new QTableWidgetItem(differing));
        backupTable_->setItem(
            at, 2, new QTableWidgetItem(QFileInfo(QString::fromStdString(backup.path)).fileName()));
    }
    backupTable_->resizeColumnsToContents();
    if (!backups_.empty()) {
        backupTable_->selectRow(0);
    }
    layout->addWidget(backupTable_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* compare =
        named(buttons->addButton(QStringLiteral("&Compare"), QDialogButtonBox::AcceptRole),
              QStringLiteral("backupsCompare"));
    compare->setEnabled(!backups_.empty());
    connect(compare, &QPushButton::clicked, this, &BackupsWindow::compareChosen);
    connect(backupTable_, &QTableWidget::cellDoubleClicked, this, &BackupsWindow::compareChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    placeOnScreen(*this, parent, 0.6, {560, 320});
}

void BackupsWindow::compareChosen() {
    const int row = backupTable_->currentRow();
    if (row < 0 || row >= static_cast<int>(backups_.size())) {
        return;
    }
    const QString path = QString::fromStdString(backups_[static_cast<std::size_t>(row)].path);
    close();
    emit compareRequested(path);
}

} // namespace qb
