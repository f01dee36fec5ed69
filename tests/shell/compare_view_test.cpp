// The compare view, backups and patches, driven on the offscreen platform; every file the
// window writes is checked against what quillbay-cli writes for the same request.
#include "player/roster_document.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace qb {

using namespace Qt::StringLiterals;
using test::child;
using test::q;
using test::RosterMaker;

class CompareViewTest : public QObject {
    Q_OBJECT

private:
    struct Fixture : test::WindowFixture {
        // Two rosters, or two saved games (`kind` "sav").
        explicit Fixture(const std::string& kind = "pak") {
            // Five players with IDs 100-104; theirs holds them in the opposite order, two
            // of them changed: 101 (Accuracy, Test innings) and 103 (name, Accuracy).
            RosterMaker maker;
            RosterMaker reversed;
            const char* names[] = {"Adams", "Brown", "Smith", "Smithers", "Taylor"};
            for (int slot = 0; slot < 5; ++slot) {
                const auto id = static_cast<std::uint8_t>(100 + slot);
                maker.player(slot, names[slot]).set(slot, 0, {id, 0}).set(slot, 104, {56});
                reversed.player(4 - slot, names[slot])
                    .set(4 - slot, 0, {id, 0})
                    .set(4 - slot, 104, {56});
            }
            mine = maker.write(dir, "mine." + kind);
            theirs = reversed.write(dir, "theirs." + kind);
            test::saveEdits(theirs, {{3, "ratings.bowling.Accuracy", "40"},
                                     {3, "statistics.Test.innings", "12"},
                                     {1, "name", "Renamed"},
                                     {1, "ratings.bowling.Accuracy", "50"}});
            window->openRoster(q(mine));
        }
        // File → Compare With… on `path`; the compare view it opens.
        QMainWindow& compareWith(const std::string& path) {
            dialogs.files << q(path);
            child<QAction>(*window, "mnuCompare")->trigger();
            return *child<QMainWindow>(*window, "compareWindow");
        }

        std::string mine;
        std::string theirs;
    };

private slots:
    void copiesSaveWhatCopyWrites() {
        struct Row {
            const char* name;
            const char* kind;
            int match;         // the match list's entry: 0 by slot, 1 by player ID
            const char* group; // groups ticked, separated by commas; empty: the whole player
            bool toRight;
            int shown; // players shown with only those that differ
            const char* counted;
        };
        const Row rows[] = {
            {"ratings to the left by ID", "pak", 1, "ratings", false, 2,
             "2 players differ in 4 fields"},
            {"a format's statistics to the right by ID", "pak", 1, "statistics.Test", true, 2,
             "2 players differ in 4 fields"},
            {"whole players to the left by slot", "pak", 0, "", false, 4, "4 players differ in"},
            {"two groups into a saved game by ID", "sav", 1, "identity,ratings", false, 2,
             "2 players differ in 4 fields"},
        };
        for (const Row& row : rows) {
            Fixture f(row.kind);
            QMainWindow& view = f.compareWith(f.theirs);
            const std::string target = row.toRight ? f.theirs : f.mine;
            const std::string expected = f.copy(target, std::string("expected.") + row.kind);
            child<QComboBox>(view, "compareMatch")->setCurrentIndex(row.match);
            child<QCheckBox>(view, "compareOnlyDiffering")->setChecked(true);
            auto* left = child<QTableView>(view, "compareLeft");
            QCOMPARE(left->model()->rowCount(), row.shown);
            QVERIFY2(child<QLabel>(view, "compareDifferences")->text().startsWith(row.counted),
                     row.name);
            if (row.toRight) {
                QVERIFY(!child<QPushButton>(view, "compareCopyToRight")->isEnabled());
                child<QCheckBox>(view, "compareUnlockRight")->setChecked(true);
            }
            left->selectAll();
            QCOMPARE(
                child<QTableView>(view, "compareRight")->selectionModel()->selectedRows().size(),
                row.shown);
            auto* groups = child<QListWidget>(view, "compareGroups");
            for (const QString& group : q(*row.group ? row.group : "whole player").split(u',')) {
                groups->findItems(group, Qt::MatchExactly).value(0)->setCheckState(Qt::Checked);
            }
            child<QPushButton>(view, row.toRight ? "compareCopyToRight" : "compareCopyToLeft")
                ->click();
            // The copy is one step of the target's history: undone, it leaves nothing to save.
            child<QAction>(view, "compareUndo")->trigger();
            QVERIFY(child<QLabel>(view, "compareDifferences")->text().startsWith(row.counted));
            child<QAction>(view, "compareRedo")->trigger();
            child<QPushButton>(view, "compareSaveAll")->click();

            QStringList arguments{u"copy"_s, q(row.toRight ? f.mine : f.theirs), q(expected),
                                  u"--match"_s, row.match == 1 ? u"id"_s : u"slot"_s};
            if (*row.group) {
                arguments << u"--only"_s << row.group;
            }
            test::runCli(arguments);
            QVERIFY2(test::readFileBytes(target) == test::readFileBytes(expected), row.name);
        }
    }

