#include "shell/compare/compare_tool.h"

#include "saving/file_identity.h"
#include "shell/app_settings.h"
#include "shell/compare/compare_window.h"
#include "shell/dialogs.h"
#include "shell/tools/tool_context.h"
#include "shell/tools/tool_windows.h"
#include "system/errors.h"

#include <QPointer>
#include <memory>

namespace qb {

void chooseRosterToCompare(const ToolContext& context) {
    const QString path = context.dialogs.openFile(
        &context.window, QStringLiteral("Select the roster to compare with"),
        context.settings.gamePath(), kRosterFileFilters);
    if (!path.isEmpty()) {
        compareWith(context, path);
    }
}

void compareWith(const ToolContext& context, const QString& path) {
    const QPointer<CompareWindow> shown = context.windows.find<CompareWindow>();
    if (shown != nullptr && !shown->settleUnsaved()) {
        return;
    }
    attempt(context.dialogs, &context.window, [&] {
        // A roster compared with itself would be two documents saving one file.
        if (identifyFile(path.toStdString()).sameFileAs(identifyFile(context.document.path()))) {
            throw QuillbayError(path.toStdString() +
                                " is the roster open in the window; choose another file to "
                                "compare it with");
        }
        auto right = std::make_unique<RosterDocument>(path.toStdString());
        context.commitEditors();
        delete shown.data();
        auto* view = new CompareWindow(context, std::move(right));
        context.windows.keep(view, [view] { return view->settleUnsaved(); });
        view->show();
    });
}

} // namespace qb
