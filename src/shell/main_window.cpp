#include "shell/main_window.h"

#include "shell/artwork.h"
#include "shell/demo_reset.h"
#include "shell/list_opener.h"
#include "shell/menu_commands.h"
#include "shell/pages/about_page.h"
#include "shell/pages/personal_page.h"
#include "shell/pages/slot_list_page.h"
#include "shell/pages/statistics_page.h"
#include "shell/pages/tab_table.h"
#include "shell/pages/widgets.h"
#include "shell/player_file_transfer.h"
#include "shell/player_name_box.h"
#include "shell/tab_strip.h"
#include "shell/text_box_undo_keys.h"
#include "shell/tools/document_tools.h"
#include "shell/tools/tool_windows.h"
#include "system/errors.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>
#include <string_view>
#include <utility>

namespace qb {
namespace {

// The title while no file is open; an open file's name follows it.
QString versionTitle() {
    return QStringLiteral("Quillbay V%1.%2").arg(MainWindow::kMajor).arg(MainWindow::kMinor);
}

} // namespace

MainWindow::MainWindow(AppSettings& settings, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), settings_(settings), dialogs_(dialogs),
      tools_(std::make_unique<ToolWindows>()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(windowIcon());
    auto* central = new QWidget(this);
    setCentralWidget(central);
    buildActions();
    buildTopRow(central);
    buildPages(central);
    unsavedLabel_ = named(new QLabel(this), QStringLiteral("lblUnsaved"));
    statusBar()->addPermanentWidget(unsavedLabel_);
    connect(tabStrip_, &TabStrip::tabSelected, this, &MainWindow::showTab);
    presenter_ = new PlayerPresenter(
        document_, history_, dialogs_, this,
        {pages_, tabStrip_, personal_, statistics_, slotList_, names_, saveButton_, unsavedLabel_});
    saver_ = std::make_unique<RosterSaver>(document_, history_, settings_, dialogs_, this,
                                           *presenter_, *names_, *personal_);
    auto* playerFiles =
        new PlayerFileTransfer(document_, settings_, dialogs_, this, *presenter_, *slotList_);
    const RosterHandover handover{
        [this] { return settleUnsaved(); },
        [this](std::unique_ptr<RosterDocument> document) { adoptRoster(std::move(document)); }};
    requests_ = new CompanionRequests(dialogs_, this, *presenter_, *names_, handover);
    game_ = new GameAssets(settings_, dialogs_, this, personal_);
    connect(game_, &GameAssets::folderChosen, this, [this](const QString& folder) {
        gameFolderAction_->setText(folder);
        lastFileAction_->setEnabled(true);
    });
    opener_ = std::make_unique<RosterOpener>(settings_, dialogs_, this, versionTitle(), *game_,
                                             *personal_, *saver_, *playerFiles, handover);
    new TextBoxUndoKeys(this);
    // Installed after the Name box's own filter, so it runs first: a Ctrl+Tab it takes
    // never reaches the Name box's search.
    qApp->installEventFilter(this);
    prepareWindow();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

void MainWindow::offerDemoReset(const DemoFolder& folder) {
    demoReset_ = std::make_unique<DemoReset>(
        folder, document_, dialogs_, *presenter_,
        DemoReset::Window{this, [this] { return tools_->closeOwnRosters(); },
                          [this](const QString& path) { openRoster(path); }});
    findChild<QAction*>(QStringLiteral("mnuResetDemo"))->setVisible(true);
}

void MainWindow::message(QMessageBox::Icon icon, const QString& text) {
    dialogs_.message(this, icon, text);
}

void MainWindow::buildActions() {
    // A row without an id stands for the tools of tools/document_tools.cpp in its menu.
    const MenuCommand commands[] = {
        {"&File", "mnuOpen", "&Open", "Ctrl+O", [this] { chooseAndOpenRoster(); }},
        {"&File", "mnuSave", "&Save", "Ctrl+S",
         [this] {
             if (saveButton_->isEnabled()) {
                 saveShownPlayer();
             }
         }},
        {"&File", "mnuSaveAll", "Save &All", "Ctrl+Shift+S", [this] { saveAll(); }},
        {"&File", "mnuBar1", nullptr, nullptr, {}},
        {"&File", nullptr, nullptr, nullptr, {}},
        {"&File", "mnuResetDemo", "Reset &Demo Files...", "",
         [this] {
             if (demoReset_) {
                 demoReset_->run();
             }
         }},
        {"&File", "mnuBar2", nullptr, nullptr, {}},
        {"&File", "mnuLastFile", "Last File", "Ctrl+L", [this] { opener_->openLastFile(); }},
        {"&File", "mnuExit", "&Exit", "Ctrl+W", [this] { close(); }},
        {"E&dit", "mnuUndo", "&Undo", "Ctrl+Z", [this] { undoOrRedo(false); }},
        {"E&dit", "mnuRedo", "&Redo", "Ctrl+Y;Ctrl+Shift+Z", [this] { undoOrRedo(true); }},
        {"&Path", "mnuSetPath", "&Set Path", "Ctrl+P", [this] { chooseGameFolder(); }},
        {"&Path", "mnuCricketPath", "Cricket 2004 Path", "", {}},
        {"&View", "mnuUndoHistory", "Undo &History", "", [this] { showHistory(); }},
        {"&View", nullptr, nullptr, nullptr, {}},
    };
    for (const MenuCommand& command : commands) {
        if (command.id != nullptr) {
            addMenuCommand(*this, QStringLiteral("mnu"), command);
            continue;
        }
        for (const DocumentTool& tool : documentTools()) {
            if (std::string_view(tool.menu) == command.menu) {
                addMenuCommand(*this, QStringLiteral("mnu"),
                               {tool.menu, tool.id, tool.text, tool.shortcut,
                                [this, &tool] { openTool(tool); }});
            }
        }
    }
    lastFileAction_ = findChild<QAction*>(QStringLiteral("mnuLastFile"));
    gameFolderAction_ = findChild<QAction*>(QStringLiteral("mnuCricketPath"));
    undoAction_ = findChild<QAction*>(QStringLiteral("mnuUndo"));
    redoAction_ = findChild<QAction*>(QStringLiteral("mnuRedo"));
    undoAction_->setEnabled(false);
    redoAction_->setEnabled(false);
    findChild<QAction*>(QStringLiteral("mnuResetDemo"))->setVisible(false); // demo mode only
}

void MainWindow::buildTopRow(QWidget* central) {
    auto* playerList = named(new QComboBox(central), QStringLiteral("cboPlayerName"));
    playerList->setEditable(true);
    playerList->setInsertPolicy(QComboBox::NoInsert);
    playerList->setCompleter(nullptr);
    playerList->setGeometry(twips(840, 120, 2055, 315));
    named(caption(central, QStringLiteral("&Name :"), playerList), QStringLiteral("lblName"))
        ->setGeometry(twips(120, 150, 700, 255));
    // The buttons run the commands of the menu items of the same name.
    const auto button = [&](const char* name, const char* action, const QRect& place) {
        QAction* command = findChild<QAction*>(QString::fromLatin1(action));
        auto* created = named(new QPushButton(command->text(), central), QString::fromLatin1(name));
        created->setGeometry(place);
        connect(created, &QPushButton::clicked, command, &QAction::trigger);
        return created;
    };
    saveButton_ = button("cmdSave", "mnuSave", twips(3000, 120, 735, 375));
    saveButton_->setEnabled(false);
    button("cmdOpen", "mnuOpen", twips(3720, 120, 735, 375));
    new ListOpener(playerList);
    names_ = new PlayerNameBox(
        playerList, [this]() -> const RosterIndex& { return presenter_->rosterIndex(); });

    QStringList captions;
    for (const TabRow& tab : tabTable()) {
        captions << QString::fromLatin1(tab.caption);
    }
    tabStrip_ = named(new TabStrip(captions, 5, central), QStringLiteral("TabStrip1"));
    tabStrip_->setGeometry(twips(50, 600, 4560, 650));
    auto* frame = named(new QFrame(central), QStringLiteral("TabStrip1Page"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(twips(50, 1230, 4560, 5170));
}

void MainWindow::buildPages(QWidget* central) {
    const auto index = [this]() -> const RosterIndex& { return presenter_->rosterIndex(); };
    for (const TabRow& tab : tabTable()) {
        pages_.push_back(tab.make({static_cast<int>(pages_.size()) + 1, central, index}));
    }
    personal_ = central->findChild<PersonalPage*>();
    statistics_ = central->findChild<StatisticsPage*>();
    about_ = central->findChild<AboutPage*>();
    slotList_ = central->findChild<SlotListPage*>();
}

void MainWindow::prepareWindow() {
    setWindowTitle(versionTitle());
    tabStrip_->setEnabled(false);
    lastFileAction_->setEnabled(!game_->folder().isEmpty());
    if (game_->folder().size() >= 6) {
        gameFolderAction_->setText(game_->folder());
    }
    centralWidget()->setFixedSize(twips(0, 0, 4680, 6500).size());
    for (Page* page : pages_) {
        page->hide();
    }
    tabStrip_->selectTab(about_->tab());
    game_->loadCommentaryNames();
    saver_->reportRecoveredSaves({});
}

void MainWindow::showTab(int tab) {
    for (Page* page : pages_) {
        page->hide();
    }
    Page* shown = pages_.at(static_cast<std::size_t>(tab - 1));
    shown->show();
    shown->raise();
    about_->setAnimating(shown == about_);
}

void MainWindow::nextTab() {
    const int tab =
        tabStrip_->selectedTab() == tabStrip_->tabCount() ? 0 : tabStrip_->selectedTab();
    tabStrip_->selectTab(tab + 1);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool released = event->type() == QEvent::KeyRelease;
    const auto* key = released ? static_cast<QKeyEvent*>(event) : nullptr;
    // Ctrl+Tab walks through the tabs, from the last back to the first, once a roster is open.
    if (key != nullptr && key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier &&
        tabStrip_->isEnabled() &&
        (watched == this ||
         (watched->isWidgetType() && isAncestorOf(static_cast<QWidget*>(watched))))) {
        nextTab();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!settleUnsaved()) {
        event->ignore();
        return;
    }
    game_->deleteTemporaryFiles();
    event->accept();
}

} // namespace qb
