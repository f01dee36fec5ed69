#pragma once

#include "player/roster_document.h"
#include "shell/dialogs.h"

#include <QObject>
#include <memory>

namespace qb {

class AppSettings;
class SlotListPage;
class PlayerPresenter;

// The More page's export of the chosen slot to a player file and import of one into it.
// An import is written to the roster at once and replaces the slot's unsaved edits.
class PlayerFileTransfer : public QObject {
    Q_OBJECT

public:
    PlayerFileTransfer(const std::unique_ptr<RosterDocument>& document, AppSettings& settings,
                       Dialogs& dialogs, QWidget* window, PlayerPresenter& presenter,
                       SlotListPage& slotList);

    // A player file opened as a roster would be (double-clicked, named at the start, or
    // chosen in the Open dialog): imported into the slot the user chooses of the open
    // roster; with none open, says so.
    void importFile(const QString& path);

private:
    void exportPlayer();
    void importPlayer();
    // Asks before the slot's player is replaced by the file's, then imports it.
    void importInto(int slot, const QString& path);
    void message(QMessageBox::Icon icon, const QString& text);
    // `name` in the folder a player file was last exported to or imported from, else in
    // the roster's folder.
    QString proposedFile(const QString& name);
    void rememberFolder(const QString& chosen);

    const std::unique_ptr<RosterDocument>& document_;
    AppSettings& settings_;
    Dialogs& dialogs_;
    QWidget* window_;
    PlayerPresenter& presenter_;
    SlotListPage& slotList_;
};

} // namespace qb
