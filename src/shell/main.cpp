#include "shell/companion_link.h"
#include "shell/demo_mode.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN
// A window program has no console of its own. Its text for --help, --version and
// --request goes where its output is sent (a file, a pipe, QProcess); else, started from
// a console (Command Prompt, PowerShell), to that console; else Qt shows it in a message
// box. Returns whether a console was borrowed.
bool textToStandardHandles = false;

bool findOutputForTheCommandLine() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if ((startup.dwFlags & STARTF_USESTDHANDLES) != 0) {
        return false;
    }
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE) {
        textToStandardHandles = true; // (as Wine starts a program from a Linux shell)
        return false;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return false;
    }
    FILE* ignored = nullptr;
    freopen_s(&ignored, "CONOUT$", "w", stdout);
    freopen_s(&ignored, "CONOUT$", "w", stderr);
    return true;
}
#endif

struct StartOptions {
    bool demo = false;
    bool resetDemo = false;
    QString open;
};

// Reads the command line with a core application only, so --help, --version and
// --request work from a terminal or a script without a display. Returns nothing when
// the program is done (help or version printed, or the request sent), with its exit code.
std::optional<StartOptions> readCommandLine(int argc, char** argv, int& exitCode) {
    const QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillbay"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.1"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Quillbay: the player editor for Cricket 2004."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral(
            "Open the built-in demo roster with a stand-in game folder and settings of its own."));
    parser.addOption(demo);
    const QCommandLineOption reset(
        QStringLiteral("reset"),
        QStringLiteral(
            "With --demo: write the demo files afresh, dropping changes saved to them."));
    parser.addOption(reset);
    const QCommandLineOption request(
        QStringLiteral("request"),
        QStringLiteral("Ask a running editor to show entry INDEX of the roster at PATH."),
        QStringLiteral("INDEX|PATH"));
    parser.addOption(request);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A roster (.pak) or saved game (.sav) to open."),
                                 QStringLiteral("[FILE]"));
#ifdef Q_OS_WIN
    // Qt would show --help and --version in a message box here.
    if (textToStandardHandles) {
        if (!parser.parse(QCoreApplication::arguments())) {
            std::fprintf(stderr, "quillbay: %s\n", qPrintable(parser.errorText()));
            exitCode = 1;
            return std::nullopt;
        }
        if (parser.isSet(QStringLiteral("version"))) {
            std::printf("Quillbay %s\n", qPrintable(QCoreApplication::applicationVersion()));
            return std::nullopt;
        }
        if (parser.isSet(QStringLiteral("help"))) {
            std::fputs(qPrintable(parser.helpText()), stdout);
            return std::nullopt;
        }
    }
#endif
    parser.process(core);

    if (parser.isSet(request)) {
        const qb::SendOutcome outcome =
            qb::sendLinkCommand(qb::linkName(qb::kEditorTopic), parser.value(request));
        exitCode = 0;
        if (!outcome.sent) {
            std::fprintf(stderr, "quillbay: %s\n",
                         qPrintable(outcome.noListener
                                        ? QStringLiteral("no Quillbay editor is running")
                                        : outcome.error));
            exitCode = 1;
        }
        return std::nullopt;
    }
    if (parser.isSet(reset) && !parser.isSet(demo)) {
        std::fprintf(stderr, "quillbay: --reset goes with --demo\n");
        exitCode = 1;
        return std::nullopt;
    }
    return StartOptions{parser.isSet(demo), parser.isSet(reset),
                        parser.positionalArguments().value(0)};
}

} // namespace

int main(int argc, char** argv) {
#ifdef Q_OS_WIN
    const bool borrowedConsole = findOutputForTheCommandLine();
#endif
    int exitCode = 0;
    const std::optional<StartOptions> options = readCommandLine(argc, argv, exitCode);
    if (!options) {
        return exitCode;
    }
#ifdef Q_OS_WIN
    if (borrowedConsole) {
        FreeConsole(); // the window does not hold its starter's console
    }
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbay"));
    QApplication::setApplicationVersion(QStringLiteral("2.1"));
#ifdef Q_OS_WIN
    // Windows' own look (per-monitor DPI awareness comes from the manifest).
    QApplication::setStyle(QStringLiteral("windowsvista"));
#else
    QApplication::setStyle(QStringLiteral("Fusion"));
#endif

    qb::SystemDialogs dialogs;
    std::unique_ptr<qb::AppSettings> settings;
    QString open = options->open;
    std::optional<qb::DemoFolder> demo;
    if (options->demo) {
        const qb::DemoFolder folder = qb::prepareDemoFolder(
            options->resetDemo ? qb::DemoStart::Fresh : qb::DemoStart::KeepChanges);
        demo = folder;
        settings = std::make_unique<qb::AppSettings>(folder.settingsFile);
        settings->setGamePath(folder.gameFolder);
        if (open.isEmpty()) {
            open = folder.roster;
        }
    } else {
        settings = std::make_unique<qb::AppSettings>();
    }
    qb::MainWindow window(*settings, dialogs);
    if (demo) {
        window.offerDemoReset(*demo);
    }
    window.show();
    if (!open.isEmpty()) {
        // As the open command does: the game folder first, then the file. Once the event
        // loop runs, so the window is on the screen and a question is centred on it.
        QTimer::singleShot(
            0, &window,
            [&window, path = QDir::toNativeSeparators(QFileInfo(open).absoluteFilePath())] {
                window.openRosterAfterGameCheck(path);
            });
    }
    return QApplication::exec();
}
