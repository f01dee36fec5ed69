// The roster grid, driven in the real window on the offscreen platform.
#include "player/roster_document.h"
#include "shell/edit_command.h"
#include "shell/editors.h"
#include "shell/grid/field_delegate.h"
#include "shell/grid/frozen_columns_table.h"
#include "shell/grid/replace_dialog.h"
#include "shell/grid/roster_grid_filter.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/grid/roster_grid_view.h"
#include "shell/grid/roster_grid_window.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

namespace qb {

using namespace Qt::StringLiterals;
using test::child;
using test::q;
using test::RosterMaker;

class RosterGridTest : public QObject {
    Q_OBJECT

private:
    // Five players (slot 5 empty), Bad in slot 6 cannot be shown (face 30), and a
    // window with the grid open on them.
    struct Fixture : test::WindowFixture {
        Fixture() {
            path = test::fivePlayers().player(6, "Bad").set(6, 205, {30}).write(dir, "r.pak");
            std::vector<test::FieldEdit> edits = {{1, "nation", "AUS"}, {3, "nation", "AUS"}};
            for (const int slot : {0, 1, 2, 3, 4}) {
                const int accuracy[] = {40, 55, 62, 9, 50};
                edits.push_back({slot, "ratings.bowling.Accuracy", std::to_string(accuracy[slot])});
            }
            test::saveEdits(path, edits);
            window->openRoster(q(path));
            child<QAction>(*window, "mnuRosterGrid")->trigger();
            grid = child<RosterGridWindow>(*window, "gridWindow");
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
        // The view over the slot, ID and name, which stay when the grid scrolls sideways.
        QTableView& frozen() const {
            return static_cast<FrozenColumnsTable&>(table()).frozenView();
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
    // A step reverts its edits last first; the editors' steps of one rating of one player
    // in a row merge, of another player they do not.
    // Alt and a letter reaches one target in the grid window: a menu, a box or a button.
    void everyAccessKeyHasOneTarget() {
        Fixture f;
        QStringList captions;
        for (const QAction* menu : f.grid->menuBar()->actions()) {
            captions << menu->text();
        }
        for (const QAbstractButton* button : f.grid->findChildren<QAbstractButton*>()) {
            captions << button->text();
        }
        QMap<QString, QString> targets;
        for (const QString& caption : captions) {
            const QString key = QKeySequence::mnemonic(caption).toString();
            QVERIFY2(key.isEmpty() || !targets.contains(key),
                     qPrintable(key + u": "_s + targets.value(key) + u", "_s + caption));
            targets[key] = caption;
        }
    }

    void aStepRevertsLastFirstAndMerges() {
        Fixture f;
        RosterDocument& document = f.model().document();
        const Field& accuracy = field("ratings.bowling.Accuracy");
        const auto shown = [&](int slot) {
            return std::get<int>(readCell(accuracy, document.player(slot).sheet()));
        };
        const Edit first = document.makeEdit(0, accuracy, "45");
        Edit second = document.makeEdit(0, accuracy, "50");
        second.before = first.after;
        QUndoStack history;
        history.push(new EditsCommand(document, u"Two"_s, {first, second}));
        QCOMPARE(shown(0), 50);
        history.undo();
        QCOMPARE(shown(0), 40);

        history.push(EditsCommand::editorStep(document, first));
        history.push(EditsCommand::editorStep(document, second));
        history.push(EditsCommand::editorStep(document, document.makeEdit(1, accuracy, "60")));
        QCOMPARE(history.count(), 2);
        QCOMPARE(history.text(0), u"Accuracy 40 → 50"_s);
        history.undo();
        history.undo();
        QCOMPARE(shown(0), 40);
        QVERIFY(document.pendingSlots().empty());
    }

    void sortsAndFilters() {
        Fixture f;
        QCOMPARE(f.grid->windowTitle(), u"Roster - r.pak"_s);
        auto* count = child<QLabel>(f.view(), "gridCount");
        QCOMPARE(f.table().model()->rowCount(), SLOT_COUNT);
        QCOMPARE(count->text(), u"6 of 6 players"_s);
        // Titles the tabs and formats share are told apart by them.
        QStringList titles;
        for (int column = 0; column < f.model().columnCount(); ++column) {
            titles << f.model().headerData(column, Qt::Horizontal).toString();
        }
        QCOMPARE(titles.removeDuplicates(), 0);
        QVERIFY(titles.contains(u"Test: Innings"_s));
        // A player that cannot be shown is shown as such: red, the failure as its tip,
        // naming the field, the value stored and the file.
        const QModelIndex bad = f.model().index(6, f.model().column(field("appearance.face")));
        QVERIFY(bad.data(RosterGridModel::kFailedRole).toBool());
        QCOMPARE(bad.data(Qt::ToolTipRole).toString(),
                 u"Invalid property value: Face (appearance.face), stored value 30\n"
                 "File: %1, slot 6 (Bad)"_s.arg(QDir::toNativeSeparators(q(f.path))));
        QVERIFY(!bad.flags().testFlag(Qt::ItemIsEditable));

        struct Row {
            QString search;
            QString conditions;
            bool empty;
            std::vector<int> shows; // empty slots never meet a search or a condition
            QString count;
            QString problem = {}; // the red box's tool tip, beginning
        };
        const std::vector<int> all = {0, 1, 2, 3, 4, 6};
        auto* box = child<QLineEdit>(f.view(), "gridFilter");
        const Row rows[] = {
            {"smi", "", true, {2, 3}, "2 of 6 players"},
            {"", "Accuracy >= 50", true, {1, 2, 4}, "3 of 6 players"},
            {"", "accuracy>=50, nation = aus", true, {1}, "1 of 6 players"},
            {"", "ratings.bowling.Accuracy < 50", true, {0, 3, 6}, "3 of 6 players"},
            {"", "nation != AUS", false, {0, 2, 4, 6}, "4 of 6 players"},
            // A choice by the name of its entry or country, a column by its title shown.
            {"", "nation = England, Accuracy >= 50", true, {2, 4}, "2 of 6 players"},
            {"", "Nation=eng, bowling:accuracy>=50", true, {2, 4}, "2 of 6 players"},
            {"", "nation = australia", false, {1, 3}, "2 of 6 players"},
            // Conditions half typed, or that no player could meet, keep the rows of the
            // last ones that could be met (here none), and say why.
            {"", "Accuracy >=", false, all, "6 of 6 players", "\"Accuracy >=\" has no value"},
            {"", "Acuracy >= 50", false, all, "6 of 6 players", "no column \"Acuracy\""},
            {"", "nation = Wales", false, all, "6 of 6 players",
             "Nation is never = Wales: it is one of AUS (Australia), BAN (Bangladesh), "},
            {"", "Bowling: Accuracy < 0", false, all, "6 of 6 players",
             "Bowling: Accuracy is never < 0: it runs from 0 to 63"},
            {"", "One Day Expert = maybe", false, all, "6 of 6 players",
             "One Day Expert is never = maybe: it is ticked or clear"},
        };
        for (const Row& row : rows) {
            QTest::keyClicks(child<QLineEdit>(f.view(), "gridSearch"), row.search);
            QTest::keyClicks(child<QLineEdit>(f.view(), "gridFilter"), row.conditions);
            child<QCheckBox>(f.view(), "gridShowEmpty")->setChecked(row.empty);
            QCOMPARE(f.view().shownSlots(), row.shows);
            QCOMPARE(count->text(), row.count);
            QCOMPARE(box->toolTip().left(row.problem.size()), row.problem);
            QCOMPARE(box->styleSheet().isEmpty(), row.problem.isEmpty()); // the red frame
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
        child<QLineEdit>(f.view(), "gridFilter")->setText(u"face < 30"_s);
        child<QCheckBox>(f.view(), "gridShowEmpty")->setChecked(true);
        for (const Sort& sort : sorts) {
            f.table().sortByColumn(f.model().column(field(sort.key)), sort.order);
            QCOMPARE(f.view().shownSlots(), sort.slotsShown);
        }
        // An edited row stays in place until the next sort, here by a new filter.
        f.table().sortByColumn(f.model().column(field("ratings.bowling.Accuracy")),
                               Qt::DescendingOrder);
        QVERIFY(f.table().model()->setData(f.cell(2, "ratings.bowling.Accuracy"), 0));
        QCOMPARE(f.view().shownSlots(), std::vector<int>({2, 1, 4, 0, 3}));
        child<QLineEdit>(f.view(), "gridFilter")->setText(u"face < 25"_s);
        QCOMPARE(f.view().shownSlots(), std::vector<int>({1, 4, 0, 3, 2}));
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
        QCOMPARE(f.value(0, "ratings.bowling.Accuracy"), u"41"_s);
        QVERIFY(accuracy.data(RosterGridModel::kPendingRole).toBool());
        // The main window shows the change on its tab (slot 0 is on screen).
        QCOMPARE(child<RatingSlider>(*f.window, "sldBowling_4")->value(), 41);
        QVERIFY(!f.table().model()->setData(accuracy, u"64"_s));
        QVERIFY(f.dialogs.messages.takeLast().contains(u"64"_s));
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
            QCOMPARE(f.grid->setField(field(set.key), q(set.op), q(set.value)), set.done);
            QCOMPARE(f.dialogs.messages.isEmpty(), set.done);
            f.dialogs.messages.clear();
        }
        QCOMPARE(steps(), 3);
        QCOMPARE(f.value(2, "ratings.bowling.Accuracy"), u"63"_s); // clamped
        QCOMPARE(f.value(3, "roles.bowlingStyle"), u"Chinaman"_s);
        child<QAction>(*f.grid, "gridUndo")->trigger();
        QCOMPARE(f.value(3, "roles.bowlingStyle"), style);
        child<QAction>(*f.grid, "gridRedo")->trigger();
        QCOMPARE(f.value(3, "roles.bowlingStyle"), u"Chinaman"_s);

        // A paste is checked cell by cell before anything changes.
        f.table().selectionModel()->setCurrentIndex(f.cell(3, "name"),
                                                    QItemSelectionModel::ClearAndSelect);
        QVERIFY(!f.grid->paste(u"Newname\tENG\nOther\tXYZ\n"_s));
        QVERIFY(f.dialogs.messages.takeLast().startsWith(
            u"Cannot paste \"XYZ\" into slot 4, Nation (row 2, column 2 of the pasted block): "_s));
        QCOMPARE(f.value(3, "name"), u"Smithers"_s);
        f.table().setCurrentIndex(f.cell(4, "name"));
        QVERIFY(!f.grid->paste(u"Taylor\tENG\nGood\tENG\n"_s)); // Bad, empty slots last
        QVERIFY(f.dialogs.messages.takeLast().contains(u"into slot 6, Name ("_s));
        f.table().setCurrentIndex(f.cell(3, "name"));
        QVERIFY(f.grid->paste(u"Newname\tENG\r\n\tAUS\r\n"_s)); // a blank keeps
        QCOMPARE(f.value(3, "nation"), u"ENG"_s);
        QCOMPARE(f.value(4, "name"), u"Taylor"_s);
        QCOMPARE(steps(), 4);
        QVERIFY(f.dialogs.messages.isEmpty());
        // Rows copied start with their slot (scripts/check-shortcuts pastes copied cells).
        f.select({3, 4});
        child<QAction>(*f.grid, "gridCopy")->trigger();
        QVERIFY(QApplication::clipboard()->text().startsWith(u"3\t"_s));
        QVERIFY(QApplication::clipboard()->text().contains(u"\tTaylor\tAUS\t"_s));

        // Save All from the grid writes what the batch tool writes for the same values.
        const std::string reference = f.copy(f.path, "reference.pak");
        child<QAction>(*f.grid, "gridSaveAll")->trigger();
        QCOMPARE(f.dialogs.messages.takeLast(), u"Saved 5 players"_s);
        const std::pair<int, QStringList> sameSets[] = {
            {0, {"ratings.bowling.Accuracy=41", "roles.bowlingStyle=Chinaman"}},
            {1, {"ratings.bowling.Accuracy=60"}},
            {2, {"ratings.bowling.Accuracy=63"}},
            {3,
             {"ratings.bowling.Accuracy=14", "roles.bowlingStyle=Chinaman", "name=Newname",
              "nation=ENG"}},
            {4, {"nation=AUS"}}};
        for (const auto& [slot, edits] : sameSets) {
            test::runCli(QStringList{u"set"_s, q(reference), QString::number(slot)} + edits);
        }
        QCOMPARE(test::readFileBytes(f.path), test::readFileBytes(reference));
    }

    // A paste goes where a spreadsheet puts it, in the view as shown (here filtered and
    // sorted by slot downwards): from the top-left of a selection made by a click and a
    // Shift+click, never past it; one value fills it; a block from a single cell runs
    // down the rows shown. Each paste is one step; a refused one changes nothing.
    void pastesLikeASpreadsheet() {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(f.grid));
        child<QLineEdit>(f.view(), "gridFilter")->setText(u"nation = ENG"_s);
        f.table().sortByColumn(RosterGridModel::kSlotColumn, Qt::DescendingOrder);
        QCOMPARE(f.view().shownSlots(), (std::vector<int>{6, 4, 2, 0}));
        const auto click = [&f](int slot, Qt::KeyboardModifiers keys) {
            const QModelIndex cell = f.cell(slot, "ratings.bowling.Accuracy");
            f.table().scrollTo(cell);
            QTest::mouseClick(f.table().viewport(), Qt::LeftButton, keys,
                              f.table().visualRect(cell).center());
        };
        const std::vector<int> players = {0, 2, 4};
        const auto accuracies = [&f, &players] {
            QStringList values;
            for (const int slot : players) {
                values << f.value(slot, "ratings.bowling.Accuracy");
            }
            return values.join(QLatin1Char(' '));
        };
        const QString before = accuracies(); // slots 0, 2, 4
        struct Paste {
            int from;
            int to; // Shift+clicked; -1 for a single cell
            const char* text;
            const char* after; // Accuracy of slots 0, 2, 4; empty when refused
            const char* refusal;
        };
        const Paste pastes[] = {
            {4, 0, "11\n12\n13\n", "13 12 11", ""},
            {0, 4, "11\r\n12\r\n13\r\n", "13 12 11", ""}, // upwards: the same cells
            {4, 0, "7", "7 7 7", ""},
            {4, 0, "5\n6\n", "40 6 5", ""}, // once: two lines do not fill three rows
            {4, 2, "5\n6\n5\n6\n", "", "larger than the 2 rows by 1 column selected"},
            {2, -1, "21\n22\n", "22 21 50", ""},
            {2, -1, "21\n22\n23\n", "", "past the end of the grid"},
            {4, 0, "10\n64\n12", "", "\"64\" into slot 2, Bowling: Accuracy (row 2, column 1 "},
        };
        for (const Paste& paste : pastes) {
            f.table().clearSelection(); // a click on a selected cell would open its editor
            click(paste.from, Qt::NoModifier);
            if (paste.to >= 0) {
                click(paste.to, Qt::ShiftModifier);
            }
            const bool done = f.grid->paste(q(paste.text));
            QCOMPARE(done, *paste.refusal == '\0');
            if (done) {
                QCOMPARE(accuracies(), q(paste.after));
                child<QAction>(*f.grid, "gridUndo")->trigger();
            } else {
                QVERIFY2(f.dialogs.messages.takeLast().contains(q(paste.refusal)), paste.text);
            }
            QCOMPARE(accuracies(), before);
            QVERIFY(f.dialogs.messages.isEmpty());
        }
    }

    // Set Field (Ctrl+E) starts on the current cell's field, counts the players selected
    // (not empty slots) and asks before renaming many; "+=N" and "-=N" typed into a cell
    // or given to Replace in Column move the number shown; Replace is one step.
    void setsByDialogTypingAndReplace() {
        Fixture f;
        const auto answerNext = [](const QString& value, QString* title, QString* field) {
            QTimer::singleShot(0, [=] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog != nullptr);
                *title = dialog->windowTitle();
                *field = child<QComboBox>(*dialog, "bulkField")->currentText().trimmed();
                child<QLineEdit>(*dialog, "bulkValue")->setText(value);
                dialog->accept();
            });
        };
        QString title;
        QString shownField;
        f.select({0, 1, 2, 5}); // 5 is empty
        f.table().selectionModel()->setCurrentIndex(f.cell(2, "ratings.bowling.Accuracy"),
                                                    QItemSelectionModel::NoUpdate);
        answerNext(u"3"_s, &title, &shownField);
        child<QAction>(*f.grid, "gridSetField")->trigger();
        QCOMPARE(title, u"Set a Field of 3 Players"_s);
        QCOMPARE(shownField, u"Bowling: Accuracy"_s);
        QCOMPARE(f.value(1, "ratings.bowling.Accuracy"), u"3"_s);
        // Renaming many asks first; No (the default) changes nothing.
        f.table().selectionModel()->setCurrentIndex(f.cell(2, "name"),
                                                    QItemSelectionModel::NoUpdate);
        for (const bool yes : {false, true}) {
            f.dialogs.answers << yes;
            answerNext(u"Same"_s, &title, &shownField);
            child<QAction>(*f.grid, "gridSetField")->trigger();
            QCOMPARE(shownField, u"Name"_s);
            QVERIFY(f.dialogs.questions.takeLast().startsWith(
                u"Rename all 3 selected players to \"Same\"?"_s));
            QCOMPARE(f.value(0, "name"), yes ? u"Same"_s : u"Adams"_s);
        }

