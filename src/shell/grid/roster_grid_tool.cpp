#include "shell/grid/roster_grid_tool.h"

#include "shell/grid/roster_grid_model.h"
#include "shell/grid/roster_grid_view.h"
#include "shell/grid/roster_grid_window.h"
#include "shell/tools/tool_context.h"
#include "shell/tools/tool_windows.h"

namespace qb {

void showRosterGrid(const ToolContext& context) {
    auto* grid = context.windows.find<RosterGridWindow>();
    if (grid == nullptr) {
        grid = new RosterGridWindow(context.document, context.settings, context.dialogs,
                                    &context.window);
        grid->view().model().setHistory(context.pushEdits);
        QObject::connect(grid, &RosterGridWindow::openPlayer, &context.window, context.showPlayer);
        QObject::connect(grid, &RosterGridWindow::saveAllRequested, &context.window,
                         context.saveAll);
        QObject::connect(grid, &RosterGridWindow::undoRequested, &context.window,
                         [undoOrRedo = context.undoOrRedo] { undoOrRedo(false); });
        QObject::connect(grid, &RosterGridWindow::redoRequested, &context.window,
                         [undoOrRedo = context.undoOrRedo] { undoOrRedo(true); });
        context.windows.keep(grid);
    }
    grid->show();
    grid->raise();
    grid->activateWindow();
}

} // namespace qb
