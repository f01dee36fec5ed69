// Demo mode: fresh copies of the demo files on request. Starting the demo keeps what was
// saved into them, so a newcomer's saved change is still there at the next start.
#include "shell/main_window.h"
#include "shell/tools/tool_windows.h"

#include <QAction>
#include <QFileInfo>
#include <QStatusBar>

namespace qb {

void MainWindow::offerDemoReset(const DemoFolder& folder) {
    demo_ = folder;
    findChild<QAction*>(QStringLiteral("mnuResetDemo"))->setVisible(true);
}

void MainWindow::resetDemoFiles() {
    if (!demo_) {
        return;
    }
    const QString open = QFileInfo(openedFileName()).canonicalFilePath();
    const bool demoOpen =
        !open.isEmpty() && (open == QFileInfo(demo_->roster).canonicalFilePath() ||
                            open == QFileInfo(demo_->savedGame).canonicalFilePath());
    QString text = QStringLiteral("Replace demo.pak and demo.sav with fresh copies? The changes "
                                  "saved to them are lost.");
    commitEditors();
    if (const std::size_t unsaved = demoOpen ? document_->pendingSlots().size() : 0; unsaved > 0) {
        text += QStringLiteral("\n\nThe unsaved changes to %1 of %2 are lost too.")
                    .arg(unsaved == 1 ? QStringLiteral("1 player")
                                      : QStringLiteral("%1 players").arg(unsaved),
                         QFileInfo(open).fileName());
    }
    if (!dialogs_.question(this, text, QStringLiteral("Reset Demo Files"))) {
        return;
    }
    // A tool's window may hold a demo file of its own (the compare view's right roster);
    // its own unsaved edits are asked about.
    if (!tools_->closeOwnRosters()) {
        return;
    }
    if (!attempt([this] { prepareDemoFolder(demo_->root, DemoStart::Fresh); })) {
        return;
    }
    if (demoOpen) {
        openRoster(open); // the edits and their history go with the old copy
    }
    statusBar()->showMessage(QStringLiteral("The demo files are fresh copies."));
}

} // namespace qb
