// Renders the compare view of the demo roster and an edited copy of it to PNG:
// render_compare OUTPUT_FOLDER writes compare.png. Run it with QT_QPA_PLATFORM=offscreen.
#include "demo_window.h"
#include "find_widget.h"
#include "player/roster_document.h"
#include "render_folder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::optional<QString> folder = qb::test::renderFolder(argc, argv, "render_compare");
    if (!folder) {
        return 2;
    }
    const QString& out = *folder;
    const QTemporaryDir data; // the backups and journals of the edit below
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    qb::test::DemoWindow demo;
    qb::MainWindow& window = *demo.window;
    // "An update": the demo roster with a few ratings and a name changed.
    const QString update = demo.scratch.filePath(QStringLiteral("update.pak"));
    QFile::copy(demo.demo.roster, update);
    {
        qb::RosterDocument edited(update.toStdString());
        const auto set = [&edited](int slot, const char* key, const std::string& text) {
            edited.apply(edited.makeEdit(slot, *qb::findField(key), text));
        };
        set(1, "ratings.bowling.Accuracy", "55");
        set(1, "ratings.bowling.Spin Rating", "60");
        set(3, "ratings.batting.Attack", "50");
        set(4, "name", "Newcomer");
        edited.saveAll();
    }
    window.openRoster(demo.demo.roster);
    demo.dialogs.files << update;
    qb::test::child<QAction>(window, "mnuCompare")->trigger();
    auto& view = *qb::test::child<QMainWindow>(window, "compareWindow");
    view.resize(1280, 560);
    qb::test::child<QComboBox>(view, "compareMatch")->setCurrentIndex(1);
    qb::test::child<QCheckBox>(view, "compareOnlyDiffering")->setChecked(true);
    qb::test::child<QCheckBox>(view, "compareOnlyDifferingFields")->setChecked(true);
    qb::test::child<QTableView>(view, "compareLeft")->selectRow(0);
    QApplication::processEvents();
    view.grab().save(QStringLiteral("%1/compare.png").arg(out));
    return demo.reportMessages() ? 1 : 0;
}
