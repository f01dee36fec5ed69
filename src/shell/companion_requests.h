#pragma once

#include "player/roster_document.h"
#include "shell/dialogs.h"

#include <QObject>
#include <functional>
#include <memory>

namespace qb {

class PlayerNameBox;
class PlayerPresenter;

// The companion program's requests to show a player of a file ("index|path"), received
// over the editor's link: the player of the open roster is chosen; another roster is
// opened after a question. The window comes to the front after each.
class CompanionRequests : public QObject {
    Q_OBJECT

public:
    // What the window does for a request to open another roster.
    struct Opening {
        // Before unsaved edits would be lost: whether to go on.
        std::function<bool()> settleUnsaved;
        // Makes the document the open roster.
        std::function<void(std::unique_ptr<RosterDocument>)> adopt;
    };
    CompanionRequests(Dialogs& dialogs, QWidget* window, PlayerPresenter& presenter,
                      PlayerNameBox& names, Opening opening);

    void handle(const QString& command);

private:
    void openRequestedRoster(const QString& path, int entry);
    void selectRequestedPlayer(int index);

    Dialogs& dialogs_;
    QWidget* window_;
    PlayerPresenter& presenter_;
    PlayerNameBox& names_;
    Opening opening_;
};

} // namespace qb
