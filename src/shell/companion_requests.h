#pragma once

#include "shell/dialogs.h"
#include "shell/roster_opener.h"

#include <QObject>

namespace qb {

class PlayerNameBox;
class PlayerPresenter;

// The companion program's requests to show a player of a file ("index|path"), received
// over the editor's link: the player of the open roster is chosen; another roster is
// opened after a question. The window comes to the front after each.
class CompanionRequests : public QObject {
    Q_OBJECT

public:
    CompanionRequests(Dialogs& dialogs, QWidget* window, PlayerPresenter& presenter,
                      PlayerNameBox& names, RosterHandover handover);

    void handle(const QString& command);

private:
    void openRequestedRoster(const QString& path, int entry);
    void selectRequestedPlayer(int index);

    Dialogs& dialogs_;
    QWidget* window_;
    PlayerPresenter& presenter_;
    PlayerNameBox& names_;
    RosterHandover handover_;
};

} // namespace qb
