#pragma once

#include "quiet_dialogs.h"
#include "shell/app_settings.h"
#include "shell/demo_mode.h"
#include "shell/main_window.h"

#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace qb::test {

// The window as demo mode starts it, shown, in a scratch folder of its own: the demo
// files, settings naming the demo's game folder, and dialogs that ask nobody. The
// renderers and the window benchmarks start from it.
struct DemoWindow {
    DemoWindow() : demo(prepareDemoFolder(scratch.path())), settings(demo.settingsFile) {
        settings.setGamePath(demo.gameFolder);
        window = std::make_unique<MainWindow>(settings, dialogs);
        window->show();
    }

    // Prints the messages the window showed to the standard error; true when there were any.
    bool reportMessages() const {
        for (const QString& message : dialogs.messages) {
            std::fprintf(stderr, "message: %s\n", qPrintable(message));
        }
        return !dialogs.messages.isEmpty();
    }

    QTemporaryDir scratch;
    DemoFolder demo;
    AppSettings settings;
    QuietDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

} // namespace qb::test
