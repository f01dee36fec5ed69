#include "shell/grid/roster_grid_view.h"

#include "shell/grid/field_delegate.h"
#include "shell/grid/frozen_columns_table.h"
#include "shell/grid/roster_grid_filter.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/pages/widgets.h"
#include "system/errors.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace qb {
namespace {

// A menu that stays open while its ticks are set, so that several groups are shown or
// hidden at one go; its other commands close it.
class TickingMenu : public QMenu {
public:
    using QMenu::QMenu;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!tickAt(actionAt(event->position().toPoint()))) {
            QMenu::mouseReleaseEvent(event);
        }
    }
    void keyPressEvent(QKeyEvent* event) override {
        const bool choose = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                            event->key() == Qt::Key_Space;
        if (!choose || !tickAt(activeAction())) {
            QMenu::keyPressEvent(event);
        }
    }

private:
    static bool tickAt(QAction* action) {
        if (action == nullptr || !action->isCheckable() || !action->isEnabled()) {
            return false;
        }
        action->trigger();
        return true;
    }
};

} // namespace

RosterGridView::RosterGridView(RosterDocument& document, QWidget* parent)
    : QWidget(parent), model_(new RosterGridModel(document, this)),
      filter_(new RosterGridFilter(*model_, this)) {
    search_ = named(new QLineEdit(this), QStringLiteral("gridSearch"));
    search_->setPlaceholderText(QStringLiteral("Name"));
    search_->setClearButtonEnabled(true);
    conditions_ = named(new QLineEdit(this), QStringLiteral("gridFilter"));
    conditions_->setPlaceholderText(QStringLiteral("Filter: nation = England, Accuracy >= 50"));
    conditions_->setClearButtonEnabled(true);
    showEmpty_ =
        named(new QCheckBox(QStringLiteral("Em&pty slots"), this), QStringLiteral("gridShowEmpty"));
    showEmpty_->setChecked(true);
    count_ = named(new QLabel(this), QStringLiteral("gridCount"));
    columns_ = named(new QToolButton(this), QStringLiteral("gridColumns"));
    columns_->setText(QStringLiteral("&Columns"));
    columns_->setPopupMode(QToolButton::InstantPopup);
    // The groups by their index (what setGroupShown finds), then the commands on them.
    auto* menu = new TickingMenu(columns_);
    auto* only = new QMenu(QStringLiteral("&Only One Group"), menu);
    only->setObjectName(QStringLiteral("gridOnlyGroup"));
    const auto& groups = RosterGridModel::groups();
    for (std::size_t i = 0; i < groups.size(); ++i) {
        QAction* action = menu->addAction(groups[i].name);
        action->setCheckable(true);
        action->setChecked(true);
        connect(action, &QAction::toggled, this,
                [this, i](bool shown) { setGroupShown(static_cast<int>(i), shown); });
        connect(only->addAction(groups[i].name), &QAction::triggered, this, [this, i] {
            for (std::size_t each = 0; each < RosterGridModel::groups().size(); ++each) {
                setGroupShown(static_cast<int>(each), each == i);
            }
        });
    }
    menu->addSeparator();
    QAction* all = menu->addAction(QStringLiteral("Show &All"));
    all->setObjectName(QStringLiteral("gridShowAllGroups"));
    connect(all, &QAction::triggered, this, [this] { setHiddenGroups({}); });
    menu->addMenu(only);
    columns_->setMenu(menu);

    // Slot, ID and name stay in place when the grid scrolls sideways.
    const int frozenColumns = model_->column(fieldRegistry().front()) + 1;
    auto* frozen = new FrozenColumnsTable(frozenColumns, this);
    table_ = named(frozen, QStringLiteral("gridTable"));
    // Edited rows stay where they are until the next sort: a title clicked, the filter,
    // the name search or the empty slots changed (see resort).
    filter_->setDynamicSortFilter(false);
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(RosterGridModel::kSlotColumn, Qt::AscendingOrder);
    for (QTableView* view : {table_, &frozen->frozenView()}) {
        view->setItemDelegate(new FieldDelegate(view));
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        // A click selects, even in a selection (then Ctrl+V pastes there); a double
        // click, F2 or typing edits.
        view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
        view->verticalHeader()->hide();
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
        view->setIconSize(QSize(18, 12));
        view->setWordWrap(false);
    }
    fitColumnsToTitles(*table_, *model_);

    auto* top = new QHBoxLayout;
    top->addWidget(search_, 1);
    top->addWidget(conditions_, 2);
    top->addWidget(columns_);
    top->addWidget(showEmpty_);
    top->addWidget(count_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_);

    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->setNameSearch(text);
        resort();
    });
    connect(conditions_, &QLineEdit::textChanged, this, &RosterGridView::applyConditions);
    connect(showEmpty_, &QCheckBox::toggled, this, [this](bool shown) {
        filter_->setShowEmpty(shown);
        resort();
    });
    connect(model_, &QAbstractItemModel::dataChanged, this, &RosterGridView::showCount);
    showCount();
}

