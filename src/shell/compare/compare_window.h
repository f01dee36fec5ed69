#pragma once

#include "player/field_groups.h"
#include "saving/safe_write.h"
#include "shell/compare/roster_comparison.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/tools/tool_context.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableView;
class QUndoGroup;
class QUndoStack;

namespace qb {

class MatchedRowsModel;

// The compare view: the main window's roster on the left, a second roster on the right,
// their players matched by slot or by player ID, differing cells marked. Copies of whole
// players or chosen field groups go either way as pending edits of the target roster,
// one undo step per copy; the right roster is read-only until the user unlocks it.
class CompareWindow : public QMainWindow {
    Q_OBJECT

public:
    // `left` is the main window's side: its document, its undo history, how a step is put
    // on that history and how it is undone or redone (the editors show what either did to
    // their player), and its Save All. The view is a window of the main window's.
    CompareWindow(ToolContext left, std::unique_ptr<RosterDocument> right);
    ~CompareWindow() override;

    // Before the right roster's unsaved edits would be lost: asks to save them, drop them
    // or cancel. Returns whether to go on.
    bool settleUnsaved();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildSide(CompareSide side, QWidget* parent);
    QWidget* buildCommands(QWidget* parent);
    // What the colours of the cells mean.
    static QWidget* buildLegend(QWidget* parent);
    void rematch();
    // The counts of what differs; with "only fields that differ", the columns that do.
    void showDifferences();
    void documentChanged(CompareSide side, int slot);
    // The comparison's rows of the players selected on either side.
    std::vector<int> selectedRows() const;
    void selectSameRows(CompareSide from);
    // The fields the group list has ticked ("whole player": every field).
    FieldSelection selectedGroups() const;
    void copyTo(CompareSide target);
    void undoOrRedo(bool redo);
    void unlockRight(bool unlocked);
    void saveAll();
    void savePatch();
    void reportPatchSaved(const QString& path, int players);
    // Runs a step; an error it raises is shown and the step reported as failed.
    bool attempt(const std::function<void()>& step);

    ToolContext left_;
    std::unique_ptr<RosterDocument> right_;
    RosterComparison comparison_;
    std::unique_ptr<QUndoStack> rightHistory_;
    QUndoGroup* histories_ = nullptr;
    RosterGridModel* grids_[2] = {};
    MatchedRowsModel* models_[2] = {};
    QTableView* views_[2] = {};
    bool selecting_ = false;

    QComboBox* matchList_ = nullptr;
    QCheckBox* onlyDifferingPlayers_ = nullptr;
    QCheckBox* onlyDifferingFields_ = nullptr;
    QCheckBox* unlockRight_ = nullptr;
    QLabel* differencesLabel_ = nullptr;
    QListWidget* groupList_ = nullptr;
    QPushButton* copyToRightButton_ = nullptr;
    // The left document, the main window's, may outlive this view; these end with it.
    ChangeSubscription listening_[2];
};

} // namespace qb
