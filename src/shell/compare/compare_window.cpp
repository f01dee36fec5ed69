#include "shell/compare/compare_window.h"

#include "player/patch.h"
#include "player/player_copy.h"
#include "shell/app_settings.h"
#include "shell/compare/elided_label.h"
#include "shell/compare/matched_rows_model.h"
#include "shell/dialogs.h"
#include "shell/edit_command.h"
#include "shell/grid/cell_colours.h"
#include "shell/grid/field_delegate.h"
#include "shell/grid/roster_grid_view.h"
#include "shell/pages/widgets.h"
#include "shell/tools/edits_folder.h"
#include "shell/window_placement.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QUndoGroup>
#include <QUndoStack>
#include <QVBoxLayout>
#include <set>

namespace qb {
namespace {

constexpr int kLeft = 0;
constexpr int kRight = 1;

int sideIndex(CompareSide side) {
    return side == CompareSide::Left ? kLeft : kRight;
}

CompareSide otherSide(CompareSide side) {
    return side == CompareSide::Left ? CompareSide::Right : CompareSide::Left;
}

QString fileName(const RosterDocument& document) {
    return QFileInfo(QString::fromStdString(document.path())).fileName();
}

} // namespace

CompareWindow::CompareWindow(ToolContext left, std::unique_ptr<RosterDocument> right)
    : QMainWindow(&left.window), left_(std::move(left)), right_(std::move(right)),
      comparison_(left_.document, *right_), rightHistory_(std::make_unique<QUndoStack>()) {
    setObjectName(QStringLiteral("compareWindow"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(
        QStringLiteral("Compare - %1 | %2").arg(fileName(left_.document), fileName(*right_)));
    histories_ = new QUndoGroup(this);
    histories_->addStack(&left_.history);
    histories_->addStack(rightHistory_.get());
    histories_->setActiveStack(&left_.history);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* splitter = named(new QSplitter(central), QStringLiteral("compareSplitter"));
    splitter->addWidget(buildSide(CompareSide::Left, splitter));
    splitter->addWidget(buildSide(CompareSide::Right, splitter));
    layout->addWidget(buildCommands(central));
    layout->addWidget(splitter, 1);
    setCentralWidget(central);

    for (const CompareSide side : {CompareSide::Left, CompareSide::Right}) {
        listening_[sideIndex(side)] = comparison_.document(side).onChange(
            [this, side](const DocumentChange& change) { documentChanged(side, change.slot); });
    }
    unlockRight(false);
    rematch();
    placeOnScreen(*this, &left_.window, 0.85);
}

CompareWindow::~CompareWindow() = default;

QWidget* CompareWindow::buildSide(CompareSide side, QWidget* parent) {
    const int at = sideIndex(side);
    RosterDocument& document = comparison_.document(side);
    auto* frame = new QWidget(parent);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(named(
        new ElidedLabel(QDir::toNativeSeparators(QString::fromStdString(document.path())), frame),
        at == kLeft ? QStringLiteral("compareLeftPath")
                    : QStringLiteral("compareRightPath"))); // backslashes on Windows
    auto* grid = new RosterGridModel(document, this);
    grids_[at] = grid;
    if (side == CompareSide::Left) {
        grid->setHistory([this](const QString& text, std::vector<Edit> edits) {
            histories_->setActiveStack(&left_.history);
            left_.pushEdits(text, std::move(edits));
        });
    } else {
        grid->setHistory([this](const QString& text, std::vector<Edit> edits) {
            histories_->setActiveStack(rightHistory_.get());
            attempt(
                [&] { rightHistory_->push(new EditsCommand(*right_, text, std::move(edits))); });
        });
    }
    connect(grid, &RosterGridModel::refused, this, [this](const QString& reason) {
        left_.dialogs.message(this, QMessageBox::Critical, reason);
    });
    models_[at] = new MatchedRowsModel(
        comparison_, side, grid, [grid](int column) { return grid->field(column); }, this);
    auto* view = named(new QTableView(frame), at == kLeft ? QStringLiteral("compareLeft")
                                                          : QStringLiteral("compareRight"));
    view->setModel(models_[at]);
    view->setItemDelegate(new FieldDelegate(view));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    views_[at] = view;
    layout->addWidget(view);
    // The fields shown change with the options: each set of columns is as wide as its titles.
    fitColumnsToTitles(*view, *grid);
    connect(models_[at], &QAbstractItemModel::modelReset, view,
            [view, grid] { fitColumnsToTitles(*view, *grid); });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, side] { selectSameRows(side); });
    // Row N of both sides shows one pair: the two scroll together.
    if (at == kRight) {
        for (const Qt::Orientation orientation : {Qt::Vertical, Qt::Horizontal}) {
            QScrollBar* leftBar = orientation == Qt::Vertical
                                      ? views_[kLeft]->verticalScrollBar()
                                      : views_[kLeft]->horizontalScrollBar();
            QScrollBar* rightBar = orientation == Qt::Vertical ? view->verticalScrollBar()
                                                               : view->horizontalScrollBar();
            connect(leftBar, &QScrollBar::valueChanged, rightBar, &QScrollBar::setValue);
            connect(rightBar, &QScrollBar::valueChanged, leftBar, &QScrollBar::setValue);
        }
    }
    return frame;
}

QWidget* CompareWindow::buildCommands(QWidget* parent) {
    auto* bar = new QWidget(parent);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* options = new QVBoxLayout;
    matchList_ = choiceList(bar, QStringLiteral("compareMatch"));
    matchList_->addItems({QStringLiteral("Match by slot"), QStringLiteral("Match by player ID")});
    onlyDifferingPlayers_ = named(new QCheckBox(QStringLiteral("&Only players that differ"), bar),
                                  QStringLiteral("compareOnlyDiffering"));
    onlyDifferingFields_ = named(new QCheckBox(QStringLiteral("Only &fields that differ"), bar),
                                 QStringLiteral("compareOnlyDifferingFields"));
    unlockRight_ = named(new QCheckBox(QStringLiteral("&Edit the right roster"), bar),
                         QStringLiteral("compareUnlockRight"));
    differencesLabel_ = named(new QLabel(bar), QStringLiteral("compareDifferences"));
    for (QWidget* widget :
         {static_cast<QWidget*>(matchList_), static_cast<QWidget*>(onlyDifferingPlayers_),
          static_cast<QWidget*>(onlyDifferingFields_), static_cast<QWidget*>(unlockRight_),
          static_cast<QWidget*>(differencesLabel_), buildLegend(bar)}) {
        options->addWidget(widget);
    }
    options->addStretch();
    layout->addLayout(options);

    groupList_ = named(new QListWidget(bar), QStringLiteral("compareGroups"));
    QStringList groups{QStringLiteral("whole player")};
    for (const std::string& name : fieldSelectionNames()) {
        groups << QString::fromStdString(name);
    }
    for (const QString& group : groups) {
        auto* item = new QListWidgetItem(group, groupList_);
        item->setCheckState(item->text() == groups.first() ? Qt::Checked : Qt::Unchecked);
    }
    groupList_->setMaximumHeight(groupList_->sizeHintForRow(0) * 6);
    layout->addWidget(groupList_);

    auto* buttons = new QVBoxLayout;
    const auto button = [&](const QString& text, const char* name, auto run) {
        auto* made = named(new QPushButton(text, bar), QString::fromLatin1(name));
        connect(made, &QPushButton::clicked, this, run);
        buttons->addWidget(made);
        return made;
    };
    button(QStringLiteral("Copy to &Left"), "compareCopyToLeft",
           [this] { copyTo(CompareSide::Left); });
    copyToRightButton_ = button(QStringLiteral("Copy to &Right"), "compareCopyToRight",
                                [this] { copyTo(CompareSide::Right); });
    button(QStringLiteral("Save &All"), "compareSaveAll", [this] { saveAll(); });
    button(QStringLiteral("Save &Patch..."), "compareSavePatch", [this] { savePatch(); });
    layout->addLayout(buttons);

    // Undo and Redo take back the last copy or edit of the side changed last. Their
    // buttons keep their text, so the buttons beside them stay where they are; the step
    // is named in the tooltip.
    auto* history = new QVBoxLayout;
    for (const bool redo : {false, true}) {
        const QString verb = redo ? QStringLiteral("Re&do") : QStringLiteral("&Undo");
        auto* action = new QAction(verb, this);
        action->setObjectName(redo ? QStringLiteral("compareRedo") : QStringLiteral("compareUndo"));
        action->setShortcut(redo ? QKeySequence::Redo : QKeySequence::Undo);
        action->setEnabled(false);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, redo] { undoOrRedo(redo); });
        connect(histories_, redo ? &QUndoGroup::canRedoChanged : &QUndoGroup::canUndoChanged,
                action, &QAction::setEnabled);
        connect(histories_, redo ? &QUndoGroup::redoTextChanged : &QUndoGroup::undoTextChanged,
                action, [action](const QString& text) {
                    action->setToolTip(text.isEmpty()
                                           ? action->iconText()
                                           : action->iconText() + QLatin1Char(' ') + text);
                });
        auto* tool = new QToolButton(bar);
        tool->setDefaultAction(action);
        tool->setToolButtonStyle(Qt::ToolButtonTextOnly);
        history->addWidget(tool);
    }
    history->addStretch();
    layout->addLayout(history);
    layout->addStretch();

    connect(matchList_, &QComboBox::currentIndexChanged, this, [this] { rematch(); });
    connect(onlyDifferingPlayers_, &QCheckBox::toggled, this, [this] { rematch(); });
    connect(onlyDifferingFields_, &QCheckBox::toggled, this, [this] { showDifferences(); });
    connect(unlockRight_, &QCheckBox::toggled, this, &CompareWindow::unlockRight);
    connect(groupList_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        // "whole player" and the groups exclude each other.
        const bool whole = item->text() == groupList_->item(0)->text();
        if (item->checkState() != Qt::Checked) {
            return;
        }
        const QSignalBlocker quiet(groupList_);
        for (int row = 0; row < groupList_->count(); ++row) {
            if ((row == 0) != whole) {
                groupList_->item(row)->setCheckState(Qt::Unchecked);
            }
        }
    });
    return bar;
}

