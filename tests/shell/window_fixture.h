#pragma once

#include "find_widget.h"
#include "images/demo_game.h"
#include "player/roster_document.h"
#include "quiet_dialogs.h"
#include "shell/app_settings.h"
#include "shell/main_window.h"
#include "support/child_process.h"
#include "support/roster_maker.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

namespace qb::test {

// Text of the tests' own (ASCII, or UTF-8 paths) as Qt takes it.
inline QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// A game folder, a settings file naming it (unless `withGame` is false) and a window on them.
struct WindowFixture {
    explicit WindowFixture(bool withGame = true) {
        writeDemoGameFolder(dir.file("game"));
        settings = std::make_unique<AppSettings>(file("settings.ini"));
        if (withGame) {
            settings->setGamePath(file("game"));
        }
        window = std::make_unique<MainWindow>(*settings, dialogs);
    }
    QString file(const std::string& name) const { return QString::fromStdString(dir.file(name)); }
    // A copy of `path` as it is now, for another program to write the same request into.
    std::string copy(const std::string& path, const std::string& name) const {
        writeFileBytes(dir.file(name), readFileBytes(path));
        return dir.file(name);
    }

    TempDir dir;
    QuietDialogs dialogs;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<MainWindow> window;
};

// Adams, Brown, Smith, Smithers and Taylor in slots 0 to 4, each with byte 104 as the
// first save writes it (its low bits always 56), so a save writes only what was edited.
inline RosterMaker fivePlayers() {
    RosterMaker maker;
    const char* names[] = {"Adams", "Brown", "Smith", "Smithers", "Taylor"};
    for (int slot = 0; slot < 5; ++slot) {
        maker.player(slot, names[slot]).set(slot, 104, {56});
    }
    return maker;
}

// One edit as quillbay-cli set takes it: a slot, a field's key and the value as text.
struct FieldEdit {
    int slot;
    std::string key;
    std::string value;
};

// Writes `edits` to the roster at `path` in one batch, as another program would.
inline void saveEdits(const std::string& path, const std::vector<FieldEdit>& edits) {
    RosterDocument document(path);
    for (const FieldEdit& edit : edits) {
        document.apply(document.makeEdit(edit.slot, *findField(edit.key), edit.value));
    }
    document.saveAll();
}

// Chooses entry `index` of `list` as the user does, which the list reports as activated.
inline void choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// Sets the text of `box` as the user types it and leaves the box.
inline void enter(QLineEdit* box, const QString& text) {
    box->setText(text);
    emit box->editingFinished();
}

#ifdef QB_CLI_PATH
// Runs quillbay-cli within the children's time limit; returns its standard output when
// it exits with `expected`, else fails the test and returns nothing, so a cut-off output
// is never used. `exitCode`, when given, receives the exit code (-1: crashed or ended at
// the limit) and the caller checks it instead.
inline QByteArray runCli(const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.start(QStringLiteral(QB_CLI_PATH), arguments);
    if (!process.waitForFinished(childTimeLimitSeconds() * 1000)) {
        process.kill();
        process.waitForFinished(-1);
    }
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (exitCode != nullptr) {
        *exitCode = code;
    } else if (code != 0) {
        QTest::qFail(qPrintable(QStringLiteral("quillbay-cli %1 exited %2: %3")
                                    .arg(arguments.value(0))
                                    .arg(code)
                                    .arg(QString::fromUtf8(process.readAllStandardError()))),
                     __FILE__, __LINE__);
        return {};
    }
    return process.readAllStandardOutput();
}
#endif

// A window suite's main: offscreen unless told otherwise, with links and a data folder
// (backups, journals) of its own, so a running editor of the user is never addressed.
template <typename Suite> int runWindowSuite(int argc, char** argv) {
    const TempDir data;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.path().string()));
    qputenv("QUILLBAY_LINK_NAMESPACE",
            QByteArray("test-") + QByteArray::number(QCoreApplication::applicationPid()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    Suite suite;
    return QTest::qExec(&suite, argc, argv);
}

} // namespace qb::test
