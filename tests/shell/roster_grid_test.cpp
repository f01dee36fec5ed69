// The roster grid, driven in the real window on the offscreen platform.
#include "player/roster_document.h"
#include "shell/editors.h"
#include "shell/grid/field_delegate.h"
#include "shell/grid/roster_grid_filter.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/grid/roster_grid_view.h"
#include "shell/grid/roster_grid_window.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QListView>
#include <QSpinBox>
#include <QTableView>

namespace qb {

using test::child;
using test::RosterMaker;

class RosterGridTest : public QObject {
    Q_OBJECT

private:
    // Five players (slot 5 empty), Bad in slot 6 cannot be shown (face 30), and a
    // window with the grid open on them.
    struct Fixture : test::WindowFixture {
        Fixture() {
            RosterMaker maker;
            const char* names[] = {"Adams", "Brown", "Smith", "Smithers", "Taylor"};
            for (int slot = 0; slot < 5; ++slot) {
                maker.player(slot, names[slot]);
            }
            maker.player(6, "Bad").set(6, 205, {30});
            path = maker.write(dir, "r.pak");
            RosterDocument document(path);
            const int accuracy[] = {40, 55, 62, 9, 50};
            for (int slot = 0; slot < 5; ++slot) {
                document.apply(document.makeEdit(slot, field("ratings.bowling.Accuracy"),
                                                 std::to_string(accuracy[slot])));
            }
            document.apply(document.makeEdit(1, field("nation"), "AUS"));
            document.apply(document.makeEdit(3, field("nation"), "AUS"));
            document.saveAll();
            window->openRoster(QString::fromStdString(path));
            child<QAction>(*window, "mnuRosterGrid")->trigger();
            grid = child<RosterGridWindow>(*window, "frmRosterGrid");
        }
        RosterGridView& view() const { return grid->view(); }
        RosterGridModel& model() const { return grid->view().model(); }
        QTableView& table() const { return grid->view().table(); }
        // Selects the rows showing these slots.
        void select(const std::vector<int>& chosen) const {
            table().clearSelection();
            const std::vector<int> shown = view().shownSlots();
            for (const int slot : chosen) {
                const auto row = static_cast<int>(std::ranges::find(shown, slot) - shown.begin());
                table().selectionModel()->select(table().model()->index(row, 0),
                                                 QItemSelectionModel::Select |
                                                     QItemSelectionModel::Rows);
            }
        }
        QString value(int slot, const char* key) const {
            return model().valueText(slot, field(key));
        }
        // The view's index of a slot's cell.
        QModelIndex cell(int slot, const char* key) const {
            return view().filter().mapFromSource(model().index(slot, model().column(field(key))));
        }

        std::string path;
        RosterGridWindow* grid = nullptr;
    };

    static const Field& field(const char* key) { return *findField(key); }

    // The batch tool's exit code.
    static int runCli(const QStringList& arguments) {
        int exitCode = 0;
        test::runCli(arguments, &exitCode);
        return exitCode;
    }

private slots:
    void sortsAndFilters() {
        Fixture f;
        QCOMPARE(f.grid->windowTitle(), QStringLiteral("Roster - r.pak"));
        auto* count = child<QLabel>(f.view(), "gridCount");
        QCOMPARE(f.table().model()->rowCount(), SLOT_COUNT);
        QCOMPARE(count->text(), QStringLiteral("6 of 6 players"));
        // A player that cannot be shown is shown as such: red, the failure as its tip,
        // naming the field, the value stored and the file.
        const QModelIndex bad = f.model().index(6, f.model().column(field("appearance.face")));
        QVERIFY(bad.data(RosterGridModel::FailedRole).toBool());
        QCOMPARE(bad.data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Invalid property value: Face (appearance.face), stored value 30\n"
                                "File: %1, slot 6 (Bad)")
                     .arg(QDir::toNativeSeparators(QString::fromStdString(f.path))));
        QVERIFY(!bad.flags().testFlag(Qt::ItemIsEditable));

