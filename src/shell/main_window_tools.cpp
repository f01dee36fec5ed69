// The tools of the open document (src/shell/tools): the main window runs them with what
// they may use of it, and takes their edits into the roster's history.
#include "shell/edit_command.h"
#include "shell/main_window.h"
#include "shell/player_name_box.h"
#include "shell/tools/document_tools.h"
#include "shell/tools/tool_context.h"

#include <QUndoStack>

namespace qb {

void MainWindow::openTool(const DocumentTool& tool) {
    if (document_) {
        tool.open(toolContext());
    }
}

ToolContext MainWindow::toolContext() {
    return {
        .document = *document_,
        .history = *history_,
        .windows = *tools_,
        .window = *this,
        .dialogs = dialogs_,
        .settings = settings_,
        .safety = safety(false),
        .pushEdits = [this](const QString& text,
                            std::vector<Edit> edits) { pushEdits(text, std::move(edits)); },
        .commitEditors = [this] { commitEditors(); },
        .undoOrRedo = [this](bool redo) { undoOrRedo(redo); },
        .saveAll = [this] { saveAll(); },
        .showPlayer = [this](int slot) { presentPlayer(slot); },
    };
}

void MainWindow::pushEdits(const QString& text, std::vector<Edit> edits) {
    commitEditors();
    attempt([&] { history_->push(new EditsCommand(*document_, text, std::move(edits))); });
}

void MainWindow::presentPlayer(int slot) {
    if (slot < names_->count()) {
        names_->select(slot);
    } else {
        presenter_->showPlayer(slot);
    }
    raise();
    activateWindow();
}

} // namespace qb
