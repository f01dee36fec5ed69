#include "shell/pages/slot_list_page.h"

#include "roster/player_lists.h"
#include "shell/artwork.h"
#include "shell/pages/widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qb {

SlotListPage::SlotListPage(int tab, std::function<const RosterIndex&()> index, QWidget* parent)
    : Page(tab, parent), index_(std::move(index)) {
    auto* layout = new QVBoxLayout(this);
    auto* frame = named(new QGroupBox(QStringLiteral("Player Names"), this),
                        QStringLiteral("fraPlayerNames"));
    auto* inner = new QVBoxLayout(frame);
    searchBox_ = named(new QLineEdit(frame), QStringLiteral("txtPlayerName"));
    searchBox_->setPlaceholderText(QStringLiteral("Search"));
    nameList_ = named(new QListWidget(frame), QStringLiteral("lsvPlayerName"));
    nameList_->setIconSize(QSize(30, 20));
    nameList_->setUniformItemSizes(true);
    inner->addWidget(searchBox_);
    inner->addWidget(nameList_);
    layout->addWidget(frame);
    auto* buttons = new QHBoxLayout();
    auto* gotoEmpty =
        named(new QPushButton(QStringLiteral("Go&to Empty"), this), QStringLiteral("cmdGotoEmpty"));
    auto* importButton =
        named(new QPushButton(QStringLiteral("Import Pla&yer"), this), QStringLiteral("cmdImport"));
    auto* exportButton =
        named(new QPushButton(QStringLiteral("E&xport Player"), this), QStringLiteral("cmdExport"));
    for (QPushButton* button : {gotoEmpty, importButton, exportButton}) {
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    searchBox_->installEventFilter(this);
    connect(searchBox_, &QLineEdit::textEdited, this, &SlotListPage::search);
    connect(gotoEmpty, &QPushButton::clicked, this, &SlotListPage::gotoEmpty);
    connect(importButton, &QPushButton::clicked, this, &SlotListPage::importRequested);
    connect(exportButton, &QPushButton::clicked, this, &SlotListPage::exportRequested);
    // Import and export need a selected slot.
    const auto updateTransfer = [this, importButton, exportButton] {
        const bool selected = nameList_->currentRow() >= 0;
        importButton->setEnabled(selected);
        exportButton->setEnabled(selected);
    };
    connect(nameList_, &QListWidget::currentRowChanged, this, updateTransfer);
    updateTransfer();
}

void SlotListPage::showSlots(const QStringList& names) {
    nameList_->clear();
    for (std::size_t slot = 0; slot < index_().slotEntries.size(); ++slot) {
        auto* item = new QListWidgetItem(names[static_cast<qsizetype>(slot)], nameList_);
        if (const int icon = index_().slotEntries[slot].nationIcon; icon > 0) {
            item->setIcon(QIcon(nationFlag(icon - 1)));
        }
    }
}

void SlotListPage::showSlot(int slot, const QString& name) {
    if (QListWidgetItem* item = nameList_->item(slot)) {
        item->setText(name);
        const int icon = index_().slotEntries[static_cast<std::size_t>(slot)].nationIcon;
        item->setIcon(icon > 0 ? QIcon(nationFlag(icon - 1)) : QIcon());
    }
}

int SlotListPage::selectedSlot() const {
    return nameList_->currentRow();
}

QString SlotListPage::slotName(int slot) const {
    return nameList_->item(slot)->text();
}

void SlotListPage::select(int slot) {
    nameList_->setCurrentRow(slot);
    nameList_->scrollToItem(nameList_->item(slot));
}

void SlotListPage::search(const QString& typed) {
    const int found = findSlotWithPrefix(index_(), typed.toStdString());
    if (found < 0) {
        return;
    }
    select(found);
    searchBox_->setText(nameList_->item(found)->text());
    searchBox_->setSelection(static_cast<int>(typed.size()),
                             static_cast<int>(searchBox_->text().size() - typed.size()));
}

void SlotListPage::gotoEmpty() {
    const int found = nextEmptySlot(index_(), nameList_->currentRow());
    if (found >= 0) {
        select(found);
    }
}

bool SlotListPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        searchBox_->clear();
        return true;
    }
    return Page::eventFilter(watched, event);
}

} // namespace qb
