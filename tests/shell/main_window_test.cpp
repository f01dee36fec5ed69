// The real window, driven on the offscreen platform.
#include "companion_standin.h"
#include "player/roster_document.h"
#include "roster/roster_file.h"
#include "shell/demo_mode.h"
#include "shell/editors.h"
#include "shell/pages/page.h"
#include "shell/pages/statistics_page.h"
#include "shell/pages/tab_table.h"
#include "shell/pages/widgets.h"
#include "shell/picture_box.h"
#include "shell/tab_strip.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QLocalSocket>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <atomic>
#include <thread>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace qb {

using namespace Qt::StringLiterals;
using test::child;
using test::q;
using test::RosterMaker;
using test::TempDir;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    struct Fixture : test::WindowFixture {
        using WindowFixture::WindowFixture;
        // Writes the roster and opens it in the window; returns its path.
        std::string open(const RosterMaker& maker, const std::string& name = "r.pak") const {
            const std::string path = maker.write(dir, name);
            window->openRoster(q(path));
            return path;
        }
    };

    static RosterMaker smallRoster() { return test::fivePlayers().player(6, "Hidden"); }

    // The tab whose page holds `widget`.
    static int tabHolding(const QWidget* widget) {
        while (qobject_cast<const Page*>(widget) == nullptr) {
            widget = widget->parentWidget();
        }
        return qobject_cast<const Page*>(widget)->tab();
    }

    // The offsets at which two files differ.
    static std::vector<std::size_t> changedBytes(const std::vector<std::uint8_t>& before,
                                                 const std::vector<std::uint8_t>& after) {
        std::vector<std::size_t> changed;
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (after[i] != before[i]) {
                changed.push_back(i);
            }
        }
        return changed;
    }

