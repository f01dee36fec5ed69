#pragma once

#include "codecs/player_editor.h"
#include "player/roster_document.h"
#include "shell/dialogs.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <span>

class QLabel;
class QPushButton;
class QUndoStack;

namespace qb {

class SlotListPage;
class Page;
class PersonalPage;
class PlayerNameBox;
class ShowError;
class StatisticsPage;
class TabStrip;

// The player on screen: which of the open roster's players the pages show, showing it
// (as the file holds it now, repaired, or as far as it could be shown), turning what
// the editors show into undoable edits, bringing a step's player back when the history
// moves, and the marks of what is unsaved. The window owns the roster and its history;
// this reads them through the window's pointers, which each opening replaces.
class PlayerPresenter : public QObject {
    Q_OBJECT

public:
    // The widgets it shows the player in.
    struct Views {
        std::span<Page* const> pages;
        TabStrip* tabs;
        PersonalPage* personal;
        StatisticsPage* statistics;
        SlotListPage* slotList;
        PlayerNameBox* names;
        QPushButton* saveButton;
        QLabel* unsavedLabel;
    };
    PlayerPresenter(const std::unique_ptr<RosterDocument>& document,
                    const std::unique_ptr<QUndoStack>& history, Dialogs& dialogs, QWidget* window,
                    const Views& views);

    // The open roster; a QuillbayError while none is open.
    const RosterFile& openedRoster() const;
    // The roster's index, empty while none is open.
    const RosterIndex& rosterIndex() const;
    // The open roster's path; empty while none is open.
    QString openedFileName() const;

    // After the window let go of the roster shown: none of its players is on screen.
    void leavePlayer() { shownSlot_ = -1; }
    // Follows the changes of a newly opened roster and the moves of its new history.
    void follow();
    // Fills both lists from the roster's index and shows its first player.
    void listPlayers();
    // Reads the open roster again and lists its players.
    void reloadRoster();
    // Whether showing a player may put a question or a warning in a dialog. Never while a
    // name is typed into the Name box: the next typed key would answer it. What it would
    // have said goes to the status line and the Personal page's note instead.
    enum class Asking { Allowed, Never };
    // Shows the slot's player as the document holds it, with its unsaved edits.
    void showPlayer(int slot, Asking asking = Asking::Allowed);
    // Shows the player on screen again as the document holds it after a save: what the
    // editors showed is saved or dropped, none of it an edit to commit.
    void showAgain();
    // Shows the slot's name in both lists again, as the file holds it now.
    void showSlotName(int slot);
    // Shows again, in both lists, the names the file now holds that they do not show.
    void showChangedSlotNames();
    // Asks before unsaved edits of the slot are dropped, then reloads it.
    void reloadPlayer(int slot);
    void reloadPlayerDroppingEdits(int slot);
    // Shows the player repaired and, in the status line, what the repairs changed.
    void showRepairs(const FieldRepairs& repairs);
    // The slot of the document's player on screen; -1 while none is.
    int shownSlot() const { return shownSlot_; }
    // What the editors show: the document's player on screen, or while none is, the
    // window's own form state (nothing, or as much of a player as could be shown).
    const PlayerSheet& shownSheet() const;
    // Refuses a save while no player of the document is on screen, saying why.
    void requireShownPlayer() const;
    // Makes what the editors show and the shown player does not into undoable edits.
    void commitEditors();

private:
    bool attempt(const std::function<void()>& step, const OnError& onError = {},
                 Asking asking = Asking::Allowed);
    // Says `text` in the status line, on one line.
    void noteInStatusLine(const QString& text);
    // The question's and the grid's account of a player the editors cannot show.
    QString unshowableText(int slot, const ShowError& error) const;
    // Loads the player with the fields its editors cannot show reset, as unsaved edits.
    void showRepairedPlayer(int slot);
    // After the history moved (a step pushed, undone or redone): the last of the editors'
    // steps it went over brings its player and tab back on screen; the editors show
    // what any step did to their player.
    void historyMoved(int index);
    // The title's asterisk, the count of unsaved players and their marks in the player list.
    void showUnsaved();
    // Marks the captions of the shown player's unsaved fields and the tabs holding them.
    void showChangedFields();
    void showSheet();
    void readSheet();
    void showStatisticsFormat(int format);

    const std::unique_ptr<RosterDocument>& document_;
    const std::unique_ptr<QUndoStack>& history_;
    Dialogs& dialogs_;
    QWidget* window_;
    Views views_;
    ChangeSubscription listening_; // to the open document's changes
    // What the editors show while no player of the document is on screen: nothing, or
    // as much of an unshowable player as its record shows, with that record, over which
    // the statistics formats switch. It is never saved.
    struct Unshown {
        PlayerSheet sheet;
        Record record{};
        std::optional<int> slot; // the slot shown part-way
    };
    void clearUnshown() { unshown_ = {}; }
    Unshown unshown_;
    int shownSlot_ = -1;
    int historyIndex_ = 0; // where the history was before it last moved
    bool showingState_ = false;
};

} // namespace qb
