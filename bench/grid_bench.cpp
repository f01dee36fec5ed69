// The roster grid's figures on a full roster (the file named on the command line):
// opening the grid with every column group shown to its first paint, sorting by a
// column, a keystroke in the name search, a bulk `+=` over every player until the
// document holds it, and Save All of those players (Ctrl+Shift+S) until the window shows
// the roster as saved. Prints one "name milliseconds" line each.
#include "demo_window.h"
#include "player/field_registry.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/grid/roster_grid_view.h"
#include "shell/grid/roster_grid_window.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double worst(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grid_bench FULL_ROSTER.pak\n");
        return 2;
    }
    const qb::test::DemoWindow demo;
    qb::MainWindow& window = *demo.window;
    // Save All writes the roster: a copy, so every run starts from the same file.
    const QString roster = demo.scratch.filePath(QStringLiteral("full.pak"));
    QFile::copy(QString::fromLocal8Bit(argv[1]), roster);
    window.openRoster(roster);
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    window.findChild<QAction*>(QStringLiteral("mnuRosterGrid"))->trigger();
    auto* grid = window.findChild<qb::RosterGridWindow*>(QStringLiteral("gridWindow"));
    QApplication::processEvents();
    (void)grid->grab(); // the first paint
    const double open = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    // Every column group once each way; the first sort decodes the players it has not
    // shown yet.
    qb::RosterGridView& view = grid->view();
    std::vector<double> sorts;
    for (const qb::ColumnGroup& group : qb::RosterGridModel::groups()) {
        for (const Qt::SortOrder order : {Qt::DescendingOrder, Qt::AscendingOrder}) {
            timer.restart();
            view.table().sortByColumn(group.first, order);
            sorts.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
    }

    auto* search = grid->findChild<QLineEdit*>(QStringLiteral("gridSearch"));
    std::vector<double> keystrokes;
    for (const char* text : {"s", "sm", "smi", "sm", "s", ""}) {
        timer.restart();
        search->setText(QString::fromLatin1(text));
        keystrokes.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }

    view.table().sortByColumn(qb::RosterGridModel::kSlotColumn, Qt::AscendingOrder);
    view.table().selectAll();
    timer.restart();
    grid->setField(*qb::findField("ratings.bowling.Accuracy"), QStringLiteral("+="),
                   QStringLiteral("1"));
    const double bulk = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    timer.restart();
    window.saveAll();
    QApplication::processEvents();
    const double saveAll = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    std::printf("grid_open_ms %.2f\n", open);
    std::printf("grid_sort_ms %.3f\n", worst({sorts.begin() + 1, sorts.end()}));
    std::printf("grid_sort_first_ms %.3f\n", sorts.front());
    std::printf("grid_keystroke_ms %.3f\n", median(keystrokes));
    std::printf("grid_bulk_ms %.2f\n", bulk);
    std::printf("grid_save_all_ms %.2f\n", saveAll);
    demo.reportMessages();
    return 0;
}