QWidget* CompareWindow::buildLegend(QWidget* parent) {
    auto* legend = named(new QWidget(parent), QStringLiteral("compareLegend"));
    auto* layout = new QHBoxLayout(legend);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::pair<QColor, QString> meanings[] = {
        {kDifferingCell, QStringLiteral("differs")},
        {kUnsavedCell, QStringLiteral("not saved")},
        {kUnshowableCell, QStringLiteral("cannot be shown")},
    };
    for (const auto& [colour, meaning] : meanings) {
        auto* swatch = new QLabel(meaning, legend);
        swatch->setStyleSheet(
            QStringLiteral("background-color: %1; padding: 1px 6px;").arg(colour.name()));
        layout->addWidget(swatch);
    }
    layout->addStretch();
    return legend;
}

bool CompareWindow::attempt(const std::function<void()>& step) {
    return qb::attempt(left_.dialogs, this, step);
}

void CompareWindow::rematch() {
    attempt([this] {
        comparison_.match(matchList_->currentIndex() == 1 ? MatchBy::Id : MatchBy::Slot);
    });
    std::vector<int> shown;
    for (std::size_t row = 0; row < comparison_.rows().size(); ++row) {
        if (!onlyDifferingPlayers_->isChecked() || comparison_.rows()[row].differs()) {
            shown.push_back(static_cast<int>(row));
        }
    }
    for (MatchedRowsModel* model : models_) {
        model->showRows(shown);
    }
    showDifferences();
}

