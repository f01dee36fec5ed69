#include "shell/grid/roster_grid_window.h"

#include "player/relative_edit.h"
#include "player/roster_document.h"
#include "roster/errors.h"
#include "shell/app_settings.h"
#include "shell/dialogs.h"
#include "shell/grid/bulk_set_dialog.h"
#include "shell/grid/grid_csv.h"
#include "shell/grid/roster_grid_filter.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/grid/roster_grid_view.h"

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
    setObjectName(QStringLiteral("frmRosterGrid"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Roster - ") +
                   QFileInfo(QString::fromStdString(document.path())).fileName());
    setCentralWidget(view_);
    resize(1100, 640);
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
    buildActions();
}

void RosterGridWindow::buildActions() {
    struct Command {
        const char* menu;
        const char* id;
        const char* text;
        const char* shortcut;
        std::function<void()> run;
        bool inContextMenu;
    };
    const Command commands[] = {
        {"&File", "gridSaveAll", "Save &All", "Ctrl+Shift+S", [this] { emit saveAllRequested(); },
         false},
        {"&File", "gridExport", "E&xport Shown Players...", "", [this] { askExport(); }, false},
        {"&File", "gridClose", "&Close", "Ctrl+W", [this] { close(); }, false},
        {"&Edit", "gridUndo", "&Undo", "Ctrl+Z", [this] { emit undoRequested(); }, false},
        {"&Edit", "gridRedo", "&Redo", "Ctrl+Y; Ctrl+Shift+Z", [this] { emit redoRequested(); },
         false},
        {"&Edit", "gridCopy", "&Copy", "Ctrl+C",
         [this] { QApplication::clipboard()->setText(copiedText()); }, true},
        {"&Edit", "gridPaste", "&Paste", "Ctrl+V",
         [this] { paste(QApplication::clipboard()->text()); }, true},
        {"&Edit", "gridSetField", "&Set Field of Selected Players...", "Ctrl+E",
         [this] { askSetField(); }, true},
        {"&Edit", "gridRepair", "R&epair Selected Players", "", [this] { repairSelected(); }, true},
        {"&Edit", "gridOpenPlayer", "&Open in Main Window", "",
         [this] {
             const std::vector<int> chosen = view_->selectedSlots();
             if (!chosen.empty()) {
                 emit openPlayer(chosen.front());
             }
         },
         true},
    };
    QTableView& table = view_->table();
    table.setContextMenuPolicy(Qt::ActionsContextMenu);
    QMenu* menu = nullptr;
    for (const Command& command : commands) {
        const QString title = QString::fromLatin1(command.menu);
        if (menu == nullptr || menu->title() != title) {
            menu = menuBar()->addMenu(title);
        }
        QAction* action = menu->addAction(QString::fromLatin1(command.text));
        action->setObjectName(QString::fromLatin1(command.id));
        // Several shortcuts of one command are separated by "; ".
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(command.shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, command.run);
        if (command.inContextMenu) {
            table.addAction(action);
        }
    }
}

void RosterGridWindow::refuse(const QString& text) {
    dialogs_.message(this, QMessageBox::Critical, text);
}

bool RosterGridWindow::setField(const Field& field, const QString& op, const QString& value) {
    RosterGridModel& model = view_->model();
    RosterDocument& document = model.document();
    std::vector<Edit> edits;
    int slot = -1;
    try {
        if (field.readOnly()) {
            throw CellRefusal(field.key + " is computed from other figures");
        }
        if (value.trimmed().isEmpty()) {
            throw CellRefusal("no value was given");
        }
        const bool relative = op != QLatin1String("=");
        const std::optional<int> step =
            relative ? relativeStep(field, value.trimmed().toStdString()) : 0;
        if (!step) {
            throw CellRefusal(op.toStdString() + " takes a whole number and a numeric field");
        }
        for (const int selected : view_->selectedSlots()) {
            slot = selected;
            if (model.isEmptySlot(slot)) {
                continue;
            }
            std::string text = value.toStdString();
            if (relative) {
                const auto stepped = steppedValue(field, model.shown(slot).value(field),
                                                  op == QLatin1String("-=") ? -*step : *step);
                if (!stepped) {
                    throw CellRefusal(field.key + " has no value the editor shows, so it "
                                                  "cannot be raised or lowered");
                }
                text = *stepped;
            }
            Edit edit = document.makeEdit(slot, field, text);
            if (edit.before != edit.after) {
                edits.push_back(std::move(edit));
            }
        }
    } catch (const QuillbayError& error) {
        const QString where = slot >= 0 ? QStringLiteral("Slot %1: ").arg(slot) : QString();
        refuse(where + QString::fromStdString(error.description()) +
               QStringLiteral("\nNo player was changed."));
        return false;
    }
    const auto count = static_cast<int>(edits.size());
    model.submit(
        QStringLiteral("Set %1 %2 %3 (%4 players)").arg(columnTitle(field), op, value).arg(count),
        std::move(edits));
    return true;
}

