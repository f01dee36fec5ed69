#pragma once

#include "codecs/player_editor.h"
#include "player/roster_document.h"
#include "roster/player_lists.h"
#include "saving/safe_write.h"
#include "shell/app_settings.h"
#include "shell/demo_mode.h"
#include "shell/dialogs.h"

#include <QMainWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QUndoStack;
class QUndoView;

namespace qb {

class AboutPage;
class ShowError;
class CompareWindow;
class SlotListPage;
class Page;
class PersonalPage;
class RosterGridWindow;
class StatisticsPage;
class TabStrip;

// The editor's one window. It assembles the pages, one per tab, the commands
// of its menus and buttons, and the open file. It decodes nothing itself: the pages show
// a PlayerSheet that the core fills from a record, and saving hands the sheet back.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kMajor = 2;
    static constexpr int kMinor = 1;

    MainWindow(AppSettings& settings, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The open command after its dialog: title, status label, last file, reloadRoster.
    void openRoster(const QString& path);
    // Opening a file named at start: the game folder is insisted on first, as the
    // open command does.
    void openRosterAfterGameCheck(const QString& path);
    // The open command: insists on the game folder first, then asks for a file.
    void chooseAndOpenRoster();
    void chooseGameFolder();
    void saveShownPlayer();
    // Writes every player with unsaved edits as one batch and says how many. A player
    // another program changed in the file meanwhile is asked about first: overwritten,
    // reloaded from the file (its edits dropped) or, on Cancel, nothing is saved.
    void saveAll();
    // A request of the companion program: "index|path".
    void handleLinkRequest(const QString& command);
    // In demo mode: File, Reset Demo Files... writes the demo files of `folder` afresh.
    void offerDemoReset(const DemoFolder& folder);

    // The open roster's path; empty while none is open.
    QString openedFileName() const;
    const QString& tempPath() const { return tempPath_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs one step of a command; an error it raises is shown as a critical message.
    // Returns whether the step succeeded.
    bool attempt(const std::function<void()>& step, const OnError& onError = {}) {
        return qb::attempt(dialogs_, this, step, onError);
    }
    void message(QMessageBox::Icon icon, const QString& text);

    // Assembly (main_window.cpp).
    void buildActions();
    void buildTopRow(QWidget* central);
    void buildPages(QWidget* central);
    void prepareWindow();
    void showTab(int tab);
    void nextTab();
    void searchAsTyped(const QKeyEvent& key);

    // The open file and its players (main_window_roster.cpp).
    // Every command reaches the open file through this one place.
    // The open roster; a QuillbayError while none is open.
    const RosterFile& openedRoster() const;
    // The roster's index, empty while none is open.
    const RosterIndex& rosterIndex() const;
    // Makes `document` the open roster and lists its players.
    void adoptRoster(std::unique_ptr<RosterDocument> document);
    // Fills both lists from the roster's index and shows its first player.
    void listPlayers();
    void reloadRoster();
    void showChosenPlayer();
    // Shows the slot's player as the document holds it, with its unsaved edits.
    void showPlayer(int slot);
    // Shows the slot's player as the file holds it now, its unsaved edits dropped.
    // Shows the slot's name in both lists again, as the file holds it now.
    void showSlotName(int slot);
    // Shows the player repaired and, in the status line, what the repairs changed.
    void showRepairs(const FieldRepairs& repairs);
    // Asks before unsaved edits of the slot are dropped, then reloads it.
    void reloadPlayer(int slot);
    void reloadPlayerDroppingEdits(int slot);
    // The question's and the grid's account of a player the editors cannot show.
    QString unshowableText(int slot, const ShowError& error) const;
    // Loads the player with the fields its editors cannot show reset, as unsaved edits.
    void showRepairedPlayer(int slot);
    // The player on screen: the document's, or while none could be shown, the window's
    // own editor holding what the editors show.
    PlayerEditor& shownPlayer();
    // Makes what the editors show and the shown player does not into undoable edits.
    void commitEditors();
    // After the history moved (a step pushed, undone or redone): the last of the editors'
    // steps it went over brings its player and tab back on screen; the editors show
    // what any step did to their player.
    void historyMoved(int index);
    void undoOrRedo(bool redo);
    // The title's asterisk, the count of unsaved players and their marks in the player list.
    void showUnsaved();
    // Marks the captions of the shown player's unsaved fields and the tabs holding them.
    void showChangedFields();
    // The Undo History list, beside the pages: clicking a step goes back or forward to it.
    void showHistory();
    // Before unsaved edits would be lost: asks to save them all, drop them or cancel.
    // Returns whether to go on.
    bool settleUnsaved();
    void showStatisticsFormat(int format);
    void openLastFile();
    void exportPlayer();
    void importPlayer();
    void showSheet();
    void readSheet();
    SafetyOptions safety(bool force) const;
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
    void reportRecoveredSaves(const QString& file);

    // The roster grid over the open document (main_window_grid.cpp).
    void showRosterGrid();
    // Edits of the grid, the compare view or an edits file as one step of the open
    // roster's history: the editors' own changes are committed first.
    void pushEdits(const QString& text, std::vector<Edit> edits);
    void openGridPlayer(int slot);

    // The compare view, backups and patches (main_window_compare.cpp).
    void chooseRosterToCompare();
    // Opens the compare view with the open roster on the left and `path` on the right.
    void compareWith(const QString& path);
    // The backups of the open roster; the one chosen is opened in the compare view.
    void showBackups();
    // Shows what an edits file (CSV or JSON, as `quillbay-cli apply` takes; a patch is
    // one) changes and, once confirmed, applies it as one undoable step.
    void applyEditsFile();

    // Fresh demo files, after a question that names what is lost (main_window_demo.cpp).
    void resetDemoFiles();

    // The companion's requests (main_window_link.cpp).
    void openRequestedRoster(const QString& path, int entry);
    void selectRequestedPlayer(int index);

    // The game folder, its pictures and the commentary names (main_window_game.cpp).
    bool requireGameFolder();
    QString archivePath() const;
    void showFace(int face);
    void showBat(int bat);
    void loadCommentaryNames();
    void playCommentary();
    void deleteTemporaryFiles();

    AppSettings& settings_;
    Dialogs& dialogs_;
    // What the editors show while no player of the document could be shown.
    PlayerEditor editor_;
    // The open file's slot table, read once per open, and its two lists viewing into it.
    std::unique_ptr<RosterDocument> document_;
    ChangeSubscription listening_; // to the open document's changes
    // The open roster's edits, undoable; a new history for each roster opened.
    std::unique_ptr<QUndoStack> history_;
    // The roster grid while it is open; it is closed when another roster is opened.
    QPointer<RosterGridWindow> grid_;
    // The compare view of the open roster, while it is open.
    QPointer<CompareWindow> compare_;
    // The slot of the document's player on screen; -1 while none is.
    int shownSlot_ = -1;
    int historyIndex_ = 0; // where the history was before it last moved
    // The entries of the player list marked as holding unsaved edits.
    std::set<int> markedSlots_;
    QString gamePath_;
    std::optional<DemoFolder> demo_; // in demo mode
    QString tempPath_;
    std::unique_ptr<QTemporaryDir> tempDir_;
    bool showingState_ = false;
    // The player list's entry when its list last opened (-1: not open).
    bool typedInName_ = false; // the Name box's text was typed since the last search
    int entryAtPopup_ = -1;

    QComboBox* playerList_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QLabel* unsavedLabel_ = nullptr;
    QUndoView* historyView_ = nullptr; // made when first shown
    TabStrip* tabStrip_ = nullptr;
    QAction* lastFileAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* gameFolderAction_ = nullptr;
    std::vector<Page*> pages_; // tab 1 first, in the order of the tab table
    PersonalPage* personal_ = nullptr;
    StatisticsPage* statistics_ = nullptr;
    AboutPage* about_ = nullptr;
    SlotListPage* more_ = nullptr;
};

} // namespace qb
