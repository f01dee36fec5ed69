#pragma once

#include "player/roster_document.h"
#include "saving/safe_write.h"

#include <QString>
#include <functional>
#include <vector>

class QUndoStack;
class QWidget;

namespace qb {

class AppSettings;
class Dialogs;
class ToolWindows;

// What the main window hands a tool of its open document: the document and its undo
// history, the windows that close with the document, and the few commands of the main
// window a tool may use. A tool keeps it only in its windows, which `windows` deletes
// before the document goes.
struct ToolContext {
    RosterDocument& document;
    QUndoStack& history;
    ToolWindows& windows;
    // The main window: the parent of the tool's windows and dialogs.
    QWidget& window;
    Dialogs& dialogs;
    AppSettings& settings;
    SafetyOptions safety;
    // Edits as one step of the document's history; the editors' own changes are
    // committed first.
    std::function<void(const QString& text, std::vector<Edit> edits)> pushEdits;
    // Makes what the main window's editors show into edits of the document.
    std::function<void()> commitEditors;
    std::function<void(bool redo)> undoOrRedo;
    std::function<void()> saveAll;
    // Shows the slot's player in the main window and brings it to the front.
    std::function<void(int slot)> showPlayer;
};

} // namespace qb
