#pragma once

#include "player/roster_document.h"
#include "shell/dialogs.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace qb {

class AppSettings;
class GameAssets;
class PersonalPage;
class PlayerFileTransfer;
class RosterSaver;

// What the window does when another roster is opened.
struct RosterHandover {
    // Before the open roster's unsaved edits would be lost: whether to go on.
    std::function<bool()> settleUnsaved;
    // Makes the document the open roster; none: nothing is open.
    std::function<void(std::unique_ptr<RosterDocument>)> adopt;
};

// Opening a roster: the Open command, File, Last File and a file named at start. The
// opened file's name is in the window's title and its header in the status line, and
// the saves of it cut off earlier are recovered first. A player file (".data") opened the
// same ways is offered for import into the open roster instead.
class RosterOpener {
public:
    // `title` is the window's title while no file is open.
    RosterOpener(AppSettings& settings, Dialogs& dialogs, QWidget* window, QString title,
                 GameAssets& game, PersonalPage& personal, RosterSaver& saver,
                 PlayerFileTransfer& playerFiles, RosterHandover handover);

    // Insists on the game folder first, then asks for a file.
    void chooseAndOpen();
    // A file named at start: the game folder is insisted on first, as the Open command does.
    void openAfterGameCheck(const QString& path);
    // The Open command after its dialog.
    void open(const QString& chosen);
    void openLastFile();

private:
    AppSettings& settings_;
    Dialogs& dialogs_;
    QWidget* window_;
    QString title_;
    GameAssets& game_;
    PersonalPage& personal_;
    RosterSaver& saver_;
    PlayerFileTransfer& playerFiles_;
    RosterHandover handover_;
};

} // namespace qb
