#include "shell/grid/frozen_columns_table.h"

#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>

namespace qb {

// The view over the frozen columns; the table opens its editors for those cells.
class FrozenColumnsTable::FrozenView : public QTableView {
public:
    using QTableView::edit;
    using QTableView::QTableView;
};

FrozenColumnsTable::FrozenColumnsTable(int frozenColumns, QWidget* parent)
    : QTableView(parent), frozenColumns_(frozenColumns), frozen_(new FrozenView(this)) {
    frozen_->setFocusProxy(this);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->verticalHeader()->hide();
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A right click shows the table's menu of actions.
    frozen_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(frozen_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (contextMenuPolicy() == Qt::ActionsContextMenu && !actions().isEmpty()) {
            QMenu::exec(actions(), frozen_->viewport()->mapToGlobal(at), nullptr, this);
        }
    });
    viewport()->stackUnder(frozen_);
    // Sideways by pixels, so that a column can be brought just beside the frozen ones.
    setHorizontalScrollMode(ScrollPerPixel);

    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) { followColumn(column, size); });
    connect(frozen_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (size > 0) {
                    setColumnWidth(column, size);
                }
            });
    // Either header sorts the table; each shows the other's order.
    QHeaderView* frozenHeader = frozen_->horizontalHeader();
    frozenHeader->setSectionsClickable(true);
    frozenHeader->setSortIndicatorShown(true);
    connect(frozenHeader, &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                if (column != horizontalHeader()->sortIndicatorSection() ||
                    order != horizontalHeader()->sortIndicatorOrder()) {
                    sortByColumn(column, order);
                }
            });
    connect(horizontalHeader(), &QHeaderView::sortIndicatorChanged, frozenHeader,
            &QHeaderView::setSortIndicator);
    connect(frozen_, &QAbstractItemView::doubleClicked, this, &QAbstractItemView::doubleClicked);
}

void FrozenColumnsTable::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    frozen_->setModel(model);
    frozen_->setSelectionModel(selectionModel());
    for (int column = 0; column < model->columnCount(); ++column) {
        if (column < frozenColumns_) {
            followColumn(column, isColumnHidden(column) ? 0 : columnWidth(column));
        } else {
            frozen_->setColumnHidden(column, true);
        }
    }
    placeFrozenView();
}

QTableView& FrozenColumnsTable::frozenView() const {
    return *frozen_;
}

int FrozenColumnsTable::frozenWidth() const {
    int width = 0;
    for (int column = 0; column < frozenColumns_; ++column) {
        width += isColumnHidden(column) ? 0 : columnWidth(column);
    }
    return width;
}

void FrozenColumnsTable::followColumn(int column, int size) {
    if (column >= frozenColumns_) {
        return;
    }
    // A hidden column is first resized to nothing, then marked hidden.
    frozen_->setColumnHidden(column, size == 0);
    if (size > 0 && frozen_->columnWidth(column) != size) {
        frozen_->setColumnWidth(column, size);
    }
    placeFrozenView();
}

void FrozenColumnsTable::placeFrozenView() {
    frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    frozen_->setGeometry(
        frameWidth() + (verticalHeader()->isVisible() ? verticalHeader()->width() : 0),
        frameWidth(), frozenWidth(), viewport()->height() + horizontalHeader()->height());
}

void FrozenColumnsTable::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    placeFrozenView();
}

void FrozenColumnsTable::updateGeometries() {
    QTableView::updateGeometries();
    placeFrozenView();
}

void FrozenColumnsTable::uncover(const QModelIndex& index) {
    const int hidden = frozenWidth() - visualRect(index).left();
    if (index.column() >= frozenColumns_ && hidden > 0) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
    }
}

QModelIndex FrozenColumnsTable::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = QTableView::moveCursor(action, modifiers);
    uncover(next);
    return next;
}

void FrozenColumnsTable::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.column() < frozenColumns_) {
        // Only up or down: the cell is always in sight sideways.
        const int sideways = horizontalScrollBar()->value();
        QTableView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(sideways);
        return;
    }
    QTableView::scrollTo(index, hint);
    uncover(index);
}

bool FrozenColumnsTable::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (index.isValid() && index.column() < frozenColumns_) {
        return frozen_->edit(index, trigger, event);
    }
    return QTableView::edit(index, trigger, event);
}

} // namespace qb