        // Typed into a cell and committed with Return: the value, or a step from the
        // number shown; the frozen name is edited where it is shown.
        f.grid->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.grid));
        const QModelIndex accuracy = f.cell(4, "ratings.bowling.Accuracy"); // 50
        struct Typed {
            int slot;
            const char* key;
            const char* keys;
            const char* after;
        };
        const Typed typed[] = {{4, "ratings.bowling.Accuracy", "+=5", "55"},
                               {4, "ratings.bowling.Accuracy", "-= 60", "0"},
                               {4, "ratings.bowling.Accuracy", "+=x", "0"},
                               {4, "ratings.bowling.Accuracy", "12", "12"},
                               {3, "name", "Zed", "Zed"}};
        for (const Typed& row : typed) {
            f.table().setCurrentIndex(f.cell(row.slot, row.key));
            const QString keys = q(row.keys);
            QTest::keyClicks(&f.table(), keys.left(1)); // opens the cell's editor
            QCOMPARE(f.frozen().isAncestorOf(QApplication::focusWidget()), row.slot == 3);
            QTest::keyClicks(QApplication::focusWidget(), keys.mid(1));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCoreApplication::processEvents();
            QCOMPARE(f.value(row.slot, row.key), q(row.after));
        }
        // Ctrl+Return puts it into every selected row of the column, as one step.
        f.select({2, 4});
        f.table().selectionModel()->setCurrentIndex(accuracy, QItemSelectionModel::NoUpdate);
        QTest::keyClicks(&f.table(), u"+"_s);
        QTest::keyClicks(QApplication::focusWidget(), u"=2"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(f.value(2, "ratings.bowling.Accuracy") + f.value(4, "ratings.bowling.Accuracy"),
                 u"514"_s); // 3 (set above) and 12
        child<QAction>(*f.grid, "gridUndo")->trigger();
        QCOMPARE(f.value(2, "ratings.bowling.Accuracy"), u"3"_s);
        QVERIFY(!f.table().model()->setData(f.cell(4, "nation"), u"+=1"_s));
        QVERIFY(f.dialogs.messages.takeLast().contains(u"+= takes a whole number"_s));

        // Replace in Column: the rows shown or the selected ones, any case, one step.
        struct Replace {
            const char* key;
            ColumnReplace replace;
            std::optional<int> changed;
            const char* slotZero; // the field of slot 0 after
        };
        const Replace replaces[] = {
            {"nation", {"eng", "AUS", false}, 3, "AUS"}, // 0, 2 and 4; Bad cannot be shown
            {"nation", {"ENG", "SAF", true}, 1, "SAF"},  // slots 0 and 1 selected
            {"nation", {"ENG", "XYZ", false}, std::nullopt, "ENG"},
            {"ratings.bowling.Accuracy", {"3", "+=10", false}, 3, "13"}, // set above
        };
        f.select({0, 1});
        for (const Replace& row : replaces) {
            const std::optional<int> changed =
                f.grid->replaceInColumn(f.model().column(field(row.key)), row.replace);
            QVERIFY(changed == row.changed);
            QCOMPARE(f.value(0, row.key), q(row.slotZero));
            QCOMPARE(f.dialogs.messages.size(), row.changed ? 0 : 1);
            f.dialogs.messages.clear();
            if (row.changed) {
                child<QAction>(*f.grid, "gridUndo")->trigger();
            }
        }
        QCOMPARE(f.value(2, "nation"), u"ENG"_s);
        QTest::keyClick(&f.table(), 'Q'); // an editor left open as the windows close
    }