private slots:
    void withoutAGameFolderOpenAsksForOneAndSetPathRefusesAFolderWithoutTheArchive() {
        Fixture f(false);
        QVERIFY(!child<QAction>(*f.window, "mnuLastFile")->isEnabled());
        QCOMPARE(child<QAction>(*f.window, "mnuCricketPath")->text(), u"Cricket 2004 Path"_s);
        f.window->chooseAndOpenRoster(); // asks for the game folder first, then stops
        QCOMPARE(f.dialogs.messages.value(0), u"First Set the path for Cricket 2004 directory"_s);
        // A file named at the start waits for the game folder, then opens.
        const std::string roster = smallRoster().write(f.dir, "named.pak");
        f.dialogs.folders = {f.file(""), f.file("game")};
        f.window->openRosterAfterGameCheck(q(roster));
        QCOMPARE(f.dialogs.messages.mid(1),
                 QStringList({u"First Set the path for Cricket 2004 directory"_s,
                              u"Wrong Path: %1 holds no data/cricket_pc.gob"_s.arg(
                                  QDir::toNativeSeparators(f.file("")))}));
        QCOMPARE(f.settings->gamePath(), f.file("game"));
        QCOMPARE(f.window->openedFileName(), q(roster));
        // The folder dialog started in the user's home, never the program's folder.
        QCOMPARE(f.dialogs.foldersIn.value(0), QDir::toNativeSeparators(QDir::homePath()));
        QVERIFY(child<QAction>(*f.window, "mnuLastFile")->isEnabled());
        f.dialogs.folders = {f.file("")};
        f.window->chooseGameFolder(); // cancelled after Wrong Path: nothing changes
        QCOMPARE(f.dialogs.foldersIn.constLast(), QDir::toNativeSeparators(f.file("game")));
        QCOMPARE(f.settings->gamePath(), f.file("game"));
        f.window->chooseAndOpenRoster(); // the file dialog starts in the game's folder
        QCOMPARE(f.dialogs.openedIn, QStringList{f.file("game")});
    }

    // The folder dialog's prompt of two lines is in its body; its title is one line.
    void theFolderDialogShowsItsPromptInItsBody() {
        const QString prompt = u"Select the path of Cricket 2004\nExample C:\\Games\\"_s;
        QString title;
        QStringList labels;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            title = dialog->windowTitle();
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                labels << label->text();
            }
            dialog->close();
        });
        QVERIFY(SystemDialogs().chooseFolder(nullptr, prompt, {}).isEmpty());
        QCOMPARE(title, u"Select the path of Cricket 2004"_s);
        QVERIFY(labels.contains(prompt));
    }

    void startsEmptyThenOpensRostersAndSavedGames() {
        Fixture f;
        MainWindow& w = *f.window;
        QVERIFY(!child<TabStrip>(w, "TabStrip1")->isEnabled());
        QCOMPARE(child<TabStrip>(w, "TabStrip1")->selectedTab(),
                 tabHolding(child<QWidget>(w, "lblAbout")));
        QVERIFY(!child<QPushButton>(w, "cmdSave")->isEnabled());
        QVERIFY(child<QAction>(w, "mnuLastFile")->isEnabled());
        QVERIFY(child<QTimer>(w, "tmrAbout")->isActive());
        QCOMPARE(w.windowTitle(), u"Quillbay V2.1"_s);
        QCOMPARE(child<QAction>(w, "mnuCricketPath")->text(), f.file("game"));
        QCOMPARE(child<QComboBox>(w, "cboNation")->currentIndex(), -1);
        const std::string sav = f.open(smallRoster().header("Season 3 of 10"), "league.sav");
        QCOMPARE(w.windowTitle(), u"Quillbay V2.1 - league.sav"_s);
        QVERIFY(child<QLabel>(w, "lblStatus")->text().startsWith(u"Season 3 of 10"_s));
        QCOMPARE(child<QComboBox>(w, "cboPlayerName")->count(), 5);
        QCOMPARE(child<QListWidget>(w, "lsvPlayerName")->count(), 1600);
        QVERIFY(child<TabStrip>(w, "TabStrip1")->isEnabled());
        QVERIFY(child<QPushButton>(w, "cmdSave")->isEnabled());

        f.open(smallRoster(), "roster.pak");
        QVERIFY(child<QLabel>(w, "lblStatus")->text().isEmpty());
        QVERIFY(f.dialogs.messages.isEmpty());

        // A saved game named in upper case is read as a roster file, with a warning. (Its
        // own name: on Windows LEAGUE.SAV would be league.sav.)
        QVERIFY(QFile::copy(q(sav), f.file("SEASON.SAV")));
        w.openRoster(f.file("SEASON.SAV"));
        QVERIFY(!f.dialogs.messages.isEmpty());
        QVERIFY(f.dialogs.messages.first().contains(u"rename it to"_s));
    }

    // Every field of the registry is edited on one page, wherever the layout table or the
    // page's own rule places it.
    void everyFieldIsOnOnePage() {
        Fixture f;
        const QList<Page*> pages = f.window->findChildren<Page*>();
        for (const Field& field : fieldRegistry()) {
            const auto holding = std::ranges::count_if(
                pages, [&field](const Page* page) { return page->holds(field.key); });
            QVERIFY2(holding == 1, field.key.c_str());
        }
    }

    // Each editor writes only its own bytes, a 16-byte name among them; a name with a
    // character that has no code is refused whole.
    void editorsWriteOnlyTheirOwnBytes() {
        Fixture f;
        MainWindow& w = *f.window;
        Record r = test::playerRecord("ABCDEFGHIJKLMNOP");
        r[108] = 0x01; // Off Spin
        r[90] = 0x03;  // normalised by the first save
        r[104] = 56;
        r[198] = 2; // injury free shows greyed
        const std::string path = f.open(RosterMaker().record(0, r));
        QCOMPARE(child<QLineEdit>(w, "txtName")->text(), u"ABCDEFGHIJKLMNOP"_s);
        auto* injuryFree = child<ThreeStateBox>(w, "chkSkills_17");
        QCOMPARE(injuryFree->state(), 2);
        injuryFree->click();
        QCOMPARE(injuryFree->state(), 1);
        injuryFree->click();
        QCOMPARE(injuryFree->state(), 0);
        const auto loaded = test::readFileBytes(path);
        w.saveShownPlayer();
        QCOMPARE(f.dialogs.messages.value(0), u"Successfully Saved"_s);
        const auto before = test::readFileBytes(path);
        QCOMPARE(changedBytes(loaded, before), (std::vector<std::size_t>{90, 198}));
        child<QComboBox>(w, "cboBowlingStyle")->setCurrentIndex(3);
        child<QComboBox>(w, "cboFieldingHand")->setCurrentIndex(1);
        child<QComboBox>(w, "cboBat")->setCurrentIndex(7);
        w.saveShownPlayer();
        const auto after = test::readFileBytes(path);
        QCOMPARE(int{after[109]}, 0x06); // left-arm bowler (bit 1), left-handed fielder (bit 2)
        QCOMPARE(changedBytes(before, after), (std::vector<std::size_t>{108, 109, 210}));
        QCOMPARE(child<QComboBox>(w, "cboBowlingStyle")->currentText(), u"Chinaman"_s);
        child<QLineEdit>(w, "txtName")->setText(u"Snow\u2603man"_s);
        w.saveShownPlayer();
        QVERIFY(f.dialogs.messages.last().contains(u"\u2603"_s));
        QCOMPARE(test::readFileBytes(path), after);
        // Saving trims spaces only, as the core does: a trailing tab stays and is refused.
        const auto refusals = f.dialogs.messages.size();
        child<QLineEdit>(w, "txtName")->setText(u" Tab\t"_s);
        w.saveShownPlayer();
        QCOMPARE(f.dialogs.messages.size(), refusals + 1);
        QCOMPARE(test::readFileBytes(path), after);
    }

    // A player that cannot be shown: the question names each field, its stored value and
    // the file. No shows none of the player before it (its edit on a later tab stays
    // its own) and refuses a save; Yes shows the repair that a save then writes, noted
    // until another player is chosen.
    void aFailedLoadNamesWhatIsBrokenAndOffersTheRepair() {
        for (const bool repair : {false, true}) {
            Fixture f;
            MainWindow& w = *f.window;
            RosterMaker maker;
            maker.player(0, "Good").set(0, 104, {56}).set(0, 205, {4}).set(0, 206, {2});
            maker.player(1, "Bad", 0x0A).set(1, 104, {56}).set(1, 205, {30});
            const std::string path = f.open(maker);
            const auto before = test::readFileBytes(path);
            auto* later = child<RatingSlider>(w, "sldBatting1_6");
            if (!repair) {
                later->setValue(22);
            }
            f.dialogs.answers = {repair};
            auto* playerList = child<QComboBox>(w, "cboPlayerName");
            playerList->setCurrentIndex(1);
            QCOMPARE(f.dialogs.questions.value(0),
                     u"Invalid property value: Country (nation), stored value 2 bits\n"
                     "Invalid property value: Face (appearance.face), stored value "
                     "30\nFile: %1, slot 1 (Bad)\n\nReset the fields the editor "
                     "cannot show and load the player?"_s.arg(QDir::toNativeSeparators(q(path))));
            if (!repair) {
                QCOMPARE(child<QLineEdit>(w, "txtName")->text(), u"Bad"_s);
                for (const char* list : {"cboFace", "cboBodyType", "cboBat", "cboCommentary"}) {
                    QCOMPARE(child<QComboBox>(w, list)->currentIndex(), -1);
                }
                QVERIFY(child<QLineEdit>(w, "txtCommentary")->text().isEmpty());
                for (const char* picture : {"picFace", "picBat"}) {
                    QVERIFY(child<PictureBox>(w, picture)->picture().isNull());
                }
                QVERIFY(later->value() != 22);
                QCOMPARE(child<QLabel>(w, "lblUnsaved")->text(), u"1 unsaved player"_s);
                w.saveShownPlayer();
                QVERIFY(f.dialogs.messages.value(0).startsWith(
                    u"Unable to save because of\nThe player in slot 1 was not loaded completely"_s));
                QVERIFY(f.dialogs.messages.value(0).endsWith(
                    u"\n\nMake sure that the file is not opened by other programs"_s));
                QCOMPARE(test::readFileBytes(path), before);
                continue;
            }
            auto* status = child<QLabel>(w, "lblStatus");
            QCOMPARE(child<QComboBox>(w, "cboFace")->currentIndex(), 24);
            QCOMPARE(child<QComboBox>(w, "cboNation")->currentText(), u"BAN"_s);
            QCOMPARE(status->text(), u"Repaired, not saved: nation 2 bits -> BAN, "
                                     "appearance.face 30 -> 24"_s);
            QVERIFY(child<QPushButton>(w, "cmdSave")->isEnabled());
            QCOMPARE(child<QLabel>(w, "lblUnsaved")->text(), u"1 unsaved player"_s);
            playerList->setCurrentIndex(0);
            QVERIFY(status->text().isEmpty());
            playerList->setCurrentIndex(1);
            w.saveShownPlayer();
            QCOMPARE(changedBytes(before, test::readFileBytes(path)),
                     (std::vector<std::size_t>{348 + 205, 348 + 216}));
        }
    }

    void editorsOfAnotherFileAreNeverSaved() {
        Fixture f;
        MainWindow& w = *f.window;
        f.open(smallRoster(), "a.pak");
        child<QLineEdit>(w, "txtName")->setText(u"Edited"_s);
        const std::string other = RosterMaker().player(3, "Later").write(f.dir, "b.pak");
        const auto before = test::readFileBytes(other);
        w.openRoster(q(other));
        QCOMPARE(child<QComboBox>(w, "cboPlayerName")->count(), 0);
        QVERIFY(child<QLineEdit>(w, "txtName")->text().isEmpty());
        QVERIFY(!child<QPushButton>(w, "cmdSave")->isEnabled());
        QVERIFY(!child<QPushButton>(w, "cmdExport")->isEnabled());
        QVERIFY(!child<QPushButton>(w, "cmdImport")->isEnabled());
        w.saveShownPlayer();
        QCOMPARE(test::readFileBytes(other), before);
        // A file that cannot be opened leaves none open: the lists of the one before go.
        test::writeFileBytes(f.dir.file("short.pak"), std::vector<std::uint8_t>(100, 0));
        w.openRoster(q(f.dir.file("short.pak")));
        QVERIFY(w.openedFileName().isEmpty());
        QCOMPARE(child<QListWidget>(w, "lsvPlayerName")->count(), 0);
    }

    // Ctrl+Tab walks the tabs once a roster is open; every menu and tab has its own access
    // key. (scripts/check-shortcuts presses Undo, Redo and Save All.)
    void keysWalkTheTabsAndOpenTheMenus() {
        Fixture f;
        MainWindow& w = *f.window;
        auto* tabStrip = child<TabStrip>(w, "TabStrip1");
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const int about = tabHolding(child<QWidget>(w, "lblAbout"));
        const int last = static_cast<int>(tabTable().size());
        QCOMPARE(tabStrip->tabCount(), last);
        QTest::keyClick(&w, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabStrip->selectedTab(), about);
        f.open(smallRoster());
        QTest::keyClick(&w, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabStrip->selectedTab(), about + 1);
        QVERIFY(!child<QTimer>(w, "tmrAbout")->isActive());
        tabStrip->selectTab(last);
        QTest::keyClick(&w, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabStrip->selectedTab(), 1);
        QVERIFY(child<QWidget>(w, "picPicture_1")->isVisible());
        QVERIFY(!child<QWidget>(w, "picPicture_2")->isVisible());
        QTest::keyClick(&w, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(tabStrip->selectedTab(), 1);
        // Each tab's access key, from the tab table's captions, reaches it from the last tab
        // (that no page's own key takes it is everyAccessKeyHasOneTargetOnEachPage's).
        int tab = 0;
        for (const TabRow& row : tabTable()) {
            ++tab;
            const QKeySequence key = QKeySequence::mnemonic(q(row.caption));
            if (!key.isEmpty()) {
                tabStrip->selectTab(last);
                QTest::keyClick(&w, key[0].key(), Qt::AltModifier);
                QTRY_COMPARE(tabStrip->selectedTab(), tab);
            }
        }
        for (const char* menu : {"mnuFile", "mnuPath"}) {
            auto* popup = w.findChild<QMenu*>(q(menu));
            QTest::keyClick(&w, static_cast<Qt::Key>(popup->title().at(1).toLatin1()),
                            Qt::AltModifier);
            QTRY_VERIFY(popup->isVisible());
            popup->close();
        }
    }

    // Alt and a letter reaches one target wherever the user is: on each page, the page's
    // captions, the tabs, the top row and the menus have no access key twice.
    void everyAccessKeyHasOneTargetOnEachPage() {
        Fixture f;
        MainWindow& w = *f.window;
        using Keys = QMap<int, QStringList>;
        const auto addKey = [](const QString& text, Keys& keys) {
            if (const QKeySequence key = QKeySequence::mnemonic(text); !key.isEmpty()) {
                keys[key[0].key()] << text;
            }
        };
        const auto keysOf = [&](const QList<QWidget*>& widgets, Keys& keys) {
            for (QWidget* widget : widgets) {
                QString text;
                if (auto* label = qobject_cast<QLabel*>(widget)) {
                    text = label->text();
                } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                    text = button->text();
                } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
                    text = frame->title();
                }
                addKey(text, keys);
            }
        };
        QList<Page*> pages = w.findChildren<Page*>();
        QList<QWidget*> shared;
        for (QWidget* widget : w.centralWidget()->findChildren<QWidget*>()) {
            if (std::ranges::none_of(pages,
                                     [&](Page* page) { return page->isAncestorOf(widget); })) {
                shared << widget;
            }
        }
        Keys everywhere;
        keysOf(shared, everywhere);
        for (QAction* menu : w.menuBar()->actions()) {
            addKey(menu->text(), everywhere);
        }
        QStringList clashes;
        for (Page* page : pages) {
            Keys keys = everywhere;
            keysOf(page->findChildren<QWidget*>(), keys);
            for (auto key = keys.cbegin(); key != keys.cend(); ++key) {
                if (key.value().size() > 1) {
                    clashes << page->objectName() + u": "_s + key.value().join(u", "_s);
                }
            }
        }
        QCOMPARE(clashes, QStringList());
    }

    // Choosing the selected player again reverts it and only Down opens the lists; the
    // name box of the list of names finds a player and Goto Empty the next empty slot.
    // (scripts/check-shortcuts types ahead in the player list.)
    void playerListsRevertSearchAndOpenOnlyWithDown() {
        Fixture f;
        MainWindow& w = *f.window;
        auto* sldBowling_4 = child<RatingSlider>(w, "sldBowling_4");
        auto* playerList = child<QComboBox>(w, "cboPlayerName");
        auto* nameList = child<QListWidget>(w, "lsvPlayerName");
        w.show();
        f.open(smallRoster());
        const int stored = sldBowling_4->value();
        sldBowling_4->setValue(stored + 9);
        // Asked first; No (and the same with Cancel) keeps the edit.
        f.dialogs.answers = {false, true};
        for (const int shown : {stored + 9, stored}) {
            playerList->showPopup();
            QTRY_VERIFY(playerList->view()->isVisible());
            QTest::keyClick(playerList->view(), Qt::Key_Return);
            QCOMPARE(sldBowling_4->value(), shown);
        }
        QCOMPARE(f.dialogs.questions, QStringList(2, u"Discard the unsaved changes to Adams?"_s));
        // Only Down opens the player and face lists; F4 and Alt+Down do not.
        for (QComboBox* list : {playerList, child<QComboBox>(w, "cboFace")}) {
            child<TabStrip>(w, "TabStrip1")->selectTab(1);
            QWidget* target = list->isEditable() ? static_cast<QWidget*>(list->lineEdit()) : list;
            QTest::keyClick(target, Qt::Key_F4);
            QTest::keyClick(target, Qt::Key_Down, Qt::AltModifier);
            QVERIFY(!list->view()->isVisible());
            QTest::keyClick(target, Qt::Key_Down);
            QTRY_VERIFY(list->view()->isVisible());
            list->hidePopup();
        }

        child<TabStrip>(w, "TabStrip1")->selectTab(tabHolding(nameList));
        QTest::keyClicks(child<QLineEdit>(w, "txtPlayerName"), u"hid"_s);
        QCOMPARE(nameList->currentRow(), 6);
        QCOMPARE(child<QLineEdit>(w, "txtPlayerName")->text(), u"Hidden"_s);
        child<QPushButton>(w, "cmdGotoEmpty")->click();
        QCOMPARE(nameList->currentRow(), 7);
        nameList->setCurrentRow(2);
        child<QPushButton>(w, "cmdGotoEmpty")->click();
        QCOMPARE(nameList->currentRow(), 5);
    }

    void exportAndImport() {
        Fixture f;
        MainWindow& w = *f.window;
        auto* nameList = child<QListWidget>(w, "lsvPlayerName");
        auto* importButton = child<QPushButton>(w, "cmdImport");
        const std::string path = f.open(smallRoster());
        QVERIFY(QDir().mkpath(f.file("players")));
        nameList->setCurrentRow(1);
        f.dialogs.files = {f.file("players/brown")};
        child<QPushButton>(w, "cmdExport")->click();
        // Proposed beside the roster at first, then where a player file last went; every
        // path is named as the system spells it.
        const auto native = [&](const char* name) {
            return QDir::toNativeSeparators(f.file(name));
        };
        QCOMPARE(f.dialogs.savedIn.value(0), native("Brown"));
        QCOMPARE(f.dialogs.messages.value(0), u"Exported to "_s + native("players/brown.data"));

        // The .data name was not the one confirmed and exists: asked, and No keeps it.
        f.dialogs.files = {f.file("players/brown")};
        f.dialogs.answers = {false};
        child<QPushButton>(w, "cmdExport")->click();
        QCOMPARE(f.dialogs.questions.size(), 1);
        QCOMPARE(f.dialogs.savedIn.value(1), native("players/Brown"));

        const auto before = test::readFileBytes(path);
        nameList->setCurrentRow(3);
        f.dialogs.files = {f.file("players/brown.data")};
        f.dialogs.answers = {false};
        importButton->click(); // answered No
        QCOMPARE(f.dialogs.openedIn.value(0), native("players/Smithers"));
        QCOMPARE(test::readFileBytes(path), before);
        QCOMPARE(f.dialogs.questions.last(),
                 u"Are you sure that you want to replace Smithers with \n\tbrown.data"_s);
        f.dialogs.files = {f.file("players/brown.data")};
        f.dialogs.answers = {true};
        importButton->click();
        QCOMPARE(f.dialogs.messages.last(), u"Replaced Smithers successfully"_s);
        QCOMPARE(nameList->item(3)->text(), u"Brown"_s);
        QCOMPARE(child<QComboBox>(w, "cboPlayerName")->currentIndex(), 0);

        // A player file opened the ways a roster is (double-clicked, named at the start, chosen
        // in the Open dialog) is imported into the slot chosen, as quillbay-cli imports it;
        // the roster stays open.
        const std::string expected = f.copy(path, "expected.pak");
        test::runCli({u"import"_s, q(expected), u"4"_s, f.file("players/brown.data"), u"--yes"_s,
                      u"--no-backup"_s});
        f.dialogs.itemAnswers = {4};
        f.dialogs.answers = {true};
        const QString title = w.windowTitle();
        w.openRoster(f.file("players/brown.data"));
        QCOMPARE(f.dialogs.offered.value(0).value(4), u"4: Taylor"_s);
        QCOMPARE(f.dialogs.offeredFirst.value(0), 0); // the player shown
        QVERIFY(test::readFileBytes(path) == test::readFileBytes(expected));
        QCOMPARE(w.windowTitle(), title);
        QCOMPARE(nameList->item(4)->text(), u"Brown"_s);
        // With no roster open, it says so and opens nothing.
        Fixture empty;
        empty.window->openRoster(f.file("players/brown.data"));
        QVERIFY(empty.dialogs.messages.value(0).startsWith(
            u"brown.data is a player exported from a roster, not a roster."_s));
        QVERIFY(empty.window->openedFileName().isEmpty());
    }

    void statisticsEditsOfTwoFormatsAreKept() {
        Fixture f;
        MainWindow& w = *f.window;
        auto* inningsBox = child<QLineEdit>(w, "txtInnings");
        auto* formatList = child<QComboBox>(w, "cboStatisticsMode");
        // The boxes whose captions are marked as unsaved: the format shown's own.
        const auto marked = [page = w.findChild<StatisticsPage*>()] {
            QStringList boxes;
            for (const QLabel* label : page->findChildren<QLabel*>()) {
                if (label->property("unsaved").toBool()) {
                    boxes << label->buddy()->objectName();
                }
            }
            return boxes;
        };
        const std::string path = f.open(smallRoster());
        inningsBox->setText(u"12"_s);
        test::choose(formatList, 2);
        QCOMPARE(inningsBox->text(), u"0"_s);
        QCOMPARE(marked(), QStringList());
        inningsBox->setText(u"300"_s);
        child<QLineEdit>(w, "txtWickets")->setText(u"3"_s);
        test::choose(formatList, 0);
        QCOMPARE(inningsBox->text(), u"12"_s);
        QCOMPARE(marked(), QStringList{u"txtInnings"_s});
        child<QLineEdit>(w, "txtOvers")->setText(u"10"_s);
        child<QLineEdit>(w, "txtWickets")->setText(u"4"_s);
        child<QLineEdit>(w, "txtBowlingRuns")->setText(u"38"_s);
        QCOMPARE(child<QLineEdit>(w, "txtBowlingSR")->text(), u"15.00"_s);
        QCOMPARE(child<QLineEdit>(w, "txtBowlingER")->text(), u"3.80"_s);
        child<QLineEdit>(w, "txtWickets")->setText(u"0"_s); // no strike rate
        QVERIFY(child<QLineEdit>(w, "txtBowlingSR")->text().isEmpty());
        child<QLineEdit>(w, "txtOvers")->clear(); // no economy rate
        QVERIFY(child<QLineEdit>(w, "txtBowlingER")->text().isEmpty());
        test::choose(formatList, 3);
        w.saveShownPlayer(); // shows the saved player in its first format
        QCOMPARE(formatList->currentIndex(), 0);
        QCOMPARE(inningsBox->text(), u"12"_s);
        const Record saved = RosterFile(path).readSlot(0);
        QCOMPARE(int{saved[20]}, 12);
        QCOMPARE(int{saved[48]}, 0x2C);
        QCOMPARE(int{saved[49]}, 0x01);

        // Marked, every caption of the page still shows whole ("Highest Score").
        w.show();
        child<TabStrip>(w, "TabStrip1")->selectTab(tabHolding(inningsBox));
        const QList<QLabel*> captions = w.findChild<StatisticsPage*>()->findChildren<QLabel*>();
        for (QLabel* label : captions) {
            markUnsaved(label, true);
        }
        QApplication::processEvents();
#ifndef _WIN32 // under Wine the captions are drawn in Wine's substitute fonts, wider
        for (const QLabel* label : captions) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
#endif
    }

    // A player is shown as the file holds it when chosen: another program's change to a
    // player without edits is shown (scripts/check-shortcuts saves over it); one under
    // edits is reported.
    void aChosenPlayerIsReadFromTheFile() {
        Fixture f;
        MainWindow& w = *f.window;
        auto* playerList = child<QComboBox>(w, "cboPlayerName");
        auto* nameBox = child<QLineEdit>(w, "txtName");
        const std::string path = f.open(smallRoster());
        playerList->setCurrentIndex(1);
        test::enter(nameBox, u"Edited"_s);
        playerList->setCurrentIndex(0);
        test::saveEdits(path, {{1, "name", "Outside One"}, {3, "name", "Outside Three"}});
        playerList->setCurrentIndex(3);
        QCOMPARE(nameBox->text(), u"Outside Three"_s);
        QCOMPARE(playerList->itemText(3), u"Outside Three"_s);
        QCOMPARE(child<QListWidget>(w, "lsvPlayerName")->item(3)->text(), u"Outside Three"_s);
        playerList->setCurrentIndex(1);
        QCOMPARE(nameBox->text(), u"Edited"_s);
        QVERIFY(f.dialogs.messages.last().contains(u"changed by another program"_s));
    }

    // Whatever typing a name reaches, it asks nothing: the next typed key would answer.
    void typingAheadNeverOpensADialog() {
        Fixture f;
        MainWindow& w = *f.window;
        RosterMaker maker = test::fivePlayers();
        maker.player(5, "Bad", 0x0A).set(5, 104, {56}).set(5, 205, {30});
        const std::string path = f.open(maker);
        auto* playerList = child<QComboBox>(w, "cboPlayerName");
        auto* nameBox = child<QLineEdit>(w, "txtName");
        playerList->setCurrentIndex(1);
        test::enter(nameBox, u"Edited"_s);
        playerList->setCurrentIndex(0);
        test::saveEdits(path, {{1, "ratings.bowling.Accuracy", "9"}});
        const auto typeName = [&](const QString& prefix) {
            playerList->lineEdit()->selectAll();
            QTest::keyClicks(playerList->lineEdit(), prefix);
        };
        typeName(u"Br"_s);
        QCOMPARE(playerList->currentIndex(), 1);
        QCOMPARE(nameBox->text(), u"Edited"_s);
        QVERIFY(w.statusBar()->currentMessage().contains(u"was changed by another program"_s));
        typeName(u"Ba"_s);
        QCOMPARE(playerList->currentIndex(), 5);
        QVERIFY(child<QLabel>(w, "lblStatus")
                    ->text()
                    .endsWith(u"\n\nChoose the player in the Name list to reset the fields the "
                              "editor cannot show."_s));
        QCOMPARE(f.dialogs.messages, QStringList());
        QCOMPARE(f.dialogs.questions, QStringList());
        // Chosen from the list, the player's repair is offered.
        playerList->showPopup();
        QTRY_VERIFY(playerList->view()->isVisible());
        QTest::keyClick(playerList->view(), Qt::Key_Return);
        QCOMPARE(f.dialogs.questions.size(), 1);
        QVERIFY(f.dialogs.questions[0].endsWith(
            u"Reset the fields the editor cannot show and load the player?"_s));
        QCOMPARE(child<QLabel>(w, "lblUnsaved")->text(), u"1 unsaved player"_s);
    }

    // Edits on three tabs of two players, undone all and redone all, then saved as one batch.
    void everyEditUndoesRedoesAndSavesAsTheDocumentWould() {
        Fixture f;
        MainWindow& w = *f.window;
        auto* playerList = child<QComboBox>(w, "cboPlayerName");
        auto* slider = child<RatingSlider>(w, "sldBowling_4");
        auto* bowlingStyleList = child<QComboBox>(w, "cboBowlingStyle");
        auto* skill = child<QCheckBox>(w, "chkSkills_1");
        auto* nameBox = child<QLineEdit>(w, "txtName");
        auto* inningsBox = child<QLineEdit>(w, "txtInnings");
        auto* undoAction = child<QAction>(w, "mnuUndo");
        auto* redoAction = child<QAction>(w, "mnuRedo");
        const std::string path = f.open(smallRoster());
        const auto stored = test::readFileBytes(path);
        const std::string reference = f.copy(path, "reference.pak");

        // A drag away and back leaves no step.
        const int rating = slider->value();
        slider->setSliderDown(true);
        slider->setSliderPosition(rating + 3);
        slider->setSliderPosition(rating);
        slider->setSliderDown(false);
        QVERIFY(!undoAction->isEnabled());
        // So does a list stepped through and back; stepped on, it is one step.
        const int style = bowlingStyleList->currentIndex();
        const int count = bowlingStyleList->count();
        test::choose(bowlingStyleList, (style + 1) % count);
        test::choose(bowlingStyleList, (style + 2) % count);
        QVERIFY(undoAction->text().endsWith(bowlingStyleList->itemText(style) + u" → "_s +
                                            bowlingStyleList->itemText((style + 2) % count)));
        test::choose(bowlingStyleList, style);
        QVERIFY(!undoAction->isEnabled());
        // A drag of 20 steps is one step of the history.
        slider->setSliderDown(true);
        for (int step = 1; step <= 20; ++step) {
            slider->setSliderPosition(rating + step);
        }
        slider->setSliderDown(false);
        QCOMPARE(undoAction->text(), u"&Undo Accuracy %1 → %2"_s.arg(rating).arg(rating + 20));
        // The value beside the slider, the caption and the tab marked as unsaved.
        QCOMPARE(child<QLabel>(w, "sldBowling_4_value")->text(), QString::number(rating + 20));
        const auto marked = [tabs = child<TabStrip>(w, "TabStrip1")](const QWidget* editor) {
            return tabs->tabButton(tabHolding(editor))->property("unsaved").toBool();
        };
        QLabel* accuracy = nullptr;
        for (QLabel* label : w.findChildren<QLabel*>()) {
            accuracy = label->buddy() == slider ? label : accuracy;
        }
        QVERIFY(accuracy->property("unsaved").toBool());
        QVERIFY(marked(slider) && !marked(child<QWidget>(w, "sldBatting1_0")));
        test::choose(bowlingStyleList, 3);
        skill->click();
        playerList->setCurrentIndex(1);
        test::enter(nameBox, u"Renamed"_s);
        test::enter(inningsBox, u"12"_s);
        // The first player's edits were kept while the second was shown.
        playerList->setCurrentIndex(0);
        QCOMPARE(slider->value(), rating + 20);
        QCOMPARE(bowlingStyleList->currentIndex(), 3);

        // The title's asterisk goes when the last change is undone and when it is saved.
        const auto titleMarked = [&w] { return w.windowTitle().endsWith(u" *"_s); };
        QVERIFY(titleMarked());
        int steps = 0;
        for (; undoAction->isEnabled(); ++steps) {
            undoAction->trigger();
        }
        QCOMPARE(steps, 5);
        QVERIFY(!titleMarked());
        // The last undo shows the player and the tab of the first edit as loaded.
        QCOMPARE(playerList->currentIndex(), 0);
        QCOMPARE(child<TabStrip>(w, "TabStrip1")->selectedTab(), tabHolding(slider));
        QCOMPARE(slider->value(), rating);
        QVERIFY(!accuracy->property("unsaved").toBool() && !marked(slider));
        w.saveAll();
        QCOMPARE(f.dialogs.messages.last(), u"Saved 0 players"_s);
        QCOMPARE(test::readFileBytes(path), stored);

        while (redoAction->isEnabled()) {
            redoAction->trigger();
        }
        QCOMPARE(inningsBox->text(), u"12"_s);
        QCOMPARE(playerList->currentIndex(), 1);
        QVERIFY(marked(nameBox) && marked(inningsBox) && !marked(slider));
        // The Undo History list jumps to any step: back to the file as opened and forward.
        // Opened beside the window on screen, it is wide enough for the text of a step.
        w.show();
        child<QAction>(w, "mnuUndoHistory")->trigger();
        auto* history = child<QListView>(w, "lsvUndoHistory");
        QCOMPARE(history->model()->rowCount(), 6);
        QApplication::processEvents();
        const QString stepText = history->model()->index(1, 0).data().toString();
        QVERIFY2(history->width() >= history->fontMetrics().horizontalAdvance(stepText),
                 qPrintable(QString::number(history->width())));
        history->setCurrentIndex(history->model()->index(0, 0));
        QCOMPARE(playerList->currentIndex(), 0);
        QCOMPARE(slider->value(), rating);
        history->setCurrentIndex(history->model()->index(5, 0));
        QCOMPARE(inningsBox->text(), u"12"_s);
        QVERIFY(titleMarked());
        w.saveAll();
        QCOMPARE(f.dialogs.messages.last(), u"Saved 2 players"_s);
        QVERIFY(!titleMarked());
        test::saveEdits(
            reference,
            {{0, "ratings.bowling.Accuracy", std::to_string(rating + 20)},
             {0, "roles.bowlingStyle", bowlingStyleList->itemText(3).toStdString()},
             {0, "skills." + skill->text().toStdString(), skill->isChecked() ? "false" : "true"},
             {1, "name", "Renamed"},
             {1, "statistics.Test.innings", "12"}});
        QCOMPARE(test::readFileBytes(path), test::readFileBytes(reference));
    }

    // Save All while another program changed a player under edits: one question per
    // such player, its answer checked by the bytes of the file. Overwrite writes the
    // edits over the other change, Reload drops that player's edits without asking
    // again and saves the rest, Cancel saves nothing; an answer may apply to all.
    void saveAllAsksAboutEachPlayerAnotherProgramChanged() {
        using Conflict = Dialogs::Conflict;
        struct Case {
            std::vector<int> changedOutside;
            QList<Conflict> answers;
            QList<bool> forAll;
            std::vector<int> saved; // the slots whose edits the file holds afterwards
            QString unsaved;
        };
        const Case cases[] = {
            {{1}, {Conflict::Overwrite}, {}, {1, 2}, QString()},
            {{1}, {Conflict::Reload}, {}, {2}, QString()},
            {{1}, {Conflict::Cancel}, {}, {}, u"2 unsaved players"_s},
            {{1, 2}, {Conflict::Overwrite}, {true}, {1, 2}, QString()},
            {{1, 2}, {Conflict::Reload, Conflict::Cancel}, {false}, {}, u"2 unsaved players"_s},
        };
        for (const Case& c : cases) {
            Fixture f;
            MainWindow& w = *f.window;
            auto* playerList = child<QComboBox>(w, "cboPlayerName");
            auto* nameBox = child<QLineEdit>(w, "txtName");
            const std::string path = f.open(smallRoster());
            for (const int slot : {1, 2}) {
                playerList->setCurrentIndex(slot);
                test::enter(nameBox, u"Edited %1"_s.arg(slot));
            }
            std::vector<test::FieldEdit> outside;
            std::vector<test::FieldEdit> kept;
            for (const int slot : c.changedOutside) {
                outside.push_back({slot, "ratings.bowling.Accuracy", "40"});
            }
            test::saveEdits(path, outside);
            for (const int slot : c.saved) {
                kept.push_back({slot, "name", "Edited " + std::to_string(slot)});
            }
            const std::string reference = f.copy(path, "reference.pak");
            test::saveEdits(reference, kept);
            f.dialogs.conflicts = c.answers;
            f.dialogs.conflictsForAll = c.forAll;

            w.saveAll();
            QCOMPARE(f.dialogs.questions.size(), c.answers.size());
            QVERIFY(f.dialogs.questions.value(0).startsWith(
                u"Slot 1 (Brown) of %1 was changed by another program"_s.arg(q(path))));
            QCOMPARE(test::readFileBytes(path), test::readFileBytes(reference));
            QCOMPARE(child<QLabel>(w, "lblUnsaved")->text(), c.unsaved);
            if (c.answers.first() == Conflict::Reload && c.unsaved.isEmpty()) {
                QVERIFY(
                    f.dialogs.messages.last().endsWith(u"their changes dropped: Brown (slot 1)"_s));
                playerList->setCurrentIndex(1);
                QCOMPARE(nameBox->text(), u"Brown"_s);
                QCOMPARE(child<RatingSlider>(w, "sldBowling_4")->value(), 40);
            }
        }
    }

    void commentaryNamesAndTheNumberBoxKeepInStep() {
        Fixture f;
        MainWindow& w = *f.window;
        auto* commentaryList = child<QComboBox>(w, "cboCommentary");
        auto* commentaryBox = child<QLineEdit>(w, "txtCommentary");
        QCOMPARE(commentaryList->count(), 1015);
        QFile written(w.tempPath() + u"Commentary.txt"_s);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().count("\r\n"), 1014);
        test::choose(commentaryList, 99);
        QCOMPARE(commentaryBox->text(), u"100"_s);
        commentaryBox->clear();
        QTest::keyClicks(commentaryBox, u"7"_s);
        QCOMPARE(commentaryList->currentIndex(), 6);
        QTest::keyClick(commentaryBox, Qt::Key_Backspace);
        QCOMPARE(commentaryList->currentIndex(), 6);
        QTest::keyClicks(commentaryBox, u"x1"_s);
        QCOMPARE(commentaryBox->text(), u"1"_s); // digits only when typed
        // The number goes to the companion, once it runs.
        commentaryBox->setText(u"1015"_s);
        child<QPushButton>(w, "cmdCommentary")->click();
        QCOMPARE(f.dialogs.messages, QStringList{u"Please run Tonewell first"_s});
        test::CompanionStandIn tonewell;
        child<QPushButton>(w, "cmdCommentary")->click();
        QTRY_COMPARE(tonewell.received(), QStringList{u"4543"_s});
        QCOMPARE(f.dialogs.messages.size(), 1);
    }

    void aUsersOwnCommentaryListIsCheckedBeforeUse() {
        for (const bool valid : {true, false}) {
            TempDir dir;
            QStringList names;
            for (int i = 0; i < 1015; ++i) {
                names << u"Name"_s + QString(QChar(u'a' + i % 26)) +
                             QString(QChar(u'a' + i / 26 % 26));
            }
            if (!valid) {
                names[4] = u"Bad!Name"_s;
            }
            test::writeFileBytes(dir.file("Commentary.txt"), [&] {
                const QByteArray text = names.join(u"\r\n"_s).toLatin1();
                return std::vector<std::uint8_t>(text.begin(), text.end());
            }());
            AppSettings settings(q(dir.file("settings.ini")));
            test::QuietDialogs dialogs;
            MainWindow w(settings, dialogs);
            QCOMPARE(child<QComboBox>(w, "cboCommentary")->itemText(0) == u"Nameaa.ogg"_s, valid);
            QCOMPARE(child<QLabel>(w, "lblStatus")->text().contains(u"built-in list"_s), !valid);
        }
    }

    // Requests arrive over the local socket or are read from the companion's link.
    void companionRequestsShowPlayers() {
        Fixture f;
        MainWindow& w = *f.window;
        RosterMaker maker;
        for (int slot = 0; slot < 300; ++slot) {
            maker.player(slot, "P" + std::to_string(slot));
        }
        maker.player(301, "AfterGap");
        const QString open = q(maker.write(f.dir, "open.pak"));
        const QString other = q(maker.write(f.dir, "other.pak"));
        w.openRoster(open);
        // Each sender is a jthread: a failed check returns from the test, and the thread is
        // joined on the way out, failing this test alone.
        SendOutcome outcome;
        std::jthread sender(
            [&] { outcome = sendLinkCommand(linkName(kEditorTopic), u"12|"_s + open); });
        QTRY_COMPARE(child<QComboBox>(w, "cboPlayerName")->currentIndex(), 12);
        sender.join();
        QVERIFY(outcome.sent && f.dialogs.questions.isEmpty());

        w.handleLinkRequest(u"5|"_s + other); // answered No
        QCOMPARE(f.dialogs.questions.value(0), u"Do you want to open "_s + other);
        QCOMPARE(w.openedFileName(), open);
        f.dialogs.answers = {true};
        w.handleLinkRequest(u"5|"_s + other);
        QCOMPARE(w.openedFileName(), other);
        QCOMPARE(child<QComboBox>(w, "cboPlayerName")->currentIndex(), 5);
        QCOMPARE(w.windowTitle(),
                 u"Quillbay V2.1 - open.pak"_s); // unchanged on this path

        // A request that cannot be carried out opens no dialog: it is noted in the status
        // line, the newest note alone, and changes nothing.
        const auto noted = [&w] { return w.statusBar()->currentMessage(); };
        w.handleLinkRequest(u"500|"_s + other);
        QCOMPARE(noted(), u"Non-continous roster"_s);
        test::writeFileBytes(f.dir.file("short.pak"), std::vector<std::uint8_t>(100, 0));
        const QString unreadable = u"The companion program's request \""_s;
        const QString unopened = u"The roster the companion program asked for cannot be opened: "_s;
        const std::vector<std::pair<QString, QString>> hostile = {
            {u"abc|"_s + other, unreadable},
            {u"-1|"_s + other, u"The companion program asked for "
                               "entry -1; the player list counts"_s},
            {u"7"_s, unreadable},
            {u"1|"_s + f.file("missing.pak"), unopened},
            {u"1|"_s + f.file("short.pak"), unopened},
            {u"1|"_s + f.file(""), unopened}};
        f.dialogs.answers = {true, true, true};
        for (const auto& [request, says] : hostile) {
            w.handleLinkRequest(request);
            QVERIFY2(noted().startsWith(says), qPrintable(noted()));
        }
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(w.openedFileName(), other);
        QCOMPARE(child<QComboBox>(w, "cboPlayerName")->count(), 300);
        // A message far larger than any request is refused and changes nothing.
        SendOutcome huge;
        std::atomic<bool> answered = false;
        std::jthread flooder([&] {
            huge = sendLinkCommand(linkName(kEditorTopic), QString(100000, QLatin1Char('9')));
            answered = true;
        });
        QTRY_VERIFY(answered);
        flooder.join();
        QVERIFY(!huge.sent);
        QCOMPARE(huge.error, u"ERR message too long"_s);
        QCOMPARE(child<QComboBox>(w, "cboPlayerName")->currentIndex(), 5);
    }

    // Requests that cannot be carried out, sent as fast as they are answered: each is
    // answered "ERR", none opens a dialog, and no socket or window is left behind.
    void aFloodOfRequestsLeavesTheWindowAsItWas() {
        Fixture f;
        MainWindow& w = *f.window;
        const QString path = q(f.open(smallRoster()));
        const QString request = u"500|"_s + path;
        const qsizetype windows = QApplication::topLevelWidgets().size();
        std::atomic<int> refused = 0;
        QEventLoop answering; // runs as long as the flood takes
        std::jthread flood([&] {
            for (int i = 0; i < 10000; ++i) {
                const SendOutcome outcome = sendLinkCommand(linkName(kEditorTopic), request);
                refused += outcome.error == u"ERR Non-continous roster"_s ? 1 : 0;
            }
            QMetaObject::invokeMethod(&answering, &QEventLoop::quit, Qt::QueuedConnection);
        });
        answering.exec();
        flood.join();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(refused.load(), 10000);
        QVERIFY(f.dialogs.messages.isEmpty() && f.dialogs.questions.isEmpty());
        QCOMPARE(w.findChildren<QLocalSocket*>().size(), 0);
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        QCOMPARE(w.statusBar()->currentMessage(), u"Non-continous roster"_s);
        w.handleLinkRequest(u"2|"_s + path); // the window still carries requests out
        QCOMPARE(child<QComboBox>(w, "cboPlayerName")->currentIndex(), 2);
    }

