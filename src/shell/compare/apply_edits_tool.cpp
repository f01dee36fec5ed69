#include "shell/compare/apply_edits_tool.h"

#include "player/dump_check.h"
#include "player/edits_file.h"
#include "player/player_object.h"
#include "shell/app_settings.h"
#include "shell/compare/patch_preview.h"
#include "shell/dialogs.h"
#include "shell/tools/edits_folder.h"
#include "shell/tools/tool_context.h"

#include <QFileInfo>
#include <set>

namespace qb {
namespace {

// The edits file read and checked as `quillbay-cli apply` reads and checks it: players
// keyed by slot (`by` says how the file named them), and a read-only cell that differs
// from what the roster file holds now refused.
EditsFile readChecked(const RosterDocument& document, const SlotTable& onDisk,
                      const std::string& path, MatchBy& by, std::vector<int>& unmatched) {
    EditsFile named = readEditsFile(readEditsFileBytes(path), path);
    by = named.by;
    EditsFile file = keyedBySlot(std::move(named), document, unmatched);
    std::string refused;
    for (const std::string& cell : changedReadOnlyCells(onDisk, file)) {
        refused += cell + "\n";
    }
    if (!refused.empty()) {
        throw EditError(refused + "Empty such a cell, or dump again; nothing was applied.", path);
    }
    return file;
}

// The slots the edits change, in order.
std::vector<int> editedSlots(const std::vector<Edit>& edits) {
    std::set<int> edited;
    for (const Edit& edit : edits) {
        edited.insert(edit.slot);
    }
    return {edited.begin(), edited.end()};
}

// Asks about the players the dump's hashes say another program changed since in the
// file (or whose hash a spreadsheet damaged): overwrite them, or leave them out (the
// default) and apply the rest. Returns the edits to apply.
std::vector<Edit> settleStalePlayers(const ToolContext& context, const SlotTable& onDisk,
                                     std::vector<Edit> edits, const SlotHashes& hashes) {
    const DumpCheck check = checkAgainstDump(onDisk, hashes, editedSlots(edits), {});
    if (check.passed() ||
        context.dialogs.questionDefaultNo(
            &context.window,
            QStringLiteral("%1.\n\nApplying their rows would undo what changed in %2 since the "
                           "edits file was made. Overwrite these players?\nNo leaves them out "
                           "and applies the others.")
                .arg(QString::fromStdString(dumpCheckText(check, onDisk)),
                     QFileInfo(QString::fromStdString(context.document.path())).fileName()))) {
        return edits;
    }
    std::set<int> leftOut(check.changed.begin(), check.changed.end());
    leftOut.insert(check.damaged.begin(), check.damaged.end());
    std::erase_if(edits, [&leftOut](const Edit& edit) { return leftOut.contains(edit.slot); });
    return edits;
}

// What reading the file noticed, as lines in front of the preview.
QString readingNotes(const EditsFile& file) {
    QString notes;
    for (const std::string& note : file.notes) {
        notes += QString::fromStdString(note) + QLatin1Char('\n');
    }
    if (!file.hasHashColumn) {
        notes += QStringLiteral("The file has no %1 column: players changed in the roster since "
                                "the file was made cannot be told, and are applied as they "
                                "are.\n")
                     .arg(QLatin1String(kSlotHashKey));
    }
    return notes.isEmpty() ? notes : notes + QLatin1Char('\n');
}

} // namespace

void applyEditsFile(const ToolContext& context) {
    QWidget* owner = &context.window;
    const QString path = context.dialogs.openFile(
        owner, QStringLiteral("Select the edits file or patch to apply"),
        editsFolder(context.settings, context.document),
        QStringLiteral("Edits file, workbook or patch (*.csv *.xlsx *.json);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    context.settings.setPatchFolder(QFileInfo(path).absolutePath());
    context.commitEditors();
    // As `quillbay-cli apply`, with --match as the file's own column or keys say.
    // The dump's hashes are checked against what the file holds now, as the batch tool
    // checks them, not against the window's copy of it.
    SlotTable onDisk;
    EditsFile file;
    MatchBy by = MatchBy::Slot;
    std::vector<Edit> edits;
    std::vector<int> unmatched;
    if (!attempt(context.dialogs, owner, [&] {
            onDisk = context.document.file().readSlotTable();
            file = readChecked(context.document, onDisk, path.toStdString(), by, unmatched);
            edits = patchEdits(context.document, file.players, MatchBy::Slot, unmatched);
        })) {
        return;
    }
    edits = settleStalePlayers(context, onDisk, std::move(edits), file.hashes);
    const QString name = QFileInfo(path).fileName();
    const QString preview = readingNotes(file) + patchPreview(context.document, edits, unmatched);
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