    // The export holds the rows and columns shown, pending edits included, as the CSV
    // that `apply` reads: applied to the file as opened, it writes what Save All writes.
    void exportIsWhatApplyReads() {
        Fixture f;
        // Every column of every player: what `dump --format csv` writes, less the
        // commentary's name, which no edit takes, and the dump's slot hashes.
        const QString all = q(f.dir.file("all.csv"));
        QVERIFY(f.grid->exportPlayers(all));
        QList<QByteArray> dumped =
            test::runCli({u"dump"_s, q(f.path), u"--format"_s, u"csv"_s}).split('\n');
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
        QVERIFY(f.grid->setField(field("ratings.batting.Attack"), u"="_s, u"33"_s));
        f.view().setHiddenGroups({u"Appearance"_s});
        child<QLineEdit>(f.view(), "gridFilter")->setText(u"nation = ENG"_s);
        const QString csv = q(f.dir.file("shown.csv"));
        QVERIFY(f.grid->exportPlayers(csv));
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = written.readAll().split('\n');
        // A byte order mark first, so spreadsheets read it as UTF-8.
        QVERIFY(lines[0].startsWith(
            "\xEF\xBB\xBFslot,id,name,nation,commentary,roles.battingPosition,"));
        QCOMPARE(lines.size(), 5 + 1); // header, four players, nothing after the last break
        QVERIFY(lines[1].startsWith("0,0,Adams,ENG,"));
        QVERIFY(lines[4].startsWith("6,0,Bad,ENG,"));
        QVERIFY(!f.grid->exportPlayers(q(f.dir.file("none/x.csv"))));
        QVERIFY(f.dialogs.messages.takeLast().startsWith(u"Cannot write "_s));

        // The players the batch tool can load, as a workbook: it writes the same.
        child<QLineEdit>(f.view(), "gridFilter")->setText(u"name != Bad"_s);
        const QString workbook = q(f.dir.file("shown.xlsx"));
        QVERIFY(f.grid->exportPlayers(workbook));
        const std::string viaWorkbook = f.copy(f.path, "via-workbook.pak");
        QCOMPARE(runCli({u"apply"_s, q(viaWorkbook), workbook}), 0);

        const std::string reference = f.copy(f.path, "reference.pak");
        // Bad cannot be shown, so the batch tool refuses it: apply the others.
        QVERIFY(QFile::resize(csv, written.size() - lines[4].size() - 1));
        QCOMPARE(runCli({u"apply"_s, q(reference), csv}), 0);
        f.window->saveAll();
        QCOMPARE(test::readFileBytes(f.path), test::readFileBytes(reference));
        QCOMPARE(test::readFileBytes(viaWorkbook), test::readFileBytes(reference));
    }

