#include "shell/grid/roster_grid_window.h"

#include "codecs/field_keys.h"
#include "player/roster_document.h"
#include "shell/app_settings.h"
#include "shell/dialogs.h"
#include "shell/grid/bulk_set_dialog.h"
#include "shell/grid/field_delegate.h"
#include "shell/grid/grid_csv.h"
#include "shell/grid/grid_selection.h"
#include "shell/grid/paste_plan.h"
#include "shell/grid/replace_dialog.h"
#include "shell/grid/roster_grid_filter.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/grid/roster_grid_view.h"
#include "shell/menu_commands.h"
#include "shell/wait_cursor.h"
#include "shell/window_placement.h"
#include "system/errors.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QTableView>
#include <algorithm>
#include <functional>

namespace qb {
namespace {

// What a cell of a paste or a bulk set is refused for, naming where.
class CellRefusal : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

} // namespace

RosterGridWindow::RosterGridWindow(RosterDocument& document, AppSettings& settings,
                                   Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), view_(new RosterGridView(document, this)), settings_(settings),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("gridWindow"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Roster - ") +
                   QFileInfo(QString::fromStdString(document.path())).fileName());
    setCentralWidget(view_);
    placeOnScreen(*this, parent, 0.9, {1100, 640});
    view_->setHiddenGroups(settings_.gridHiddenGroups());
    connect(view_, &RosterGridView::groupsChanged, this,
            [this] { settings_.setGridHiddenGroups(view_->hiddenGroups()); });
    connect(&view_->model(), &RosterGridModel::refused, this, &RosterGridWindow::refuse);
    // A double click edits a cell that takes a value; on the slot, the ID or a cell that
    // cannot be edited it shows the player in the main window.
    connect(&view_->table(), &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& cell) {
                if (!cell.flags().testFlag(Qt::ItemIsEditable)) {
                    emit openPlayer(view_->filter().mapToSource(cell).row());
                }
            });
    connect(qobject_cast<FieldDelegate*>(view_->table().itemDelegate()),
            &FieldDelegate::fillSelection, this, [this](const QString& value) {
                if (const Field* field =
                        view_->model().field(view_->table().currentIndex().column())) {
                    setField(*field, QStringLiteral("="), value);
                }
            });
    buildActions();
}

void RosterGridWindow::buildActions() {
    // The grid's own commands; the marked ones are also on the table's context menu.
    struct GridCommand {
        MenuCommand command;
        bool inContextMenu;
    };
    const GridCommand commands[] = {
        {{"&File", "gridSaveAll", "Save &All", "Ctrl+Shift+S", [this] { emit saveAllRequested(); }},
         false},
        {{"&File", "gridExport", "E&xport Shown Players...", "", [this] { askExport(); }}, false},
        {{"&File", "gridClose", "&Close", "Ctrl+W", [this] { close(); }}, false},
        {{"&Edit", "gridUndo", "&Undo", "Ctrl+Z", [this] { emit undoRequested(); }}, false},
        {{"&Edit", "gridRedo", "&Redo", "Ctrl+Y; Ctrl+Shift+Z", [this] { emit redoRequested(); }},
         false},
        {{"&Edit", "gridCopy", "&Copy", "Ctrl+C",
          [this] { QApplication::clipboard()->setText(copiedText()); }},
         true},
        {{"&Edit", "gridPaste", "&Paste", "Ctrl+V",
          [this] { paste(QApplication::clipboard()->text()); }},
         true},
        {{"&Edit", "gridSetField", "&Set Field of Selected Players...", "Ctrl+E",
          [this] { askSetField(); }},
         true},
        {{"&Edit", "gridReplace", "Replace in Colu&mn...", "Ctrl+H", [this] { askReplace(); }},
         true},
        {{"&Edit", "gridRepair", "R&epair Selected Players", "", [this] { repairSelected(); }},
         true},
        {{"&Edit", "gridOpenPlayer", "&Open in Main Window", "",
          [this] {
              const std::vector<int> chosen = view_->selectedSlots();
              if (!chosen.empty()) {
                  emit openPlayer(chosen.front());
              }
          }},
         true},
    };
    QTableView& table = view_->table();
    table.setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const GridCommand& command : commands) {
        QAction* action = addMenuCommand(*this, QStringLiteral("grid"), command.command);
        if (command.inContextMenu) {
            table.addAction(action);
        }
    }
}

void RosterGridWindow::refuse(const QString& text) {
    dialogs_.message(this, QMessageBox::Critical, text);
}