    // Two rosters of the same bytes differ as soon as either side has a pending edit.
    void pendingEditsOfEitherSideCount() {
        for (const char* side : {"compareLeft", "compareRight"}) {
            Fixture f;
            QMainWindow& view = f.compareWith(f.copy(f.mine, "same.pak"));
            auto* counted = child<QLabel>(view, "compareDifferences");
            QCOMPARE(counted->text(), u"0 players differ in 0 fields"_s);
            child<QCheckBox>(view, "compareUnlockRight")->setChecked(true);
            QAbstractItemModel* model = child<QTableView>(view, side)->model();
            int accuracy = 0;
            while (model->headerData(accuracy, Qt::Horizontal, Qt::ToolTipRole) !=
                   u"ratings.bowling.Accuracy"_s) {
                ++accuracy;
            }
            const QModelIndex cell = model->index(2, accuracy);
            QVERIFY(model->setData(cell, model->data(cell).toInt() + 1));
            QVERIFY2(counted->text() == u"1 player differs in 1 field"_s, side);
        }
    }

    void patchesSaveAndApplyWhatTheCliWrites() {
        for (const char* match : {"id", "slot"}) {
            Fixture f;
            QMainWindow& view = f.compareWith(f.theirs);
            child<QComboBox>(view, "compareMatch")
                ->setCurrentIndex(QByteArray(match) == "id" ? 1 : 0);
            child<QTableView>(view, "compareLeft")->selectAll();
            // Saved beside the roster at first, the patch is applied from where it went.
            QVERIFY(QDir().mkpath(f.file("patches")));
            const std::string patch = f.dir.file("patches/patch.json");
            f.dialogs.files << q(patch);
            child<QPushButton>(view, "compareSavePatch")->click();
            // Compared as Qt spells paths: Windows' own separators are '\\'.
            QCOMPARE(QDir::fromNativeSeparators(f.dialogs.savedIn.value(0)),
                     QDir::fromNativeSeparators(f.file("patch.json")));
            QVERIFY(view.statusBar()->currentMessage().endsWith(
                u"patch.json: the differences of %1 players"_s.arg(QByteArray(match) == "id" ? 2
                                                                                             : 4)));
            int differ = 0; // diff exits 1 when the rosters differ
            const QByteArray written = test::runCli(
                {u"diff"_s, q(f.mine), q(f.theirs), u"--format"_s, u"patch"_s, u"--match"_s, match},
                &differ);
            QCOMPARE(differ, 1);
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(test::readFileBytes(patch).data()),
                                static_cast<qsizetype>(test::readFileBytes(patch).size())),
                     written);
            // As a workbook, the same differences write the same bytes.
            const std::string workbook = patch.substr(0, patch.size() - 4) + "xlsx";
            f.dialogs.files << q(workbook);
            child<QPushButton>(view, "compareSavePatch")->click();
            const std::string viaJson = f.copy(f.mine, "via-json.pak");
            const std::string viaWorkbook = f.copy(f.mine, "via-workbook.pak");
            test::runCli({u"apply"_s, q(viaJson), q(patch), u"--match"_s, match});
            test::runCli({u"apply"_s, q(viaWorkbook), q(workbook), u"--match"_s, match});
            QVERIFY(test::readFileBytes(viaWorkbook) == test::readFileBytes(viaJson));
            QVERIFY(test::readFileBytes(viaWorkbook) != test::readFileBytes(f.mine));