    // Repair from the context menu is a step; the column set outlives the window.
    void repairsAndRemembersColumns() {
        Fixture f;
        f.select({6});
        child<QAction>(*f.grid, "gridRepair")->trigger();
        const QModelIndex face = f.model().index(6, f.model().column(field("appearance.face")));
        QVERIFY(!face.data(RosterGridModel::kFailedRole).toBool());
        QVERIFY(face.flags().testFlag(Qt::ItemIsEditable));
        child<QAction>(*f.grid, "gridUndo")->trigger();
        QVERIFY(face.data(RosterGridModel::kFailedRole).toBool());

        // A double click on the slot (which cannot be edited) shows the player.
        QVERIFY(QTest::qWaitForWindowExposed(f.grid));
        const QRect smith = f.frozen().visualRect(
            f.view().filter().mapFromSource(f.model().index(2, RosterGridModel::kSlotColumn)));
        QTest::mouseClick(f.frozen().viewport(), Qt::LeftButton, {}, smith.center());
        QTest::mouseDClick(f.frozen().viewport(), Qt::LeftButton, {}, smith.center());
        QCOMPARE(child<QLineEdit>(*f.window, "txtName")->text(), u"Smith"_s);

        // Ticks leave the menu open; one group alone, then all again.
        QMenu* menu = child<QToolButton>(f.view(), "gridColumns")->menu();
        menu->popup(f.view().mapToGlobal(QPoint()));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->actions().value(1)).center());
        QVERIFY(menu->isVisible());
        QVERIFY(!f.view().groupShown(1));
        menu->close();
        child<QMenu>(f.view(), "gridOnlyGroup")->actions().value(3)->trigger();
        for (int group = 0; group < static_cast<int>(RosterGridModel::groups().size()); ++group) {
            QCOMPARE(f.view().groupShown(group), group == 3);
        }
        QVERIFY(!f.table().isColumnHidden(f.model().column(field("name")))); // in no group
        child<QAction>(f.view(), "gridShowAllGroups")->trigger();
        QVERIFY(f.view().hiddenGroups().isEmpty());

        f.view().setGroupShown(1, false);
        f.grid->close(); // deleted on close
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        child<QAction>(*f.window, "mnuRosterGrid")->trigger();
        auto* reopened = child<RosterGridWindow>(*f.window, "gridWindow");
        QVERIFY(!reopened->view().groupShown(1));
        QVERIFY(reopened->view().groupShown(0));
    }
};

} // namespace qb

int main(int argc, char** argv) {
    return qb::test::runWindowSuite<qb::RosterGridTest>(argc, argv);
}

#include "roster_grid_test.moc"
