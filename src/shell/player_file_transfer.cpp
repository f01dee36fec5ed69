#include "shell/player_file_transfer.h"

#include "saving/transfer.h"
#include "shell/app_settings.h"
#include "shell/pages/slot_list_page.h"
#include "shell/player_presenter.h"
#include "shell/roster_saver.h"
#include "shell/tools/edits_folder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace qb {
namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QString PlayerFileTransfer::proposedFile(const QString& name) {
    return QDir::toNativeSeparators(
        QDir(startFolder(settings_.playerFolder(), presenter_.openedFileName().toStdString()))
            .filePath(name));
}

void PlayerFileTransfer::rememberFolder(const QString& chosen) {
    settings_.setPlayerFolder(QFileInfo(chosen).absolutePath());
}

PlayerFileTransfer::PlayerFileTransfer(const std::unique_ptr<RosterDocument>& document,
                                       AppSettings& settings, Dialogs& dialogs, QWidget* window,
                                       PlayerPresenter& presenter, SlotListPage& slotList)
    : QObject(window), document_(document), settings_(settings), dialogs_(dialogs), window_(window),
      presenter_(presenter), slotList_(slotList) {
    connect(&slotList_, &SlotListPage::importRequested, this, &PlayerFileTransfer::importPlayer);
    connect(&slotList_, &SlotListPage::exportRequested, this, &PlayerFileTransfer::exportPlayer);
}

void PlayerFileTransfer::message(QMessageBox::Icon icon, const QString& text) {
    dialogs_.message(window_, icon, text);
}

void PlayerFileTransfer::exportPlayer() {
    const int slot = slotList_.selectedSlot();
    if (slot < 0) {
        return;
    }
    const QString chosen =
        dialogs_.saveFile(window_, QStringLiteral("Select the file to export"),
                          proposedFile(slotList_.slotName(slot)), kPlayerFileFilter);
    if (chosen.isEmpty()) {
        return;
    }
    rememberFolder(chosen);
    attempt(dialogs_, window_, [&] {
        const ExportTarget target = planExport(chosen.toStdString());
        const QString path = qText(target.path);
        if (target.needsOverwriteQuestion &&
            !dialogs_.question(
                window_, path + QStringLiteral(" already exists.\nDo you want to replace it?"),
                QStringLiteral("Confirmation"))) {
            return;
        }
        exportSlot(presenter_.openedRoster(), slot, target.path);
        message(QMessageBox::Information, qText(exportSuccessText(target.path)));
    });
}

void PlayerFileTransfer::importPlayer() {
    const int slot = slotList_.selectedSlot();
    if (slot < 0) {
        return;
    }
    const QString chosen =
        dialogs_.openFile(window_, QStringLiteral("Select the file to import"),
                          proposedFile(slotList_.slotName(slot)), kPlayerFileFilter);
    if (chosen.isEmpty()) {
        return;
    }
    rememberFolder(chosen);
    importInto(slot, chosen);
}

void PlayerFileTransfer::importFile(const QString& chosen) {
    const QString fileName = QFileInfo(chosen).fileName();
    if (!document_) {
        message(QMessageBox::Information,
                QStringLiteral("%1 is a player exported from a roster, not a roster. Open the "
                               "roster to import the player into, then open %1 again.")
                    .arg(fileName));
        return;
    }
    // The file is checked before a slot is asked for.
    if (!attempt(dialogs_, window_, [&] { readPlayerFile(chosen.trimmed().toStdString()); })) {
        return;
    }
    QStringList choices;
    const auto& entries = presenter_.rosterIndex().slotEntries;
    for (std::size_t slot = 0; slot < entries.size(); ++slot) {
        choices << QStringLiteral("%1: %2").arg(slot).arg(qText(entries[slot].name()));
    }
    const int shown = presenter_.shownSlot();
    const int slot =
        dialogs_.chooseItem(window_,
                            QStringLiteral("Import %1 into which slot of %2?")
                                .arg(fileName, QFileInfo(presenter_.openedFileName()).fileName()),
                            choices, std::max(shown, 0));
    if (slot >= 0) {
        importInto(slot, chosen);
    }
}

void PlayerFileTransfer::importInto(int slot, const QString& chosen) {
    const QString target = slotList_.slotName(slot);
    const std::string path = chosen.trimmed().toStdString();
    attempt(dialogs_, window_, [&] {
        readPlayerFile(path);
        if (!dialogs_.question(window_, qText(importConfirmationText(target.toStdString(), path)),
                               QStringLiteral("Confirmation"))) {
            return;
        }
        std::vector<std::string> notices;
        importSlot(presenter_.openedRoster(), slot, path, saveSafety(settings_, false), &notices);
        // The player imported replaces the slot's unsaved edits; it is on screen before
        // the report opens.
        document_->discard(slot);
        presenter_.reloadRoster();
        message(QMessageBox::Information, qText(importSuccessText(target.toStdString())));
        for (const std::string& notice : notices) {
            message(QMessageBox::Warning, qText(notice));
        }
    });
}

} // namespace qb