void CompareWindow::showDifferences() {
    // The slot, ID and name say which players a row holds; the other columns can be
    // narrowed to the fields that differ in some pair.
    std::set<const Field*> differing;
    for (const ComparedRow& row : comparison_.rows()) {
        differing.insert(row.differing.begin(), row.differing.end());
    }
    for (int column = RosterGridModel::kFirstFieldColumn + 1; column < grids_[kLeft]->columnCount();
         ++column) {
        const bool hidden =
            onlyDifferingFields_->isChecked() && !differing.contains(grids_[kLeft]->field(column));
        for (QTableView* view : views_) {
            view->setColumnHidden(column, hidden);
        }
    }

    const int players = comparison_.differingPlayers();
    const int fields = comparison_.differingFields();
    QString text =
        (players == 1 ? QStringLiteral("1 player differs")
                      : QStringLiteral("%1 players differ").arg(players)) +
        (fields == 1 ? QStringLiteral(" in 1 field") : QStringLiteral(" in %1 fields").arg(fields));
    const int leftOnly = comparison_.unmatched(CompareSide::Left);
    const int rightOnly = comparison_.unmatched(CompareSide::Right);
    if (leftOnly + rightOnly > 0) {
        text += QStringLiteral("; %1 only on the left, %2 only on the right")
                    .arg(leftOnly)
                    .arg(rightOnly);
    }
    differencesLabel_->setText(text);
}

