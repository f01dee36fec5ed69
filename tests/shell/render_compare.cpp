// Renders the compare view of the demo roster and an edited copy of it to PNG:
// render_compare OUTPUT_FOLDER writes compare.png. Run it with QT_QPA_PLATFORM=offscreen.
#include "find_widget.h"
#include "player/roster_document.h"
#include "quiet_dialogs.h"
#include "shell/demo_mode.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <iostream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
#ifdef Q_OS_WIN
    QApplication::setStyle(QStringLiteral("windowsvista")); // as quillbay.exe
#else
    QApplication::setStyle(QStringLiteral("Fusion"));
#endif
    if (argc != 2) {
        std::cerr << "usage: render_compare OUTPUT_FOLDER\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir scratch;
    qputenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit());
    const qb::DemoFolder demo = qb::prepareDemoFolder(scratch.path());
    // "An update": the demo roster with a few ratings and a name changed.
    const QString update = scratch.filePath(QStringLiteral("update.pak"));
    QFile::copy(demo.roster, update);
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
    qb::AppSettings settings(demo.settingsFile);
    settings.setGamePath(demo.gameFolder);
    qb::test::QuietDialogs dialogs;
    qb::MainWindow window(settings, dialogs);
    window.show();
    window.openRoster(demo.roster);
    dialogs.files << update;
    qb::test::child<QAction>(window, "mnuCompare")->trigger();
    auto& view = *qb::test::child<QMainWindow>(window, "frmCompare");
    view.resize(1280, 560);
    qb::test::child<QComboBox>(view, "cboMatch")->setCurrentIndex(1);
    qb::test::child<QCheckBox>(view, "chkOnlyDiffering")->setChecked(true);
    qb::test::child<QCheckBox>(view, "chkOnlyDifferingFields")->setChecked(true);
    qb::test::child<QTableView>(view, "grdLeft")->selectRow(0);
    QApplication::processEvents();
    view.grab().save(QStringLiteral("%1/compare.png").arg(out));
    for (const QString& message : dialogs.messages) {
        std::cerr << "message: " << message.toStdString() << '\n';
    }
    return dialogs.messages.isEmpty() ? 0 : 1;
}