#ifndef Q_OS_WIN
    // POSIX only: the link's sockets are files in a folder of the user's own. On Windows the
    // link is a named pipe, which has no folder or file to check (core_tests covers it).
    void linkSocketsArePrivateAndAForeignFileIsLeftAlone() {
        const QString name = linkName(u"Probe"_s);
        const QFileInfo folder(QFileInfo(name).path());
        QCOMPARE(folder.ownerId(), ::getuid());
        const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                            QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(folder.permissions() & others, QFileDevice::Permissions());
        // A file under the name that is no socket is neither replaced nor written to.
        QFile squatter(name);
        QVERIFY(squatter.open(QIODevice::WriteOnly));
        squatter.write("x");
        squatter.close();
        const LinkServer server(name);
        QVERIFY(!server.isListening());
        QVERIFY(!sendLinkCommand(name, u"1"_s).sent);
        QVERIFY(squatter.open(QIODevice::ReadOnly));
        QCOMPARE(squatter.readAll(), QByteArray("x"));
        squatter.remove();
    }
#endif

    void optionsWorkWithoutADisplay() {
        struct Row {
            QStringList arguments;
            int exitCode;
            QByteArray output; // on stdout or stderr
        };
        const Row rows[] = {
            {{u"--help"_s}, 0, "Usage:"},
            {{u"--version"_s}, 0, "Quillbay 2.1"},
            {{u"--request"_s, u"1|/x.pak"_s}, 1, "no Quillbay editor is running"},
            {{u"--reset"_s}, 1, "--reset goes with --demo"},
        };
        for (const Row& row : rows) {
            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"QUILLBAY_LINK_NAMESPACE"_s, u"nobody-listens-here"_s);
            environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
            environment.remove(u"DISPLAY"_s);
            environment.remove(u"WAYLAND_DISPLAY"_s);
            process.setProcessEnvironment(environment);
            process.start(QStringLiteral(QB_EDITOR_PATH), row.arguments);
            QVERIFY(process.waitForFinished(test::childTimeLimitSeconds() * 1000));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), row.exitCode);
            QVERIFY((process.readAllStandardOutput() + process.readAllStandardError())
                        .contains(row.output));
        }
    }

    void theFaceFollowsThePlayer() {
        Fixture f;
        MainWindow& w = *f.window;
        auto* faceBox = child<PictureBox>(w, "picFace");
        RosterMaker maker;
        maker.player(0, "Three").set(0, 205, {3}).player(1, "Twenty").set(1, 205, {20});
        f.open(maker);
        const QImage three = faceBox->picture().toImage();
        child<QComboBox>(w, "cboPlayerName")->setCurrentIndex(1);
        const QImage twenty = faceBox->picture().toImage();
        QVERIFY(three != twenty);
        child<QComboBox>(w, "cboPlayerName")->setCurrentIndex(0);
        QCOMPARE(faceBox->picture().toImage(), three);
        QVERIFY(f.dialogs.messages.isEmpty());
        // Closing deletes the temporary files the face and the commentary names came from.
        const QStringList temporary = {w.tempPath() + u"temp.bmp"_s,
                                       w.tempPath() + u"Commentary.txt"_s};
        QVERIFY(QFile::exists(temporary[0]) && QFile::exists(temporary[1]));
        w.close();
        QVERIFY(!QFile::exists(temporary[0]) && !QFile::exists(temporary[1]));
    }

    void theDemoKeepsWhatWasSavedUntilItIsReset() {
        Fixture f;
        MainWindow& w = *f.window;
        const QString root = f.file("demo");
        const DemoFolder demo = prepareDemoFolder(root);
        const std::string roster = demo.roster.toStdString();
        const auto fresh = test::readFileBytes(roster);
        auto* reset = child<QAction>(w, "mnuResetDemo");
        QVERIFY(!reset->isVisible()); // there is no demo to reset outside demo mode
        w.offerDemoReset(demo);
        QVERIFY(reset->isVisible());
        w.openRoster(demo.roster);
        auto* slider = child<RatingSlider>(w, "sldBowling_4");
        const auto nudge = [slider] { slider->setValue(slider->value() == 0 ? 1 : 0); };
        nudge();
        w.saveAll();
        const auto saved = test::readFileBytes(roster);
        QVERIFY(saved != fresh);
        prepareDemoFolder(root); // the next start of the demo
        QVERIFY(test::readFileBytes(roster) == saved);

        // Reset asks first, naming the unsaved edits it drops; No keeps everything.
        nudge();
        reset->trigger();
        QVERIFY(f.dialogs.questions.last().contains(
            u"unsaved changes to 1 player of demo.pak are lost too"_s));
        QVERIFY(test::readFileBytes(roster) == saved);
        QCOMPARE(child<QLabel>(w, "lblUnsaved")->text(), u"1 unsaved player"_s);
        f.dialogs.answers = {true};
        reset->trigger();
        QVERIFY(test::readFileBytes(roster) == fresh);
        QVERIFY(child<QLabel>(w, "lblUnsaved")->text().isEmpty());
        QVERIFY(!child<QAction>(w, "mnuUndo")->isEnabled());
        w.saveAll();
        QVERIFY(test::readFileBytes(roster) == fresh);
    }

    // Opening another file, the last file, the companion's request to open one and
    // closing: each asks first; Cancel loses nothing, Save All writes, Discard goes on.
    void everyWayOutAsksAboutUnsavedEdits() {
        using Unsaved = Dialogs::Unsaved;
        const std::function<bool(Fixture&, const QString&)> ways[] = {
            [](Fixture& f, const QString& other) {
                f.dialogs.files = {other};
                f.window->chooseAndOpenRoster();
                return f.window->openedFileName() == other;
            },
            [](Fixture& f, const QString&) {
                child<QAction>(*f.window, "mnuLastFile")->trigger();
                return !child<QLabel>(*f.window, "lblUnsaved")->text().contains(u'1');
            },
            [](Fixture& f, const QString& other) {
                f.dialogs.answers = {true};
                f.window->handleLinkRequest(u"0|"_s + other);
                return f.window->openedFileName() == other;
            },
            [](Fixture& f, const QString&) { return f.window->close(); },
        };
        for (const auto& leave : ways) {
            for (const Unsaved answer : {Unsaved::Cancel, Unsaved::SaveAll, Unsaved::Discard}) {
                Fixture f;
                MainWindow& w = *f.window;
                auto* slider = child<RatingSlider>(w, "sldBowling_4");
                const std::string path = f.open(smallRoster());
                const QString other = q(smallRoster().write(f.dir, "b.pak"));
                const auto stored = test::readFileBytes(path);
                slider->setValue(slider->value() + 5);
                const int edited = slider->value();
                QVERIFY(w.windowTitle().endsWith(u"r.pak *"_s));
                QCOMPARE(child<QLabel>(w, "lblUnsaved")->text(), u"1 unsaved player"_s);
                QVERIFY(!child<QComboBox>(w, "cboPlayerName")->itemIcon(0).isNull());
                QVERIFY(child<QComboBox>(w, "cboPlayerName")->itemIcon(1).isNull());
                f.dialogs.unsavedAnswers = {answer};
                QCOMPARE(leave(f, other), answer != Unsaved::Cancel);
                QVERIFY(f.dialogs.questions.contains(u"Save changes to 1 player?"_s));
                QCOMPARE(test::readFileBytes(path) != stored, answer == Unsaved::SaveAll);
                if (answer == Unsaved::Cancel) {
                    QCOMPARE(slider->value(), edited);
                    QVERIFY(w.windowTitle().endsWith(u"r.pak *"_s));
                }
            }
        }
    }
};

} // namespace qb

int main(int argc, char** argv) {
    return qb::test::runWindowSuite<qb::MainWindowTest>(argc, argv);
}

#include "main_window_test.moc"