std::optional<int> RosterGridWindow::putTyped(const Field& field,
                                              const std::vector<int>& chosenFrom,
                                              const QString& typed,
                                              const std::function<bool(int slot)>& chosen,
                                              const QString& step, const QString& refused) {
    RosterGridModel& model = view_->model();
    std::vector<Edit> edits;
    for (const int slot : chosenFrom) {
        if (!chosen(slot)) {
            continue;
        }
        try {
            Edit edit = model.typedEdit(slot, field, typed);
            if (edit.before != edit.after) {
                edits.push_back(std::move(edit));
            }
        } catch (const QuillbayError& error) {
            refuse(refused + QStringLiteral("Slot %1: %2\nNo player was changed.")
                                 .arg(slot)
                                 .arg(QString::fromStdString(error.description())));
            return std::nullopt;
        }
    }
    const auto count = static_cast<int>(edits.size());
    model.submit(step.arg(count), std::move(edits));
    return count;
}

bool RosterGridWindow::setField(const Field& field, const QString& op, const QString& value) {
    if (field.readOnly() || value.trimmed().isEmpty()) {
        refuse(QString::fromStdString(field.readOnly()
                                          ? field.key + " is computed from other figures"
                                          : std::string("No value was given")) +
               QStringLiteral("\nNo player was changed."));
        return false;
    }
    const RosterGridModel& model = view_->model();
    return putTyped(field, view_->selectedSlots(),
                    op == QLatin1String("=") ? value : op + value.trimmed(),
                    [&model](int slot) { return !model.isEmptySlot(slot); },
                    QStringLiteral("Set %1 %2 %3 (%4 players)").arg(columnTitle(field), op, value),
                    {})
        .has_value();
}

void RosterGridWindow::askSetField() {
    RosterGridModel& model = view_->model();
    const auto players = static_cast<int>(std::ranges::count_if(
        view_->selectedSlots(), [&model](int slot) { return !model.isEmptySlot(slot); }));
    if (players == 0) {
        return;
    }
    const QModelIndex current = view_->table().currentIndex();
    const auto asked = askBulkSet(this, players, model.field(current.column()));
    if (!asked) {
        return;
    }
    if (asked->field->key == keys::kName && players > 1 &&
        !dialogs_.questionDefaultNo(this, QStringLiteral("Rename all %1 selected players to "
                                                         "\"%2\"?")
                                              .arg(players)
                                              .arg(asked->value))) {
        return;
    }
    setField(*asked->field, asked->op, asked->value);
}

std::optional<int> RosterGridWindow::replaceInColumn(int column, const ColumnReplace& replace) {
    const RosterGridModel& model = view_->model();
    const Field* field = model.field(column);
    const QString find = replace.find.trimmed();
    const QString refused = QStringLiteral("Cannot replace: ");
    if (field == nullptr || field->readOnly() || find.isEmpty() ||
        replace.replacement.trimmed().isEmpty()) {
        refuse(refused +
               (field == nullptr || field->readOnly()
                    ? QStringLiteral("choose a cell of a column that can be changed")
                    : QStringLiteral("give both the value to find and the value to put instead")) +
               QStringLiteral("\nNo player was changed."));
        return std::nullopt;
    }
    return putTyped(
        *field, replace.selectedRows ? view_->selectedSlots() : view_->shownSlots(),
        replace.replacement,
        [&model, column, field, &find](int slot) {
            // Not an empty slot, a player that cannot be shown, or another value.
            return model.flags(model.index(slot, column)).testFlag(Qt::ItemIsEditable) &&
                   model.valueText(slot, *field).compare(find, Qt::CaseInsensitive) == 0;
        },
        QStringLiteral("Replace %1 with %2 in %3 (%4 players)")
            .arg(find, replace.replacement, columnTitle(*field)),
        refused);
}

void RosterGridWindow::askReplace() {
    const int column = view_->table().currentIndex().column();
    const Field* field = view_->model().field(column);
    const QString title = field != nullptr ? columnTitle(*field) : QStringLiteral("Column");
    const auto asked = qb::askReplace(this, title, view_->selectedSlots().size() > 1);
    if (!asked) {
        return;
    }
    if (const std::optional<int> changed = replaceInColumn(column, *asked)) {
        dialogs_.message(this, QMessageBox::Information,
                         QStringLiteral("Replaced \"%1\" with \"%2\" in %3: %4 players changed.")
                             .arg(asked->find.trimmed(), asked->replacement, title)
                             .arg(*changed));
    }
}

