#include "shell/main_window.h"

#include "roster/errors.h"
#include "shell/artwork.h"
#include "shell/commentary_names.h"
#include "shell/companion_link.h"
#include "shell/compare/compare_window.h"
#include "shell/grid/roster_grid_window.h"
#include "shell/list_opener.h"
#include "shell/pages/about_page.h"
#include "shell/pages/personal_page.h"
#include "shell/pages/slot_list_page.h"
#include "shell/pages/statistics_page.h"
#include "shell/pages/tab_table.h"
#include "shell/pages/widgets.h"
#include "shell/tab_strip.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>
#include <QUndoView>
#include <utility>

namespace qb {

MainWindow::MainWindow(AppSettings& settings, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), settings_(settings), dialogs_(dialogs), editor_(kCommentaryNameCount) {
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
    connect(playerList_, &QComboBox::currentIndexChanged, this, [this] {
        if (!showingState_) {
            showChosenPlayer();
        }
    });
    // Choosing the entry that is already selected changes no index; it reloads the
    // player from the file all the same, dropping the edits (a revert).
    connect(playerList_, &QComboBox::activated, this, [this](int entry) {
        if (entry == entryAtPopup_) {
            reloadPlayer(entry);
        }
        entryAtPopup_ = -1;
    });
    connect(playerList_->lineEdit(), &QLineEdit::textEdited, this, [this] { typedInName_ = true; });
    auto* linkServer = new LinkServer(linkName(kEditorTopic), this);
    connect(linkServer, &LinkServer::commandReceived, this, &MainWindow::handleLinkRequest);
    qApp->installEventFilter(this);
    prepareWindow();
}

MainWindow::~MainWindow() {
    // They work on the document and history ending with this window: the grid commits
    // an editor left open as it closes.
    delete compare_.data();
    delete grid_.data();
    qApp->removeEventFilter(this);
}

void MainWindow::message(QMessageBox::Icon icon, const QString& text) {
    dialogs_.message(this, icon, text);
}

void MainWindow::buildActions() {
    struct Command {
        const char* menu;
        const char* id; // a separator when there is no text
        const char* text;
        const char* shortcut;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"&File", "mnuOpen", "&Open", "Ctrl+O", [this] { chooseAndOpenRoster(); }},
        {"&File", "mnuSave", "&Save", "Ctrl+S",
         [this] {
             if (saveButton_->isEnabled()) {
                 saveShownPlayer();
             }
         }},
        {"&File", "mnuSaveAll", "Save &All", "Ctrl+Shift+S", [this] { saveAll(); }},
        {"&File", "mnuBar1", nullptr, nullptr, {}},
        {"&File", "mnuCompare", "Compare &With...", "", [this] { chooseRosterToCompare(); }},
        {"&File", "mnuBackups", "&Backups...", "", [this] { showBackups(); }},
        {"&File", "mnuApplyEdits", "Apply Edi&ts File...", "", [this] { applyEditsFile(); }},
        {"&File", "mnuResetDemo", "Reset &Demo Files...", "", [this] { resetDemoFiles(); }},
        {"&File", "mnuBar2", nullptr, nullptr, {}},
        {"&File", "mnuLastFile", "Last File", "Ctrl+L", [this] { openLastFile(); }},
        {"&File", "mnuExit", "&Exit", "Ctrl+W", [this] { close(); }},
        {"E&dit", "mnuUndo", "&Undo", "Ctrl+Z", [this] { undoOrRedo(false); }},
        {"E&dit", "mnuRedo", "&Redo", "Ctrl+Y;Ctrl+Shift+Z", [this] { undoOrRedo(true); }},
        {"&Path", "mnuSetPath", "&Set Path", "Ctrl+P", [this] { chooseGameFolder(); }},
        {"&Path", "mnuCricketPath", "Cricket 2004 Path", "", {}},
        {"&View", "mnuUndoHistory", "Undo &History", "", [this] { showHistory(); }},
        {"&View", "mnuRosterGrid", "Roster &Grid", "Ctrl+G", [this] { showRosterGrid(); }},
    };
    QMenu* menu = nullptr;
    for (const Command& command : commands) {
        const QString title = QString::fromLatin1(command.menu);
        if (menu == nullptr || menu->title() != title) {
            menu = menuBar()->addMenu(title);
            menu->setObjectName(QStringLiteral("mnu") + QString(title).remove(QLatin1Char('&')));
        }
        if (command.text == nullptr) {
            menu->addSeparator()->setObjectName(QString::fromLatin1(command.id));
            continue;
        }
        QAction* action = menu->addAction(QString::fromLatin1(command.text));
        action->setObjectName(QString::fromLatin1(command.id));
        // Several shortcuts of one command are separated by ';'.
        QList<QKeySequence> shortcuts;
        for (const QString& shortcut : QString::fromLatin1(command.shortcut).split(u';')) {
            shortcuts << QKeySequence(shortcut);
        }
        action->setShortcuts(shortcuts);
        addAction(action);
        if (command.run) {
            connect(action, &QAction::triggered, this, command.run);
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
    playerList_ = named(new QComboBox(central), QStringLiteral("cboPlayerName"));
    playerList_->setEditable(true);
    playerList_->setInsertPolicy(QComboBox::NoInsert);
    playerList_->setCompleter(nullptr);
    playerList_->setGeometry(twips(840, 120, 2055, 315));
    named(caption(central, QStringLiteral("&Name :"), playerList_), QStringLiteral("lblName"))
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
    new ListOpener(playerList_);

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
    const auto index = [this]() -> const RosterIndex& { return rosterIndex(); };
    for (const TabRow& tab : tabTable()) {
        pages_.push_back(tab.make({static_cast<int>(pages_.size()) + 1, central, index}));
    }
    personal_ = central->findChild<PersonalPage*>();
    statistics_ = central->findChild<StatisticsPage*>();
    about_ = central->findChild<AboutPage*>();
    more_ = central->findChild<SlotListPage*>();
    connect(personal_, &PersonalPage::faceChosen, this, &MainWindow::showFace);
    connect(personal_, &PersonalPage::batChosen, this, &MainWindow::showBat);
    connect(personal_, &PersonalPage::commentaryRequested, this, &MainWindow::playCommentary);
    connect(statistics_, &StatisticsPage::formatChosen, this, &MainWindow::showStatisticsFormat);
    connect(more_, &SlotListPage::importRequested, this, &MainWindow::importPlayer);
    connect(more_, &SlotListPage::exportRequested, this, &MainWindow::exportPlayer);
    for (Page* page : pages_) {
        connect(page, &Page::edited, this, &MainWindow::commitEditors);
    }
}

void MainWindow::prepareWindow() {
    setWindowTitle(QStringLiteral("Quillbay V%1.%2").arg(kMajor).arg(kMinor));
    tempDir_ =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quillbay-XXXXXX"));
    tempPath_ = tempDir_->path() + QLatin1Char('/');
    tabStrip_->setEnabled(false);
    gamePath_ = settings_.gamePath();
    lastFileAction_->setEnabled(!gamePath_.isEmpty());
    if (gamePath_.size() >= 6) {
        gameFolderAction_->setText(gamePath_);
    }
    centralWidget()->setFixedSize(twips(0, 0, 4680, 6500).size());
    for (Page* page : pages_) {
        page->hide();
    }
    tabStrip_->selectTab(about_->tab());
    loadCommentaryNames();
    reportRecoveredSaves({});
}

void MainWindow::showHistory() {
    if (historyView_ == nullptr) {
        auto* dock = named(new QDockWidget(QStringLiteral("Undo History"), this),
                           QStringLiteral("fraUndoHistory"));
        historyView_ = named(new QUndoView(history_.get(), dock), QStringLiteral("lsvUndoHistory"));
        historyView_->setEmptyLabel(QStringLiteral("As opened"));
        dock->setWidget(historyView_);
        addDockWidget(Qt::RightDockWidgetArea, dock);
    }
    historyView_->parentWidget()->show();
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

void MainWindow::searchAsTyped(const QKeyEvent& key) {
    QLineEdit* edit = playerList_->lineEdit();
    // Escape empties the box and leaves the player shown.
    if (key.key() == Qt::Key_Escape) {
        edit->clear();
        typedInName_ = false;
        return;
    }
    // Moving and deleting never complete. Nor does letting go of a key that typed nothing
    // (a modifier, a shortcut, a letter whose Ctrl was let go of first).
    if (key.key() == Qt::Key_Left || key.key() == Qt::Key_Right || key.key() == Qt::Key_Delete ||
        key.key() == Qt::Key_Backspace) {
        typedInName_ = false;
    }
    if (!std::exchange(typedInName_, false)) {
        return;
    }
    const QString typed = edit->text();
    const int found = findPlayerWithPrefix(rosterIndex(), typed.toStdString());
    if (found >= 0) {
        if (found == playerList_->currentIndex()) {
            reloadPlayer(found);
        } else {
            playerList_->setCurrentIndex(found);
        }
        edit->setText(playerList_->itemText(found));
    }
    edit->setSelection(static_cast<int>(typed.size()),
                       static_cast<int>(edit->text().size() - typed.size()));
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
    // A text box takes Ctrl+Z and Ctrl+Shift+Z for its own typing; with nothing of its own
    // to undo or redo it lets them through to the window's Undo and Redo.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* pressed = static_cast<QKeyEvent*>(event);
        if (const auto* edit = qobject_cast<QLineEdit*>(watched);
            edit != nullptr &&
            ((pressed->matches(QKeySequence::Undo) && !edit->isUndoAvailable()) ||
             (pressed->matches(QKeySequence::Redo) && !edit->isRedoAvailable()))) {
            return true;
        }
    }
    if (event->type() == QEvent::Show && watched == playerList_->view()->window()) {
        entryAtPopup_ = playerList_->currentIndex();
    }
    // The keyboard's keys reach the list itself, its text box's focus proxy, which hands
    // them on without this filter seeing them again.
    if (key != nullptr && (watched == playerList_ || watched == playerList_->lineEdit())) {
        searchAsTyped(*key);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!settleUnsaved()) {
        event->ignore();
        return;
    }
    deleteTemporaryFiles();
    event->accept();
}

} // namespace qb
