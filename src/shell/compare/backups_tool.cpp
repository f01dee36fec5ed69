#include "shell/compare/backups_tool.h"

#include "saving/backups.h"
#include "shell/compare/backups_window.h"
#include "shell/compare/compare_tool.h"
#include "shell/dialogs.h"
#include "shell/tools/tool_context.h"
#include "shell/tools/tool_windows.h"

namespace qb {

void showBackups(const ToolContext& context) {
    attempt(context.dialogs, &context.window, [&] {
        auto* window = new BackupsWindow(
            QString::fromStdString(context.document.path()),
            listBackups(context.document.path(), context.safety.dataFolderOrDefault()),
            &context.window);
        // The roster is compared as its file holds it now, as the list counts, with the
        // window's unsaved edits: another program may have changed it since it was read.
        QObject::connect(
            window, &BackupsWindow::compareRequested, &context.window,
            [context](const QString& backup) {
                if (attempt(context.dialogs, &context.window, [&] { context.document.reload(); })) {
                    compareWith(context, backup);
                }
            });
        context.windows.keep(window);
        window->show();
    });
}

} // namespace qb
