// The open roster and its history: adopting a roster with a fresh history, the Undo
// History list, undo and redo, and the question before unsaved edits would be lost.
#include "shell/main_window.h"
#include "shell/pages/widgets.h"
#include "shell/tools/tool_windows.h"

#include <QAction>
#include <QDockWidget>
#include <QUndoStack>
#include <QUndoView>
#include <utility>

namespace qb {

void MainWindow::adoptRoster(std::unique_ptr<RosterDocument> document) {
    // The tools' windows of the document let go of here close with it, before it goes.
    tools_ = std::make_unique<ToolWindows>();
    presenter_->leavePlayer();
    document_ = std::move(document);
    history_ = std::make_unique<QUndoStack>();
    presenter_->follow();
    connect(history_.get(), &QUndoStack::canUndoChanged, undoAction_, &QAction::setEnabled);
    connect(history_.get(), &QUndoStack::canRedoChanged, redoAction_, &QAction::setEnabled);
    connect(history_.get(), &QUndoStack::undoTextChanged, undoAction_,
            [this](const QString& text) { undoAction_->setText(QStringLiteral("&Undo ") + text); });
    connect(history_.get(), &QUndoStack::redoTextChanged, redoAction_,
            [this](const QString& text) { redoAction_->setText(QStringLiteral("&Redo ") + text); });
    undoAction_->setEnabled(false);
    redoAction_->setEnabled(false);
    if (historyView_ != nullptr) {
        historyView_->setStack(history_.get());
    }
    presenter_->listPlayers();
}

void MainWindow::showHistory() {
    if (historyView_ == nullptr) {
        auto* dock = named(new QDockWidget(QStringLiteral("Undo History"), this),
                           QStringLiteral("fraUndoHistory"));
        historyView_ = named(new QUndoView(history_.get(), dock), QStringLiteral("lsvUndoHistory"));
        historyView_->setEmptyLabel(QStringLiteral("As opened"));
        dock->setWidget(historyView_);
        addDockWidget(Qt::RightDockWidgetArea, dock);
        // Wide enough for a step's text, not the few pixels the window's fixed page
        // leaves it: the window grows to make room.
        historyView_->setMinimumWidth(historyView_->fontMetrics().averageCharWidth() * 28);
    }
    historyView_->parentWidget()->show();
}

bool MainWindow::settleUnsaved() {
    if (!document_) {
        return true;
    }
    if (!tools_->settleUnsaved()) {
        return false;
    }
    commitEditors();
    const std::size_t count = document_->pendingSlots().size();
    return qb::settleUnsaved(dialogs_, this, count,
                             count == 1 ? QStringLiteral("Save changes to 1 player?")
                                        : QStringLiteral("Save changes to %1 players?").arg(count),
                             [this] {
                                 saveAll();
                                 return document_ && document_->pendingSlots().empty();
                             });
}

void MainWindow::undoOrRedo(bool redo) {
    if (!history_) {
        return;
    }
    // A change still in an editor is a step of its own, undone first.
    commitEditors();
    attempt([&] { redo ? history_->redo() : history_->undo(); });
}

} // namespace qb
