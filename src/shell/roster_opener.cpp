#include "shell/roster_opener.h"

#include "roster/codepage.h"
#include "shell/app_settings.h"
#include "shell/game_assets.h"
#include "shell/pages/personal_page.h"
#include "shell/player_file_transfer.h"
#include "shell/roster_saver.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <utility>

namespace qb {

RosterOpener::RosterOpener(AppSettings& settings, Dialogs& dialogs, QWidget* window, QString title,
                           GameAssets& game, PersonalPage& personal, RosterSaver& saver,
                           PlayerFileTransfer& playerFiles, RosterHandover handover)
    : settings_(settings), dialogs_(dialogs), window_(window), title_(std::move(title)),
      game_(game), personal_(personal), saver_(saver), playerFiles_(playerFiles),
      handover_(std::move(handover)) {}

void RosterOpener::chooseAndOpen() {
    if (!game_.requireGameFolder() || !handover_.settleUnsaved()) {
        return;
    }
    const QString path =
        dialogs_.openFile(window_, QStringLiteral("Select the file"), settings_.gamePath(),
                          kRosterFileFilters + QStringLiteral(";;") + kPlayerFileFilter);
    if (!path.isEmpty()) {
        open(path);
    }
}

void RosterOpener::openAfterGameCheck(const QString& path) {
    if (game_.requireGameFolder()) {
        open(path);
    }
}

void RosterOpener::open(const QString& chosen) {
    // The roster's path is the system's spelling from here on: the title, the captions
    // and every message name it as Windows users know it.
    const QString path = QDir::toNativeSeparators(chosen);
    if (path.endsWith(QStringLiteral(".data"), Qt::CaseInsensitive)) {
        playerFiles_.importFile(path);
        return;
    }
    window_->setWindowTitle(title_ + QStringLiteral(" - ") + QFileInfo(path).fileName());
    personal_.setStatus({});
    saver_.reportRecoveredSaves(path);
    const bool opened = attempt(dialogs_, window_, [&] {
        auto document = std::make_unique<RosterDocument>(path.toStdString());
        const RosterFile& roster = document->file();
        if (roster.kindWarning()) {
            dialogs_.message(window_, QMessageBox::Warning,
                             QString::fromStdString(*roster.kindWarning()));
        }
        personal_.setStatus(QString::fromStdString(decodeCp1252(roster.readHeader())));
        settings_.setLastFile(path);
        handover_.adopt(std::move(document));
    });
    if (!opened) {
        // Nothing of the file that was open before is shown under the new title.
        handover_.adopt(nullptr);
    }
}

void RosterOpener::openLastFile() {
    const QString path = settings_.lastFile();
    if (path.isEmpty() || !QFileInfo::exists(path) || !handover_.settleUnsaved()) {
        return;
    }
    attempt(dialogs_, window_,
            [&] { handover_.adopt(std::make_unique<RosterDocument>(path.toStdString())); });
}

} // namespace qb