            // Applied from the menu after its preview, the patch is one undoable step.
            const std::string expected = f.copy(f.mine, "expected.pak");
            f.dialogs.files << q(patch);
            f.dialogs.answers << true;
            child<QAction>(*f.window, "mnuApplyEdits")->trigger();
            QCOMPARE(QDir::fromNativeSeparators(f.dialogs.openedIn.constLast()),
                     QDir::fromNativeSeparators(f.file("patches")));
            QVERIFY(f.dialogs.questions.value(0).startsWith(u"Apply patch.json to mine.pak?"_s));
            QVERIFY(f.dialogs.questions.value(0).contains(u"Bowling: Accuracy"_s));
            QCOMPARE(child<QAction>(*f.window, "mnuUndo")->text(), u"&Undo Apply patch.json"_s);
            f.window->saveAll();
            test::runCli({u"apply"_s, q(expected), q(patch), u"--match"_s, match});
            QVERIFY(test::readFileBytes(f.mine) == test::readFileBytes(expected));

            // The folder a file was applied from is where the next patch is proposed.
            QVERIFY(QDir().mkpath(f.file("applied")));
            f.dialogs.files << q(f.copy(patch, "applied/patch.json"));
            f.dialogs.answers << false;
            child<QAction>(*f.window, "mnuApplyEdits")->trigger();
            f.dialogs.files << QString();
            child<QPushButton>(view, "compareSavePatch")->click();
            QCOMPARE(QDir::fromNativeSeparators(f.dialogs.savedIn.constLast()),
                     QDir::fromNativeSeparators(f.file("applied/patch.json")));
        }
    }

    void editsFilesApplyAsOneStepOrNotAtAll() {
        // A CSV as quillbay-cli apply takes it, its players named by ID (its one key
        // column): two players change, in one step that Undo takes back.
        {
            Fixture f;
            const auto original = test::readFileBytes(f.mine);
            const std::string expected = f.copy(f.mine, "expected.pak");
            const std::string edits = f.dir.file("season.csv");
            const std::string csv = "id,name,ratings.bowling.Accuracy\r\n101,,30\r\n"
                                    "104,Tailor,20\r\n102,,\r\n";
            test::writeFileBytes(edits, {csv.begin(), csv.end()});
            f.dialogs.files << q(edits);
            f.dialogs.answers << true;
            child<QAction>(*f.window, "mnuApplyEdits")->trigger();
            QVERIFY(f.dialogs.questions.value(0).contains(u"matched by player ID"_s));
            QVERIFY(f.dialogs.questions.value(0).contains(u"2 players, 3 fields"_s));
            child<QAction>(*f.window, "mnuUndo")->trigger();
            f.window->saveAll();
            QVERIFY(test::readFileBytes(f.mine) == original);
            child<QAction>(*f.window, "mnuRedo")->trigger();
            f.window->saveAll();
            test::runCli({u"apply"_s, q(expected), q(edits), u"--match"_s, u"id"_s});
            QVERIFY(test::readFileBytes(f.mine) == test::readFileBytes(expected));
            QVERIFY(test::readFileBytes(f.mine) != original);
        }
        // One value or a file that cannot be read refuses the whole file, naming where.
        const struct {
            const char* file;
            std::string text;
            const char* refusal;
        } refused[] = {
            {"bad.csv", "slot,ratings.bowling.Accuracy\n0,10\n2,64\n",
             "bad.csv: row 3: column ratings.bowling.Accuracy: Invalid value \"64\""},
            {"bad.json", R"([{"slot": 0, "name": "Ok"}, {"slot": 1, "nation": "Atlantis"}])",
             "bad.json: entry 1: Invalid value \"Atlantis\" for nation"},
            {"broken.json", "[{", "not a JSON array"},
            {"empty.csv", "slot,name\n9,Ghost\n", "slot 9 is empty; use import"},
        };
        for (const auto& row : refused) {
            Fixture f;
            const auto original = test::readFileBytes(f.mine);
            const std::string path = f.dir.file(row.file);
            test::writeFileBytes(path, {row.text.begin(), row.text.end()});
            f.dialogs.files << q(path);
            child<QAction>(*f.window, "mnuApplyEdits")->trigger();
            QVERIFY2(f.dialogs.messages.join(u'\n').contains(q(row.refusal)),
                     qPrintable(f.dialogs.messages.join(u'\n')));
            QVERIFY(!child<QAction>(*f.window, "mnuUndo")->isEnabled());
            f.window->saveAll();
            QVERIFY(test::readFileBytes(f.mine) == original);
        }
#ifndef _WIN32
        // A FIFO chosen as the edits file is refused at once, never waited on.
        Fixture f;
        const std::string fifo = f.dir.file("fifo.csv");
        QCOMPARE(mkfifo(fifo.c_str(), 0600), 0);
        f.dialogs.files << q(fifo);
        child<QAction>(*f.window, "mnuApplyEdits")->trigger();
        QVERIFY2(f.dialogs.messages.join(u'\n').contains(u"it is a FIFO"_s),
                 qPrintable(f.dialogs.messages.join(u'\n')));
#endif
    }

    // A dump's rows are checked against what the file holds now, as quillbay-cli apply
    // checks them: a player another program changed since the dump is named, and left
    // out unless the user chooses to overwrite it; a dump of another roster names all.
    void editsFilesFromAnOlderDumpAskBeforeOverwriting() {
        for (const bool overwrite : {false, true}) {
            Fixture f;
            const std::string dump = f.dir.file("dump.csv");
            const QByteArray dumped = test::runCli({u"dump"_s, q(f.mine), u"--format"_s, u"csv"_s});
            // Overwritten, slot 2 is all the dump's; left out, all the other program's.
            const std::string expected = f.copy(f.mine, "expected.pak");
            test::saveEdits(f.mine, {{2, "ratings.bowling.Accuracy", "33"}}); // another program
            if (!overwrite) {
                f.copy(f.mine, "expected.pak");
            }
            f.window->openRoster(q(f.mine));
            QByteArray edited = dumped;
            edited.replace(",Smith,", ",Smythe,").replace(",Adams,", ",Addams,");
            test::writeFileBytes(dump, {edited.begin(), edited.end()});
            f.dialogs.files << q(dump);
            f.dialogs.answers << overwrite << true;
            child<QAction>(*f.window, "mnuApplyEdits")->trigger();
            QVERIFY(f.dialogs.questions.value(0).startsWith(
                u"slot 2 (Smith) changed since the dump.\n\nApplying their rows would undo"_s));
            QCOMPARE(f.dialogs.questions.value(1).contains(u"Smythe"_s), overwrite);
            f.window->saveAll();
            test::saveEdits(expected, {{0, "name", "Addams"}});
            if (overwrite) {
                test::saveEdits(expected, {{2, "name", "Smythe"}});
            }
            QVERIFY(test::readFileBytes(f.mine) == test::readFileBytes(expected));
        }
        Fixture f;
        const QByteArray theirs = test::runCli({u"dump"_s, q(f.theirs), u"--format"_s, u"csv"_s});
        const std::string dump = f.dir.file("theirs.csv");
        test::writeFileBytes(dump, {theirs.begin(), theirs.end()});
        f.dialogs.files << q(dump);
        child<QAction>(*f.window, "mnuApplyEdits")->trigger();
        QVERIFY2(f.dialogs.questions.value(0).startsWith(
                     u"slots 0 (Adams), 1 (Brown), 3 (Smithers), 4 (Taylor) changed since"_s),
                 qPrintable(f.dialogs.questions.join(u'\n')));
        QVERIFY(!child<QAction>(*f.window, "mnuUndo")->isEnabled());
    }

    // The files LibreOffice saved from a dump (tests/spreadsheets/libreoffice_round_trip.py,
    // which ctest runs first, names their folder in QB_SPREADSHEET_FILES) apply through the
    // window as quillbay-cli applied them: the same bytes, or the same refusal.
    void spreadsheetFilesApplyAsTheBatchToolAppliesThem() {
#ifdef _WIN32
        return; // LibreOffice's files are made and applied by the Linux build's ctest
#endif
        const QString folder = qEnvironmentVariable("QB_SPREADSHEET_FILES");
        if (folder.isEmpty()) {
            QSKIP("ctest runs this after libreoffice_round_trip, which saves the files");
        }
        const std::string roster = (folder + u"/roster.pak"_s).toStdString();
        const QStringList files = QDir(folder).entryList({u"*.csv"_s, u"*.xlsx"_s});
        QCOMPARE(files.size(), 7);
        for (const QString& name : files) {
            const QString saved = folder + u'/' + name;
            test::WindowFixture f;
            const std::string mine = f.copy(roster, "roster.pak");
            f.window->openRoster(q(mine));
            f.dialogs.files << saved;
            f.dialogs.answers << true;
            child<QAction>(*f.window, "mnuApplyEdits")->trigger();
            f.window->saveAll();
            QFile refusal(saved + u".refusal"_s);
            if (refusal.open(QIODevice::ReadOnly)) {
                QVERIFY2(
                    f.dialogs.messages.join(u'\n').contains(QString::fromUtf8(refusal.readAll())),
                    qPrintable(name + u": "_s + f.dialogs.messages.join(u'\n')));
                QVERIFY(test::readFileBytes(mine) == test::readFileBytes(roster));
            } else {
                QVERIFY2(test::readFileBytes(mine) ==
                             test::readFileBytes((saved + u".expected.pak"_s).toStdString()),
                         qPrintable(name));
            }
        }
    }

    void windowsFitTheScreenKeepTheirButtonsInPlaceAndCloseWithTheRoster() {
        Fixture f;
        const QRect screen = f.window->screen()->availableGeometry();
        f.window->show();
        f.window->move(f.window->pos() + screen.center() - f.window->frameGeometry().center());
        // A roster deep in folders: its path does not widen its side of the view.
        const QString deep =
            f.file(std::string(5, 'd')) + u"/"_s + QString(120, u'x') + u"/theirs.pak"_s;
        QDir().mkpath(QFileInfo(deep).path());
        QFile::copy(q(f.theirs), deep);
        QMainWindow& view = f.compareWith(deep.toStdString());
        view.show();
        child<QAction>(*f.window, "mnuRosterGrid")->trigger();
        child<QAction>(*f.window, "mnuBackups")->trigger();
        for (const char* name : {"gridWindow", "compareWindow", "backupsWindow"}) {
            QVERIFY2(screen.contains(child<QWidget>(*f.window, name)->frameGeometry()), name);
        }
        QVERIFY((view.frameGeometry().center() - f.window->frameGeometry().center())
                    .manhattanLength() <= 4); // centred over the editor, its frame aside
        QCOMPARE(child<QLabel>(view, "compareRightPath")->toolTip(),
                 QDir::toNativeSeparators(deep));
        const int leftWidth = child<QTableView>(view, "compareLeft")->width();
        QVERIFY(std::abs(leftWidth - child<QTableView>(view, "compareRight")->width()) < 8);

        // Undo names its step in its tooltip; the buttons beside it stay where they were.
        auto* copy = child<QPushButton>(view, "compareSavePatch");
        const QRect before = copy->geometry();
        child<QTableView>(view, "compareLeft")->selectRow(1);
        child<QPushButton>(view, "compareCopyToLeft")->click();
        view.layout()->activate();
        QCOMPARE(child<QAction>(view, "compareUndo")->toolTip(),
                 u"Undo Copy 1 player to the left"_s);
        QCOMPARE(copy->geometry(), before);

        // They are windows of the open roster: opening another closes them.
        f.window->openRoster(q(f.copy(f.mine, "other.pak")));
        for (const char* name : {"gridWindow", "compareWindow", "backupsWindow"}) {
            QVERIFY2(f.window->findChild<QWidget*>(q(name)) == nullptr, name);
        }
    }

    void backupsOpenInTheCompareViewToRestorePlayers() {
        Fixture f;
        const auto original = test::readFileBytes(f.mine);
        // The open roster cannot be compared with itself.
        f.dialogs.files << q(f.mine);
        child<QAction>(*f.window, "mnuCompare")->trigger();
        QVERIFY(f.dialogs.messages.join(u'\n').contains(u"is the roster open"_s));
        QVERIFY(f.window->findChild<QMainWindow*>(u"compareWindow"_s) == nullptr);

        QMainWindow& view = f.compareWith(f.theirs);
        child<QComboBox>(view, "compareMatch")->setCurrentIndex(1);
        // Slot, ID and name, then the two fields besides the name that differ.
        child<QCheckBox>(view, "compareOnlyDifferingFields")->setChecked(true);
        auto* grid = child<QTableView>(view, "compareRight");
        int shownColumns = 0;
        for (int column = 0; column < grid->model()->columnCount(); ++column) {
            shownColumns += grid->isColumnHidden(column) ? 0 : 1;
        }
        QCOMPARE(shownColumns, 5);
        child<QTableView>(view, "compareLeft")->selectAll();
        child<QPushButton>(view, "compareCopyToLeft")->click();
        f.window->saveAll();
        QVERIFY(test::readFileBytes(f.mine) != original);
        test::saveEdits(f.mine, {{0, "name", "Elsewhere"}}); // another program, since

        // The list and the compare view count against the file as it is now.
        child<QAction>(*f.window, "mnuBackups")->trigger();
        auto* backups = child<QDialog>(*f.window, "backupsWindow");
        auto* list = child<QTableWidget>(*backups, "backupsList");
        QCOMPARE(list->rowCount(), 1);
        QCOMPARE(list->item(0, 1)->text(), u"3"_s);
        child<QPushButton>(*backups, "backupsCompare")->click();
        QMainWindow& restore = *child<QMainWindow>(*f.window, "compareWindow");
        QVERIFY(child<QLabel>(restore, "compareDifferences")->text().startsWith(u"3 players"_s));
        QVERIFY(restore.windowTitle().contains(u"mine-"_s));
        // The roster read again lists the other program's name.
        QCOMPARE(child<QComboBox>(*f.window, "cboPlayerName")->itemText(0), u"Elsewhere"_s);
        child<QTableView>(restore, "compareLeft")->selectAll();
        child<QPushButton>(restore, "compareCopyToLeft")->click();
        child<QPushButton>(restore, "compareSaveAll")->click();
        QVERIFY(test::readFileBytes(f.mine) == original);
    }
};

} // namespace qb

int main(int argc, char** argv) {
    return qb::test::runWindowSuite<qb::CompareViewTest>(argc, argv);
}

#include "compare_view_test.moc"
