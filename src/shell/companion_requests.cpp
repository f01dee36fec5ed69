#include "shell/companion_requests.h"

#include "link/link_request.h"
#include "shell/companion_link.h"
#include "shell/player_name_box.h"
#include "shell/player_presenter.h"

#include <QWidget>
#include <utility>

namespace qb {

CompanionRequests::CompanionRequests(Dialogs& dialogs, QWidget* window, PlayerPresenter& presenter,
                                     PlayerNameBox& names, RosterHandover handover)
    : QObject(window), dialogs_(dialogs), window_(window), presenter_(presenter), names_(names),
      handover_(std::move(handover)) {
    auto* server = new LinkServer(linkName(kEditorTopic), this);
    connect(server, &LinkServer::commandReceived, this, &CompanionRequests::handle);
}

void CompanionRequests::handle(const QString& command) {
    attempt(dialogs_, window_, [&] {
        const LinkRequest request = parseLinkRequest(command.toStdString());
        const QString path = QString::fromStdString(request.path);
        if (path == presenter_.openedFileName()) {
            selectRequestedPlayer(request.entry);
        } else if (dialogs_.question(window_, QStringLiteral("Do you want to open ") + path,
                                     QStringLiteral("Quillbay")) &&
                   handover_.settleUnsaved()) {
            openRequestedRoster(path, request.entry);
        }
    });
    // After a request the window comes to the front.
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void CompanionRequests::openRequestedRoster(const QString& path, int entry) {
    attempt(dialogs_, window_,
            [&] {
                // The file is checked before it replaces the open one, so a bad path never
                // leaves a half-opened roster.
                handover_.adopt(std::make_unique<RosterDocument>(path.toStdString()));
                selectRequestedPlayer(entry);
            },
            {.wording = [](const QuillbayError& error) {
                return "The roster the companion program asked for cannot be opened: " +
                       error.description();
            }});
}

void CompanionRequests::selectRequestedPlayer(int index) {
    if (index >= names_.count()) {
        dialogs_.message(window_, QMessageBox::Warning, QStringLiteral("Non-continous roster"));
        return;
    }
    names_.choose(index);
}

} // namespace qb
