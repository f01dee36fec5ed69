#include "shell/compare/apply_edits_tool.h"

#include "player/edits_file.h"
#include "shell/compare/patch_preview.h"
#include "shell/dialogs.h"
#include "shell/tools/edits_folder.h"
#include "shell/tools/tool_context.h"

#include <QFile>
#include <QFileInfo>

namespace qb {

void applyEditsFile(const ToolContext& context) {
    QWidget* owner = &context.window;
    const QString path = context.dialogs.openFile(
        owner, QStringLiteral("Select the edits file or patch to apply"),
        editsFolder(context.settings, context.document),
        QStringLiteral("Edits file or patch (*.csv *.json);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        context.dialogs.message(
            owner, QMessageBox::Critical,
            QStringLiteral("%1 could not be read: %2").arg(path, file.errorString()));
        return;
    }
    const std::string text = file.readAll().toStdString();
    context.commitEditors();
    // As `quillbay-cli apply`, with --match as the file's own column or keys say.
    const MatchBy by = editsFileMatch(text, path.toStdString());
    std::vector<Edit> edits;
    std::vector<int> unmatched;
    if (!attempt(context.dialogs, owner, [&] {
            edits = patchEdits(context.document, parseEditsFile(text, path.toStdString(), by), by,
                               unmatched);
        })) {
        return;
    }
    const QString name = QFileInfo(path).fileName();
    const QString preview = patchPreview(context.document, edits, unmatched);
    if (edits.empty()) {
        context.dialogs.message(owner, QMessageBox::Information, preview);
        return;
    }
    if (!context.dialogs.question(
            owner,
            QStringLiteral("Apply %1 to %2?\nIts players are matched by %3.\n\n%4")
                .arg(name, QFileInfo(QString::fromStdString(context.document.path())).fileName(),
                     by == MatchBy::Id ? QStringLiteral("player ID") : QStringLiteral("slot"),
                     preview),
            QStringLiteral("Apply Edits File"))) {
        return;
    }
    context.pushEdits(QStringLiteral("Apply %1").arg(name), std::move(edits));
}

} // namespace qb
