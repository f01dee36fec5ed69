#include "shell/demo_reset.h"

#include "shell/player_presenter.h"

#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <utility>

namespace qb {

DemoReset::DemoReset(DemoFolder folder, const std::unique_ptr<RosterDocument>& document,
                     Dialogs& dialogs, PlayerPresenter& presenter, Window window)
    : folder_(std::move(folder)), document_(document), dialogs_(dialogs), presenter_(presenter),
      window_(std::move(window)) {}

void DemoReset::run() {
    const QString open = QFileInfo(presenter_.openedFileName()).canonicalFilePath();
    const bool demoOpen =
        !open.isEmpty() && (open == QFileInfo(folder_.roster).canonicalFilePath() ||
                            open == QFileInfo(folder_.savedGame).canonicalFilePath());
    QString text = QStringLiteral("Replace demo.pak and demo.sav with fresh copies? The changes "
                                  "saved to them are lost.");
    presenter_.commitEditors();
    if (const std::size_t unsaved = demoOpen ? document_->pendingSlots().size() : 0; unsaved > 0) {
        text += QStringLiteral("\n\nThe unsaved changes to %1 of %2 are lost too.")
                    .arg(unsaved == 1 ? QStringLiteral("1 player")
                                      : QStringLiteral("%1 players").arg(unsaved),
                         QFileInfo(open).fileName());
    }
    if (!dialogs_.question(window_.window, text, QStringLiteral("Reset Demo Files")) ||
        !window_.closeToolRosters()) {
        return;
    }
    if (!attempt(dialogs_, window_.window,
                 [this] { prepareDemoFolder(folder_.root, DemoStart::Fresh); })) {
        return;
    }
    if (demoOpen) {
        window_.reopen(open); // the edits and their history go with the old copy
    }
    window_.window->statusBar()->showMessage(QStringLiteral("The demo files are fresh copies."));
}

} // namespace qb
