#pragma once

#include "player/roster_document.h"
#include "saving/safe_write.h"
#include "shell/app_settings.h"
#include "shell/companion_requests.h"
#include "shell/demo_mode.h"
#include "shell/dialogs.h"
#include "shell/game_assets.h"
#include "shell/player_presenter.h"
#include "shell/roster_opener.h"
#include "shell/roster_saver.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QUndoStack;
class QUndoView;

namespace qb {

class AboutPage;
class DemoReset;
class Page;
class PersonalPage;
class PlayerNameBox;
class SlotListPage;
class StatisticsPage;
class TabStrip;
class ToolWindows;
struct DocumentTool;
struct ToolContext;

// The editor's one window. It owns the open roster and its undo history, and assembles
// the pages, one per tab, the commands of its menus and buttons and the classes that do
// the work: the player on screen (PlayerPresenter), the Name box (PlayerNameBox),
// saving (RosterSaver), opening (RosterOpener), the game folder's files (GameAssets),
// player files (PlayerFileTransfer), the companion's requests (CompanionRequests) and
// demo resets (DemoReset). It decodes nothing itself: the pages show a PlayerSheet that
// the core fills from a record, and saving hands the sheet back.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kMajor = 2;
    static constexpr int kMinor = 1;

    MainWindow(AppSettings& settings, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opening a roster (see RosterOpener).
    void openRoster(const QString& path) { opener_->open(path); }
    void openRosterAfterGameCheck(const QString& path) { opener_->openAfterGameCheck(path); }
    void chooseAndOpenRoster() { opener_->chooseAndOpen(); }
    void chooseGameFolder() { game_->chooseGameFolder(); }
    // File, Save and Save All (see RosterSaver).
    void saveShownPlayer() { saver_->saveShownPlayer(); }
    void saveAll() { saver_->saveAll(); }
    // A request of the companion program: "index|path".
    void handleLinkRequest(const QString& command) { requests_->handle(command); }
    // In demo mode: File, Reset Demo Files... writes the demo files of `folder` afresh.
    void offerDemoReset(const DemoFolder& folder);

    // The open roster's path; empty while none is open.
    QString openedFileName() const { return presenter_->openedFileName(); }
    const QString& tempPath() const { return game_->tempPath(); }

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

    // The open roster and its history (main_window_roster.cpp).
    // Makes `document` the open roster with a fresh history and lists its players.
    void adoptRoster(std::unique_ptr<RosterDocument> document);
    void undoOrRedo(bool redo);
    // The Undo History list, beside the pages: clicking a step goes back or forward to it.
    void showHistory();
    // Before unsaved edits would be lost: asks to save them all, drop them or cancel.
    // Returns whether to go on.
    bool settleUnsaved();
    void commitEditors() { presenter_->commitEditors(); }
    SafetyOptions safety(bool force) const { return saveSafety(settings_, force); }

    // The tools of the open document (src/shell/tools): running one with what it is
    // handed, and the main window's commands only they use (main_window_tools.cpp).
    void openTool(const DocumentTool& tool);
    ToolContext toolContext();
    // Edits of a tool as one step of the open roster's history: the editors' own changes
    // are committed first.
    void pushEdits(const QString& text, std::vector<Edit> edits);
    // Shows the slot's player, chosen in a tool, and brings the window to the front.
    void presentPlayer(int slot);

    AppSettings& settings_;
    Dialogs& dialogs_;
    // The open file's slot table, read once per open, and its two lists viewing into it.
    std::unique_ptr<RosterDocument> document_;
    // The open roster's edits, undoable; a new history for each roster opened.
    std::unique_ptr<QUndoStack> history_;
    GameAssets* game_ = nullptr;
    PlayerNameBox* names_ = nullptr;
    PlayerPresenter* presenter_ = nullptr;
    std::unique_ptr<RosterSaver> saver_;
    std::unique_ptr<RosterOpener> opener_;
    CompanionRequests* requests_ = nullptr;
    std::unique_ptr<DemoReset> demoReset_; // in demo mode

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
    SlotListPage* slotList_ = nullptr;
    // The windows of the open document's tools. Declared last, it is destroyed first: its
    // windows close while the document, its history and the window they use are whole.
    std::unique_ptr<ToolWindows> tools_;
};

} // namespace qb
