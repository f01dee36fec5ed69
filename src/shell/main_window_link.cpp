// The companion program's requests to show a player of a file.
#include "link/link_request.h"
#include "shell/main_window.h"

#include <QComboBox>

namespace qb {

void MainWindow::handleLinkRequest(const QString& command) {
    attempt([&] {
        const LinkRequest request = parseLinkRequest(command.toStdString());
        const QString path = QString::fromStdString(request.path);
        if (path == openedFileName()) {
            selectRequestedPlayer(request.entry);
        } else if (dialogs_.question(this, QStringLiteral("Do you want to open ") + path,
                                     QStringLiteral("Quillbay")) &&
                   settleUnsaved()) {
            openRequestedRoster(path, request.entry);
        }
    });
    // After a request the window comes to the front.
    show();
    raise();
    activateWindow();
}

void MainWindow::openRequestedRoster(const QString& path, int entry) {
    attempt(
        [&] {
            // The file is checked before it replaces the open one, so a bad path never
            // leaves a half-opened roster.
            adoptRoster(std::make_unique<RosterDocument>(path.toStdString()));
            selectRequestedPlayer(entry);
        },
        {.wording = [](const QuillbayError& error) {
            return "The roster the companion program asked for cannot be opened: " +
                   error.description();
        }});
}

void MainWindow::selectRequestedPlayer(int index) {
    if (index >= playerList_->count()) {
        message(QMessageBox::Warning, QStringLiteral("Non-continous roster"));
        return;
    }
    if (index == playerList_->currentIndex()) {
        reloadPlayer(index);
    } else {
        playerList_->setCurrentIndex(index);
    }
}

} // namespace qb