void CompareWindow::documentChanged(CompareSide side, int slot) {
    // A save or many edits at once: every pair is compared again, the rows shown kept.
    const std::vector<int> rows =
        slot < 0 ? (comparison_.refreshAll(), std::vector<int>{}) : comparison_.refresh(side, slot);
    for (MatchedRowsModel* model : models_) {
        slot < 0 ? model->refreshAll() : model->refreshRows(rows);
    }
    showDifferences();
}

std::vector<int> CompareWindow::selectedRows() const {
    std::set<int> rows;
    for (const int at : {kLeft, kRight}) {
        for (const QModelIndex& index : views_[at]->selectionModel()->selectedRows()) {
            rows.insert(models_[at]->comparedRow(index.row()));
        }
    }
    return {rows.begin(), rows.end()};
}

void CompareWindow::selectSameRows(CompareSide from) {
    if (selecting_) {
        return;
    }
    selecting_ = true;
    const int source = sideIndex(from);
    const int target = sideIndex(otherSide(from));
    QItemSelection same;
    for (const QItemSelectionRange& range : views_[source]->selectionModel()->selection()) {
        same.select(models_[target]->index(range.top(), 0),
                    models_[target]->index(range.bottom(), models_[target]->columnCount() - 1));
    }
    views_[target]->selectionModel()->select(same, QItemSelectionModel::ClearAndSelect);
    selecting_ = false;
}

FieldSelection CompareWindow::selectedGroups() const {
    QStringList names;
    for (int row = 1; row < groupList_->count(); ++row) {
        if (groupList_->item(row)->checkState() == Qt::Checked) {
            names << groupList_->item(row)->text();
        }
    }
    // Nothing but "whole player" ticked: every field.
    return parseFieldSelection(names.join(u',').toStdString());
}

void CompareWindow::copyTo(CompareSide target) {
    const CompareSide source = otherSide(target);
    RosterDocument& from = comparison_.document(source);
    RosterDocument& to = comparison_.document(target);
    std::vector<Edit> edits;
    int players = 0;
    // Every edit is made before the first is applied: a player that cannot be copied
    // leaves the target as it was.
    const bool made = attempt([&] {
        const FieldSelection groups = selectedGroups();
        for (const int row : selectedRows()) {
            const ComparedRow& pair = comparison_.rows()[static_cast<std::size_t>(row)];
            if (!pair.matched()) {
                continue;
            }
            std::vector<Edit> copied =
                copyEdits(from, pair.slot(source), to, pair.slot(target), groups);
            players += copied.empty() ? 0 : 1;
            edits.insert(edits.end(), copied.begin(), copied.end());
        }
    });
    if (!made) {
        return;
    }
    const QString text =
        QStringLiteral("Copy %1 %2 to the %3")
            .arg(players)
            .arg(players == 1 ? QStringLiteral("player") : QStringLiteral("players"),
                 target == CompareSide::Left ? QStringLiteral("left") : QStringLiteral("right"));
    grids_[sideIndex(target)]->submit(text, std::move(edits));
}

