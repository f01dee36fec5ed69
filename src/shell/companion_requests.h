#pragma once

#include "shell/dialogs.h"
#include "shell/roster_opener.h"

#include <QObject>

class QMainWindow;

namespace qb {

class PlayerNameBox;
class PlayerPresenter;

// The companion program's requests to show a player of a file ("index|path"), received
// over the editor's link: the player of the open roster is chosen; another roster is
// opened after a question. A request never opens a dialog of its own: one that cannot be
// carried out is answered "ERR" and noted in the status line, and while any dialog is
// open every request is refused, so a flood of requests leaves the window as it was.
// The window comes to the front after each request carried out.
class CompanionRequests : public QObject {
    Q_OBJECT

public:
    CompanionRequests(Dialogs& dialogs, QMainWindow* window, PlayerPresenter& presenter,
                      PlayerNameBox& names, RosterHandover handover);

    void handle(const QString& command);
    // Why the request cannot be carried out now; empty when it can.
    QString refusal(const QString& command) const;

private:
    // Runs a step of a request; what stops it is noted in the status line.
    bool attempt(const std::function<void()>& step, const QString& context = {});
    void note(const QString& problem);
    void openRequestedRoster(const QString& path, int entry);
    void selectRequestedPlayer(int index);

    Dialogs& dialogs_;
    QMainWindow* window_;
    PlayerPresenter& presenter_;
    PlayerNameBox& names_;
    RosterHandover handover_;
};

} // namespace qb