        struct Row {
            QString search;
            QString conditions;
            bool empty;
            std::vector<int> firstSlots;
            QString count;
        };
        const Row rows[] = {
            {"smi", "", true, {2, 3}, "2 of 6 players"},
            {"", "Accuracy >= 50", true, {1, 2, 4}, "3 of 6 players"},
            {"", "accuracy>=50, nation = aus", true, {1}, "1 of 6 players"},
            {"", "ratings.bowling.Accuracy < 50", true, {0, 3, 6}, "3 of 6 players"},
            {"", "nation != AUS", false, {0, 2, 4, 6}, "4 of 6 players"},
            {"", "Accuracy >=", false, {0, 1, 2, 3, 4, 6}, "6 of 6 players"}, // incomplete
        };
        for (const Row& row : rows) {
            QTest::keyClicks(child<QLineEdit>(f.view(), "gridSearch"), row.search);
            QTest::keyClicks(child<QLineEdit>(f.view(), "gridFilter"), row.conditions);
            child<QCheckBox>(f.view(), "gridShowEmpty")->setChecked(row.empty);
            const std::vector<int> shown = f.view().shownSlots();
            QCOMPARE(std::vector<int>(shown.begin(),
                                      shown.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                          shown.size(), row.firstSlots.size()))),
                     row.firstSlots);
            QCOMPARE(shown.size(), row.firstSlots.size() + (row.empty && row.conditions.isEmpty() &&
                                                                    row.search.isEmpty()
                                                                ? SLOT_COUNT - 6U
                                                                : 0U));
            QCOMPARE(count->text(), row.count);
            child<QLineEdit>(f.view(), "gridSearch")->clear();
            child<QLineEdit>(f.view(), "gridFilter")->clear();
        }

        // Ratings sort as numbers, names as text; empty slots stay at the end either way.
        struct Sort {
            const char* key;
            Qt::SortOrder order;
            std::vector<int> slotsShown;
        };
        const Sort sorts[] = {
            {"ratings.bowling.Accuracy", Qt::DescendingOrder, {2, 1, 4, 0, 3}}, // 9 below 40
            {"ratings.bowling.Accuracy", Qt::AscendingOrder, {3, 0, 4, 1, 2}},
            {"name", Qt::DescendingOrder, {4, 3, 2, 1, 0}},
        };
        // Bad's face shows nothing, so it meets no condition on it.
        child<QLineEdit>(f.view(), "gridFilter")->setText(QStringLiteral("face < 30"));
        child<QCheckBox>(f.view(), "gridShowEmpty")->setChecked(true);
        for (const Sort& sort : sorts) {
            f.table().sortByColumn(f.model().column(field(sort.key)), sort.order);
            QCOMPARE(f.view().shownSlots(), sort.slotsShown);
        }
        child<QLineEdit>(f.view(), "gridFilter")->clear();
        f.table().sortByColumn(f.model().column(field("name")), Qt::AscendingOrder);
        QCOMPARE(f.view().shownSlots().back(), SLOT_COUNT - 1);
        QVERIFY(f.model().isEmptySlot(f.view().shownSlots()[6]));
    }

    // Edits in a cell, on many rows and by paste: each one undoable step of the main
    // window's history, refused ones change nothing, and Save All writes the bytes the
    // batch tool writes for the same values.
    void editsAreStepsAndSaveAsTheBatchToolDoes() {
        Fixture f;
        auto* history = [&f] {
            child<QAction>(*f.window, "mnuUndoHistory")->trigger();
            return child<QListView>(*f.window, "lsvUndoHistory");
        }();
        const auto steps = [history] { return history->model()->rowCount() - 1; };

        // A cell with its field's own editor.
        const FieldDelegate& delegate = *qobject_cast<FieldDelegate*>(f.table().itemDelegate());
        const QModelIndex accuracy = f.cell(0, "ratings.bowling.Accuracy");
        std::unique_ptr<QWidget> editor(delegate.createEditor(&f.table(), {}, accuracy));
        auto* spin = qobject_cast<QSpinBox*>(editor.get());
        QVERIFY(spin != nullptr);
        QCOMPARE(spin->maximum(), 63);
        delegate.setEditorData(spin, accuracy);
        QCOMPARE(spin->value(), 40);
        spin->setValue(41);
        delegate.setModelData(spin, f.table().model(), accuracy);
        QCOMPARE(f.value(0, "ratings.bowling.Accuracy"), QStringLiteral("41"));
        QVERIFY(accuracy.data(RosterGridModel::PendingRole).toBool());
        // The main window shows the change on its tab (slot 0 is on screen).
        QCOMPARE(child<RatingSlider>(*f.window, "sldBowling_4")->value(), 41);
        QVERIFY(!f.table().model()->setData(accuracy, QStringLiteral("64")));
        QVERIFY(f.dialogs.messages.takeLast().contains(QStringLiteral("64")));
        QCOMPARE(steps(), 1);

        // Set a field on many rows: relative edits clamp, one step for all; a refused
        // set changes nothing and names why.
        struct Set {
            std::vector<int> chosen;
            const char* key;
            const char* op;
            const char* value;
            bool done;
        };
        const Set sets[] = {
            {{1, 2, 3}, "ratings.bowling.Accuracy", "+=", "5", true},
            {{0, 3}, "roles.bowlingStyle", "=", "Chinaman", true},
            {{2, 4}, "ratings.bowling.Accuracy", "-=", "x", false},
            {{2, 4}, "roles.bowlingStyle", "=", "Leg Break Googly", false},
            {{2, 4}, "roles.bowlingStyle", "+=", "1", false},
            {{2, 4}, "name", "=", " ", false},
        };
        const QString style = f.value(3, "roles.bowlingStyle");
        for (const Set& set : sets) {
            f.select(set.chosen);
            QCOMPARE(f.grid->setField(field(set.key), QString::fromLatin1(set.op),
                                      QString::fromLatin1(set.value)),
                     set.done);
            QCOMPARE(f.dialogs.messages.isEmpty(), set.done);
            f.dialogs.messages.clear();
        }
        QCOMPARE(steps(), 3);
        QCOMPARE(f.value(2, "ratings.bowling.Accuracy"), QStringLiteral("63")); // clamped
        QCOMPARE(f.value(3, "roles.bowlingStyle"), QStringLiteral("Chinaman"));
        child<QAction>(*f.grid, "gridUndo")->trigger();
        QCOMPARE(f.value(3, "roles.bowlingStyle"), style);
        child<QAction>(*f.grid, "gridRedo")->trigger();
        QCOMPARE(f.value(3, "roles.bowlingStyle"), QStringLiteral("Chinaman"));

        // A paste is checked cell by cell before anything changes.
        f.table().setCurrentIndex(f.cell(3, "name"));
        QVERIFY(!f.grid->paste(QStringLiteral("Newname\tENG\nOther\tXYZ\n")));
        QVERIFY(f.dialogs.messages.takeLast().startsWith(
            QStringLiteral("Cannot paste: Row 2, column 2 (slot 4, Nation): ")));
        QCOMPARE(f.value(3, "name"), QStringLiteral("Smithers"));
        f.table().setCurrentIndex(f.cell(4, "name"));
        QVERIFY(
            !f.grid->paste(QStringLiteral("Taylor\tENG\nGood\tENG\n"))); // Bad, empty slots last
        QVERIFY(f.dialogs.messages.takeLast().contains(QStringLiteral("(slot 6, Name)")));
        f.table().setCurrentIndex(f.cell(3, "name"));
        QVERIFY(f.grid->paste(QStringLiteral("Newname\tENG\r\n\tAUS\r\n"))); // a blank keeps
        QCOMPARE(f.value(3, "nation"), QStringLiteral("ENG"));
        QCOMPARE(f.value(4, "name"), QStringLiteral("Taylor"));
        QCOMPARE(steps(), 4);
        QVERIFY(f.dialogs.messages.isEmpty());

        // Copy gives what paste takes.
        f.select({3, 4});
        QVERIFY(QTest::qWaitForWindowActive(f.grid));
        QTest::keyClick(&f.table(), Qt::Key_C, Qt::ControlModifier);
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("3\t")));
        QVERIFY(copied.contains(QStringLiteral("\tTaylor\tAUS\t")));

        // Save All from the grid writes what the batch tool writes for the same values.
        const std::string reference = f.dir.file("reference.pak");
        QVERIFY(QFile::copy(QString::fromStdString(f.path), QString::fromStdString(reference)));
        child<QAction>(*f.grid, "gridSaveAll")->trigger();
        QCOMPARE(f.dialogs.messages.takeLast(), QStringLiteral("Saved 5 players"));
        const auto set = [&reference](int slot, const QStringList& edits) {
            return runCli(QStringList{QStringLiteral("set"), QString::fromStdString(reference),
                                      QString::number(slot)} +
                          edits);
        };
        QCOMPARE(set(0, {"ratings.bowling.Accuracy=41", "roles.bowlingStyle=Chinaman"}), 0);
        QCOMPARE(set(1, {"ratings.bowling.Accuracy=60"}), 0);
        QCOMPARE(set(2, {"ratings.bowling.Accuracy=63"}), 0);
        QCOMPARE(set(3, {"ratings.bowling.Accuracy=14", "roles.bowlingStyle=Chinaman",
                         "name=Newname", "nation=ENG"}),
                 0);
        QCOMPARE(set(4, {"nation=AUS"}), 0);
        QCOMPARE(test::readFileBytes(f.path), test::readFileBytes(reference));
    }

    // The export holds the rows and columns shown, pending edits included, as the CSV
    // that `apply` reads: applied to the file as opened, it writes what Save All writes.
    void exportIsWhatApplyReads() {
        Fixture f;
        // Every column of every player: what `dump --format csv` writes, less the
        // commentary's name, which no edit takes, and the dump's slot hashes.
        const QString all = QString::fromStdString(f.dir.file("all.csv"));
        QVERIFY(f.grid->exportCsv(all));
        QList<QByteArray> dumped =
            test::runCli({QStringLiteral("dump"), QString::fromStdString(f.path),
                          QStringLiteral("--format"), QStringLiteral("csv")})
                .split('\n');
        const auto named = dumped[0].split(',').indexOf("commentaryName");
        for (QByteArray& line : dumped) {
            QList<QByteArray> cells = line.split(',');
            if (cells.size() > named) {
                const bool lineBreak = line.endsWith('\r');
                cells.removeAt(named);
                cells.removeLast(); // the slot hash
                line = cells.join(',') + (lineBreak ? "\r" : "");
            }
        }
        const QList<QByteArray> keys = dumped[0].split(',');
        QCOMPARE(dumped[1].split(',')[keys.indexOf("skills.One Day Expert")], "0"); // flags 1/0
        QFile allFile(all);
        QVERIFY(allFile.open(QIODevice::ReadOnly));
        QCOMPARE(allFile.readAll().split('\n'), dumped);

        f.select({0, 2});
        QVERIFY(f.grid->setField(field("ratings.batting.Attack"), QStringLiteral("="),
                                 QStringLiteral("33")));
        f.view().setHiddenGroups({QStringLiteral("Appearance")});
        child<QLineEdit>(f.view(), "gridFilter")->setText(QStringLiteral("nation = ENG"));
        const QString csv = QString::fromStdString(f.dir.file("shown.csv"));
        QVERIFY(f.grid->exportCsv(csv));
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = written.readAll().split('\n');
        QVERIFY(lines[0].startsWith("slot,id,name,nation,commentary,roles.battingPosition,"));
        QCOMPARE(lines.size(), 5 + 1); // header, four players, nothing after the last break
        QVERIFY(lines[1].startsWith("0,0,Adams,ENG,"));
        QVERIFY(lines[4].startsWith("6,0,Bad,ENG,"));
        QVERIFY(!f.grid->exportCsv(QString::fromStdString(f.dir.file("none/x.csv"))));
        QVERIFY(f.dialogs.messages.takeLast().startsWith(QStringLiteral("Cannot write ")));

        const std::string reference = f.dir.file("reference.pak");
        QVERIFY(QFile::copy(QString::fromStdString(f.path), QString::fromStdString(reference)));
        // Bad cannot be shown, so the batch tool refuses it: apply the others.
        QVERIFY(QFile::resize(csv, written.size() - lines[4].size() - 1));
        QCOMPARE(runCli({QStringLiteral("apply"), QString::fromStdString(reference), csv}), 0);
        f.window->saveAll();
        QCOMPARE(test::readFileBytes(f.path), test::readFileBytes(reference));
    }

    // Repair from the context menu is a step; the column set outlives the window.
    void repairsAndRemembersColumns() {
        Fixture f;
        f.select({6});
        child<QAction>(*f.grid, "gridRepair")->trigger();
        const QModelIndex face = f.model().index(6, f.model().column(field("appearance.face")));
        QVERIFY(!face.data(RosterGridModel::FailedRole).toBool());
        QVERIFY(face.flags().testFlag(Qt::ItemIsEditable));
        child<QAction>(*f.grid, "gridUndo")->trigger();
        QVERIFY(face.data(RosterGridModel::FailedRole).toBool());

        QVERIFY(QTest::qWaitForWindowExposed(f.grid));
        const QRect smith = f.table().visualRect(f.cell(2, "name"));
        QTest::mouseClick(f.table().viewport(), Qt::LeftButton, {}, smith.center());
        QTest::mouseDClick(f.table().viewport(), Qt::LeftButton, {}, smith.center());
        QCOMPARE(child<QLineEdit>(*f.window, "txtName")->text(), QStringLiteral("Smith"));

        f.view().setGroupShown(1, false);
        f.grid->close(); // deleted on close
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        child<QAction>(*f.window, "mnuRosterGrid")->trigger();
        auto* reopened = child<RosterGridWindow>(*f.window, "frmRosterGrid");
        QVERIFY(!reopened->view().groupShown(1));
        QVERIFY(reopened->view().groupShown(0));
    }
};

} // namespace qb

int main(int argc, char** argv) {
    return qb::test::runWindowSuite<qb::RosterGridTest>(argc, argv);
}

#include "roster_grid_test.moc"