void CompareWindow::undoOrRedo(bool redo) {
    if (histories_->activeStack() == &left_.history) {
        left_.undoOrRedo(redo);
    } else {
        attempt([&] { redo ? rightHistory_->redo() : rightHistory_->undo(); });
    }
}

void CompareWindow::unlockRight(bool unlocked) {
    copyToRightButton_->setEnabled(unlocked);
    views_[kRight]->setEditTriggers(unlocked ? QAbstractItemView::DoubleClicked |
                                                   QAbstractItemView::EditKeyPressed
                                             : QAbstractItemView::NoEditTriggers);
}

void CompareWindow::saveAll() {
    left_.saveAll();
    if (!right_->pendingSlots().empty() && attempt([this] { right_->saveAll(left_.safety); })) {
        rightHistory_->setClean();
    }
}

void CompareWindow::savePatch() {
    std::vector<PlayerPair> pairs;
    int players = 0; // whose differences the patch holds
    for (const int row : selectedRows()) {
        const ComparedRow& pair = comparison_.rows()[static_cast<std::size_t>(row)];
        if (pair.matched()) {
            pairs.push_back({pair.left, pair.right});
            players += pair.differing.empty() ? 0 : 1;
        }
    }
    if (pairs.empty()) {
        left_.dialogs.message(
            this, QMessageBox::Information,
            QStringLiteral("Select the players whose differences the patch holds."));
        return;
    }
    const QString path = left_.dialogs.saveFile(
        this, QStringLiteral("Save the differences as a patch"),
        QDir(editsFolder(left_.settings, left_.document)).filePath(QStringLiteral("patch.json")),
        QStringLiteral("Patch (*.json);;Workbook of the differences (*.xlsx)"));
    if (path.isEmpty()) {
        return;
    }
    // The patch turns the left players into the right ones, as `diff LEFT RIGHT` writes it.
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        if (attempt([&] {
                writePatchWorkbook(path.toStdString(), left_.document, *right_, pairs,
                                   comparison_.matchedBy());
            })) {
            reportPatchSaved(path, players);
        }
        return;
    }
    std::string patch;
    if (!attempt(
            [&] { patch = writePatch(left_.document, *right_, pairs, comparison_.matchedBy()); })) {
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(patch.data(), static_cast<qint64>(patch.size())) !=
            static_cast<qint64>(patch.size()) ||
        !file.commit()) {
        left_.dialogs.message(
            this, QMessageBox::Critical,
            QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
        return;
    }
    reportPatchSaved(path, players);
}

void CompareWindow::reportPatchSaved(const QString& path, int players) {
    left_.settings.setPatchFolder(QFileInfo(path).absolutePath());
    statusBar()->showMessage(
        QStringLiteral("Saved %1: the differences of %2 %3")
            .arg(QDir::toNativeSeparators(path))
            .arg(players)
            .arg(players == 1 ? QStringLiteral("player") : QStringLiteral("players")));
}

bool CompareWindow::settleUnsaved() {
    const std::size_t count = right_->pendingSlots().size();
    return qb::settleUnsaved(
        left_.dialogs, this, count,
        QStringLiteral("Save changes to %1 of %2?")
            .arg(count == 1 ? QStringLiteral("1 player") : QStringLiteral("%1 players").arg(count),
                 fileName(*right_)),
        [this] {
            attempt([this] { right_->saveAll(left_.safety); });
            return right_->pendingSlots().empty();
        });
}

void CompareWindow::closeEvent(QCloseEvent* event) {
    if (settleUnsaved()) {
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace qb