QString RosterGridWindow::copiedText() const {
    const QTableView& table = view_->table();
    const QModelIndexList cells = table.selectionModel()->selectedIndexes();
    std::vector<int> rows;
    std::vector<int> columns;
    for (const QModelIndex& cell : cells) {
        rows.push_back(cell.row());
        columns.push_back(cell.column());
    }
    const auto distinct = [](std::vector<int>& values, auto order) {
        std::ranges::sort(values, order);
        const auto [first, last] = std::ranges::unique(values);
        values.erase(first, last);
    };
    distinct(rows, std::less<>());
    const QHeaderView* header = table.horizontalHeader();
    distinct(columns,
             [header](int a, int b) { return header->visualIndex(a) < header->visualIndex(b); });
    QStringList lines;
    for (const int row : rows) {
        QStringList line;
        for (const int column : columns) {
            const QModelIndex cell = table.model()->index(row, column);
            line << (table.selectionModel()->isSelected(cell) ? cell.data(Qt::EditRole).toString()
                                                              : QString());
        }
        lines << line.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

bool RosterGridWindow::paste(const QString& text) {
    RosterGridModel& model = view_->model();
    const PastePlan plan = planPaste(pasteBlock(text), gridSelection(*view_));
    if (!plan.refusal.isEmpty()) {
        refuse(QStringLiteral("Cannot paste: %1.\nNothing was changed.").arg(plan.refusal));
        return false;
    }
    const std::vector<int> shownColumns = view_->shownColumns();
    std::vector<Edit> edits;
    for (const PastePlacement& placed : plan.cells) {
        const int column = shownColumns[static_cast<std::size_t>(placed.column)];
        const int slot = view_->filter().mapToSource(view_->filter().index(placed.row, 0)).row();
        const QModelIndex cell = model.index(slot, column);
        if (placed.value.isEmpty() || cell.data(Qt::EditRole).toString() == placed.value) {
            // An empty cell leaves the field as it is, as in a CSV that `apply` reads:
            // a blank in a spreadsheet never empties a name, and so the slot.
            continue;
        }
        const Field* field = model.field(column);
        try {
            if (!model.flags(cell).testFlag(Qt::ItemIsEditable)) {
                throw CellRefusal(model.isEmptySlot(slot) ? "the slot is empty"
                                  : field == nullptr || field->readOnly()
                                      ? "the column cannot be changed"
                                      : "the player cannot be shown; repair it first");
            }
            edits.push_back(model.document().makeEdit(slot, *field, placed.value.toStdString()));
        } catch (const QuillbayError& error) {
            refuse(QStringLiteral("Cannot paste \"%1\" into slot %2, %3 (row %4, column %5 of "
                                  "the pasted block): %6\nNothing was changed.")
                       .arg(placed.value)
                       .arg(slot)
                       .arg(model.headerData(column, Qt::Horizontal).toString())
                       .arg(placed.line + 1)
                       .arg(placed.cell + 1)
                       .arg(QString::fromStdString(error.description())));
            return false;
        }
    }
    const auto count = static_cast<int>(edits.size());
    model.submit(QStringLiteral("Paste %1 cells").arg(count), std::move(edits));
    return true;
}

void RosterGridWindow::askExport() {
    const QString chosen = dialogs_.saveFile(
        this, QStringLiteral("Export the shown players"), QStringLiteral("players.xlsx"),
        QStringLiteral("Workbook with drop-down lists and limits (*.xlsx);;CSV files (*.csv)"));
    if (!chosen.isEmpty() && exportPlayers(chosen)) {
        dialogs_.message(this, QMessageBox::Information,
                         QStringLiteral("Exported %1 players to %2")
                             .arg(view_->filter().shownPlayers())
                             .arg(chosen));
    }
}

bool RosterGridWindow::exportPlayers(const QString& path) {
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        const WaitCursor waiting;
        return attempt(dialogs_, this, [&] {
            writeGridWorkbook(view_->model(), view_->shownSlots(), view_->shownColumns(),
                              path.toStdString());
        });
    }
    const std::string text = gridCsv(view_->model(), view_->shownSlots(), view_->shownColumns());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        refuse(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

void RosterGridWindow::repairSelected() {
    RosterGridModel& model = view_->model();
    for (const int slot : view_->selectedSlots()) {
        if (!model.isEmptySlot(slot) && !model.shown(slot).failures.empty()) {
            model.repair(slot);
        }
    }
}

} // namespace qb
