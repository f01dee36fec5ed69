#include "shell/edit_command.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/grid/roster_grid_view.h"
#include "shell/grid/roster_grid_window.h"
#include "shell/main_window.h"
#include "shell/player_name_box.h"

#include <QUndoStack>

namespace qb {

void MainWindow::showRosterGrid() {
    if (!document_) {
        return;
    }
    if (!grid_) {
        grid_ = new RosterGridWindow(*document_, settings_, dialogs_, this);
        grid_->view().model().setHistory([this](const QString& text, std::vector<Edit> edits) {
            pushEdits(text, std::move(edits));
        });
        connect(grid_, &RosterGridWindow::openPlayer, this, &MainWindow::openGridPlayer);
        connect(grid_, &RosterGridWindow::saveAllRequested, this, &MainWindow::saveAll);
        connect(grid_, &RosterGridWindow::undoRequested, this, [this] { undoOrRedo(false); });
        connect(grid_, &RosterGridWindow::redoRequested, this, [this] { undoOrRedo(true); });
    }
    grid_->show();
    grid_->raise();
    grid_->activateWindow();
}

void MainWindow::pushEdits(const QString& text, std::vector<Edit> edits) {
    commitEditors();
    attempt([&] { history_->push(new EditsCommand(*document_, text, std::move(edits))); });
}

void MainWindow::openGridPlayer(int slot) {
    if (slot < names_->count()) {
        names_->select(slot);
    } else {
        presenter_->showPlayer(slot);
    }
    raise();
    activateWindow();
}

} // namespace qb
