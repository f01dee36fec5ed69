#pragma once

#include "player/roster_document.h"
#include "saving/safe_write.h"
#include "shell/dialogs.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class QUndoStack;
class QWidget;

namespace qb {

class AppSettings;
class PersonalPage;
class PlayerNameBox;
class PlayerPresenter;

// How the window's saves write: backups as the settings say, and `force` to overwrite
// a slot another program changed.
SafetyOptions saveSafety(const AppSettings& settings, bool force);

// Saving the open roster: the player on screen, or every player with unsaved edits as one
// batch, with the questions about players another program changed in the file meanwhile
// and the report after; and the saves cut off earlier, recovered.
class RosterSaver {
public:
    RosterSaver(const std::unique_ptr<RosterDocument>& document,
                const std::unique_ptr<QUndoStack>& history, const AppSettings& settings,
                Dialogs& dialogs, QWidget* window, PlayerPresenter& presenter, PlayerNameBox& names,
                PersonalPage& personal);

    void saveShownPlayer();
    // Writes every player with unsaved edits as one batch and says how many. A player
    // another program changed in the file meanwhile is asked about first: overwritten,
    // reloaded from the file (its edits dropped) or, on Cancel, nothing is saved.
    void saveAll();
    // Completes or rolls back the saves cut off earlier and says what it did: at
    // start-up (no file) every journal left behind, at open those of the file.
    void reportRecoveredSaves(const QString& file);

private:
    bool attempt(const std::function<void()>& step, const OnError& onError = {});
    void message(QMessageBox::Icon icon, const QString& text);
    // What Save All does with the players another program changed in the file.
    struct ChangedPlayerAnswers {
        std::set<int> overwrite;
        std::vector<int> reload;
    };
    // Asks about each such player (one answer may apply to those after it); nothing on
    // Cancel.
    std::optional<ChangedPlayerAnswers> askAboutChangedPlayers(const std::vector<int>& changed);
    // After a save: `showSaved` shows the saved players in the lists and pages, then
    // the save's report and notices.
    void reportSaved(const QString& report, const std::function<void()>& showSaved);
    // The names and flags of these slots in both lists and the player on screen, as
    // the document holds them after a Save All.
    void showSavedSlots(const std::vector<int>& saved);
    QString slotName(int slot) const;

    const std::unique_ptr<RosterDocument>& document_;
    const std::unique_ptr<QUndoStack>& history_;
    const AppSettings& settings_;
    Dialogs& dialogs_;
    QWidget* window_;
    PlayerPresenter& presenter_;
    PlayerNameBox& names_;
    PersonalPage& personal_;
};

} // namespace qb