void RosterGridView::setGroupShown(int group, bool shown) {
    const ColumnGroup& columns = RosterGridModel::groups()[static_cast<std::size_t>(group)];
    for (int column = columns.first; column <= columns.last; ++column) {
        table_->setColumnHidden(column, !shown);
    }
    QAction* action = columns_->menu()->actions().value(group);
    if (action != nullptr && action->isChecked() != shown) {
        action->setChecked(shown);
    }
    emit groupsChanged();
}

bool RosterGridView::groupShown(int group) const {
    return !table_->isColumnHidden(RosterGridModel::groups()[static_cast<std::size_t>(group)].last);
}

QStringList RosterGridView::hiddenGroups() const {
    QStringList names;
    const auto& groups = RosterGridModel::groups();
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (!groupShown(static_cast<int>(i))) {
            names << groups[i].name;
        }
    }
    return names;
}

void RosterGridView::setHiddenGroups(const QStringList& names) {
    const auto& groups = RosterGridModel::groups();
    for (std::size_t i = 0; i < groups.size(); ++i) {
        setGroupShown(static_cast<int>(i), !names.contains(groups[i].name));
    }
}

std::vector<int> RosterGridView::shownSlots() const {
    std::vector<int> chosen;
    for (int row = 0; row < filter_->rowCount(); ++row) {
        chosen.push_back(filter_->mapToSource(filter_->index(row, 0)).row());
    }
    return chosen;
}

std::vector<int> RosterGridView::shownColumns() const {
    std::vector<int> columns;
    const QHeaderView* header = table_->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (!header->isSectionHidden(column)) {
            columns.push_back(column);
        }
    }
    return columns;
}

std::vector<int> RosterGridView::selectedSlots() const {
    // The selection's ranges, not its cells: a whole roster selected is 1,600 rows but
    // some 240,000 cells.
    std::vector<int> rows;
    for (const QItemSelectionRange& range : table_->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.push_back(row);
        }
    }
    std::ranges::sort(rows);
    const auto [first, last] = std::ranges::unique(rows);
    rows.erase(first, last);
    std::vector<int> chosen;
    for (const int row : rows) {
        chosen.push_back(filter_->mapToSource(filter_->index(row, 0)).row());
    }
    return chosen;
}

void RosterGridView::applyConditions() {
    try {
        filter_->setConditions(parseConditions(conditions_->text(), *model_, shownColumns()));
        conditions_->setToolTip({});
        conditions_->setStyleSheet({});
        resort();
    } catch (const QuillbayError& error) {
        // Conditions half typed, or that no player could meet, keep the rows of the last
        // ones that could be met; the box is framed red, the reason its tool tip.
        conditions_->setToolTip(QString::fromStdString(error.description()));
        conditions_->setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid #d01818; }"));
        showCount();
    }
}

void RosterGridView::resort() {
    const QHeaderView* header = table_->horizontalHeader();
    filter_->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
    showCount();
}

void RosterGridView::showCount() {
    count_->setText(
        QStringLiteral("%1 of %2 players").arg(filter_->shownPlayers()).arg(filter_->allPlayers()));
}

void fitColumnsToTitles(QTableView& table, const RosterGridModel& columns) {
    QHeaderView* header = table.horizontalHeader();
    for (int column = 0; column < columns.columnCount(); ++column) {
        const QString title = columns.headerData(column, Qt::Horizontal).toString();
        header->resizeSection(column,
                              std::max(56, header->fontMetrics().horizontalAdvance(title) + 24));
    }
    table.setColumnWidth(columns.column(fieldRegistry()[0]), 130); // the name
    table.setColumnWidth(columns.column(fieldRegistry()[1]), 80);  // the nation and its flag
}

} // namespace qb
