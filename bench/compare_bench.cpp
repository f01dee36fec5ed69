// The compare view's figures on a full roster (the file named on the command line)
// beside a copy in which every player differs: opening the view to its first paint,
// matching by player ID instead of slot, and copying the ratings of every player to the
// left as one step. Prints one "name milliseconds" line each.
#include "demo_window.h"
#include "player/field_registry.h"
#include "player/roster_document.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <cstdio>

namespace {

double millisecondsOf(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: compare_bench FULL_ROSTER.pak\n");
        return 2;
    }
    qb::test::DemoWindow demo;
    qb::MainWindow& window = *demo.window;
    const QString other = demo.scratch.filePath(QStringLiteral("other.pak"));
    QFile::copy(QString::fromLocal8Bit(argv[1]), other);
    {
        // Every player of the copy bowls a little more accurately.
        qb::RosterDocument edited(other.toStdString());
        const qb::Field& accuracy = *qb::findField("ratings.bowling.Accuracy");
        for (int slot = 0; slot < qb::SLOT_COUNT; ++slot) {
            edited.apply(edited.makeEdit(slot, accuracy, slot % 2 == 0 ? "1" : "2"));
        }
        edited.saveAll();
    }
    demo.dialogs.files << other; // the roster to compare with
    window.openRoster(QString::fromLocal8Bit(argv[1]));
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    window.findChild<QAction*>(QStringLiteral("mnuCompare"))->trigger();
    auto* view = window.findChild<QMainWindow*>(QStringLiteral("compareWindow"));
    QApplication::processEvents();
    (void)view->grab(); // the first paint
    const double open = millisecondsOf(timer);

    timer.restart();
    view->findChild<QComboBox*>(QStringLiteral("compareMatch"))->setCurrentIndex(1);
    const double byId = millisecondsOf(timer);

    view->findChild<QTableView*>(QStringLiteral("compareLeft"))->selectAll();
    timer.restart();
    view->findChild<QPushButton*>(QStringLiteral("compareCopyToLeft"))->click();
    const double copy = millisecondsOf(timer);

    std::printf("compare_open_ms %.2f\n", open);
    std::printf("compare_match_id_ms %.2f\n", byId);
    std::printf("compare_copy_ms %.2f\n", copy);
    demo.reportMessages();
    return 0;
}
