#pragma once

#include "player/roster_document.h"
#include "shell/demo_mode.h"
#include "shell/dialogs.h"

#include <functional>
#include <memory>

class QMainWindow;

namespace qb {

class PlayerPresenter;

// Demo mode's File, Reset Demo Files...: fresh copies of the demo files, after a question
// that names what is lost. Starting the demo keeps what was saved into them, so a
// newcomer's saved change is still there at the next start.
class DemoReset {
public:
    // What the window does around the reset.
    struct Window {
        QMainWindow* window;
        // Closes the tools' windows that hold a roster of their own (the compare view's
        // right roster may be a demo file); false when their unsaved edits, asked about,
        // keep one open.
        std::function<bool()> closeToolRosters;
        // Opens the roster again from its fresh copy.
        std::function<void(const QString&)> reopen;
    };
    DemoReset(DemoFolder folder, const std::unique_ptr<RosterDocument>& document, Dialogs& dialogs,
              PlayerPresenter& presenter, Window window);

    void run();

private:
    DemoFolder folder_;
    const std::unique_ptr<RosterDocument>& document_;
    Dialogs& dialogs_;
    PlayerPresenter& presenter_;
    Window window_;
};

} // namespace qb