void RosterGridWindow::askSetField() {
    const std::vector<int> chosen = view_->selectedSlots();
    if (chosen.empty()) {
        return;
    }
    if (const auto asked = askBulkSet(this, static_cast<int>(chosen.size()))) {
        setField(*asked->field, asked->op, asked->value);
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
    const QTableView& table = view_->table();
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast(); // a spreadsheet ends its block with a line break
    }
    const QModelIndex start = table.currentIndex();
    if (lines.isEmpty() || !start.isValid()) {
        return false;
    }
    const std::vector<int> shownColumns = view_->shownColumns();
    const auto firstColumn = std::ranges::find(shownColumns, start.column()) - shownColumns.begin();
    std::vector<Edit> edits;
    for (qsizetype line = 0; line < lines.size(); ++line) {
        QString row = lines[line];
        if (row.endsWith(QLatin1Char('\r'))) {
            row.chop(1);
        }
        const QStringList values = row.split(QLatin1Char('\t'));
        for (qsizetype i = 0; i < values.size(); ++i) {
            const auto at = static_cast<std::size_t>(firstColumn + i);
            const int viewRow = start.row() + static_cast<int>(line);
            const QString where = QStringLiteral("Row %1, column %2").arg(line + 1).arg(i + 1);
            if (viewRow >= table.model()->rowCount() || at >= shownColumns.size()) {
                refuse(QStringLiteral("Cannot paste: %1 falls outside the grid.\nNothing was "
                                      "changed.")
                           .arg(where));
                return false;
            }
            const int column = shownColumns[at];
            const int slot = view_->filter().mapToSource(table.model()->index(viewRow, 0)).row();
            const QModelIndex cell = model.index(slot, column);
            if (values[i].isEmpty() || cell.data(Qt::EditRole).toString() == values[i]) {
                // An empty cell leaves the field as it is, as in a CSV that `apply` reads:
                // a blank in a spreadsheet never empties a name, and so the slot.
                continue;
            }
            const Field* field = model.field(column);
            const QString named = QStringLiteral("%1 (slot %2, %3)")
                                      .arg(where)
                                      .arg(slot)
                                      .arg(model.headerData(column, Qt::Horizontal).toString());
            try {
                if (!model.flags(cell).testFlag(Qt::ItemIsEditable)) {
                    throw CellRefusal(model.isEmptySlot(slot) ? "the slot is empty"
                                      : field == nullptr || field->readOnly()
                                          ? "the column cannot be changed"
                                          : "the player cannot be shown; repair it first");
                }
                edits.push_back(model.document().makeEdit(slot, *field, values[i].toStdString()));
            } catch (const QuillbayError& error) {
                refuse(QStringLiteral("Cannot paste: %1: %2\nNothing was changed.")
                           .arg(named, QString::fromStdString(error.description())));
                return false;
            }
        }
    }
    const auto count = static_cast<int>(edits.size());
    model.submit(QStringLiteral("Paste %1 cells").arg(count), std::move(edits));
    return true;
}

void RosterGridWindow::askExport() {
    const QString chosen =
        dialogs_.saveFile(this, QStringLiteral("Export the shown players"),
                          QStringLiteral("players.csv"), QStringLiteral("CSV files (*.csv)"));
    if (!chosen.isEmpty() && exportCsv(chosen)) {
        dialogs_.message(this, QMessageBox::Information,
                         QStringLiteral("Exported %1 players to %2")
                             .arg(view_->filter().shownPlayers())
                             .arg(chosen));
    }
}

bool RosterGridWindow::exportCsv(const QString& path) {
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
