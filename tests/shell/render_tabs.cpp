// Renders every tab of the demo and the roster grid to PNG files: render_tabs
// OUTPUT_FOLDER. Run it with QT_QPA_PLATFORM=offscreen (and QT_SCALE_FACTOR=1.5 for the
// scaled look).
#include "demo_window.h"
#include "find_widget.h"
#include "render_folder.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/grid/roster_grid_view.h"
#include "shell/grid/roster_grid_window.h"
#include "shell/pages/about_page.h"
#include "shell/tab_strip.h"

#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <QTableView>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::optional<QString> folder = qb::test::renderFolder(argc, argv, "render_tabs");
    if (!folder) {
        return 2;
    }
    const QString& out = *folder;
    const qb::test::DemoWindow demo;
    qb::MainWindow& window = *demo.window;
    window.openRoster(demo.demo.roster);
    qb::test::child<QComboBox>(window, "cboPlayerName")->setCurrentIndex(3);
    // One unsaved edit, so the pictures show its marks: the title, the status line, the
    // player list, the Bowling tab and the caption of the rating.
    auto* accuracy = qb::test::child<QSlider>(window, "sldBowling_4");
    accuracy->setValue(accuracy->value() + 5);
    // And one of the Statistics tab, whose longest caption must show whole when marked.
    auto* highest = qb::test::child<QLineEdit>(window, "txtHigestScore");
    highest->setText(QString::number(highest->text().toInt() + 1));
    emit highest->editingFinished();
    auto* tabs = qb::test::child<qb::TabStrip>(window, "TabStrip1");
    auto* about = window.findChild<qb::AboutPage*>();
    for (int tab = 1; tab <= tabs->tabCount(); ++tab) {
        tabs->selectTab(tab);
        if (tab == about->tab()) {
            for (int tick = 0; tick < 80; ++tick) {
                about->tick();
            }
        }
        QApplication::processEvents();
        window.grab().save(
            QStringLiteral("%1/tab-%2.png").arg(out).arg(tab, 2, 10, QLatin1Char('0')));
    }
    // The grid: every column group, then a filter, then the bowling ratings sorted.
    qb::test::child<QAction>(window, "mnuRosterGrid")->trigger();
    auto* grid = qb::test::child<qb::RosterGridWindow>(window, "gridWindow");
    const auto save = [&](const char* name) {
        QApplication::processEvents();
        grid->grab().save(QStringLiteral("%1/%2.png").arg(out, QLatin1String(name)));
    };
    save("grid-all");
    qb::test::child<QLineEdit>(*grid, "gridFilter")->setText(QStringLiteral("nation = ENG"));
    qb::test::child<QLineEdit>(*grid, "gridSearch")->setText(QStringLiteral("s"));
    save("grid-filter");
    qb::test::child<QLineEdit>(*grid, "gridFilter")->clear();
    qb::test::child<QLineEdit>(*grid, "gridSearch")->clear();
    QStringList hidden;
    for (const qb::ColumnGroup& group : qb::RosterGridModel::groups()) {
        if (group.name != QStringLiteral("Ratings: Bowling")) {
            hidden << group.name;
        }
    }
    grid->view().setHiddenGroups(hidden);
    grid->view().table().sortByColumn(
        grid->view().model().column(*qb::findField("ratings.bowling.Accuracy")),
        Qt::DescendingOrder);
    save("grid-ratings-sorted");
    grid->view().setHiddenGroups({}); // the settings are the demo's own, but leave them whole
    return demo.reportMessages() ? 1 : 0;
}
