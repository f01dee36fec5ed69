#include "shell/grid/roster_grid_filter.h"

#include "roster/errors.h"
#include "roster/layout.h"
#include "shell/grid/roster_grid_model.h"

#include <QRegularExpression>
#include <algorithm>

namespace qb {
namespace {

using Op = ColumnCondition::Op;

Op opOf(const QString& symbol) {
    if (symbol == QLatin1String("!=")) {
        return Op::NotEqual;
    }
    if (symbol == QLatin1String("<")) {
        return Op::Less;
    }
    if (symbol == QLatin1String("<=")) {
        return Op::LessOrEqual;
    }
    if (symbol == QLatin1String(">")) {
        return Op::Greater;
    }
    if (symbol == QLatin1String(">=")) {
        return Op::GreaterOrEqual;
    }
    return Op::Equal;
}

int columnNamed(const QString& name, const RosterGridModel& model,
                const std::vector<int>& visible) {
    std::vector<int> titled;
    for (int column = 0; column < model.columnCount(); ++column) {
        const Field* field = model.field(column);
        if (field != nullptr &&
            QString::fromStdString(field->key).compare(name, Qt::CaseInsensitive) == 0) {
            return column;
        }
        if (model.headerData(column, Qt::Horizontal)
                .toString()
                .compare(name, Qt::CaseInsensitive) == 0) {
            titled.push_back(column);
        }
    }
    for (const int column : titled) {
        if (std::ranges::find(visible, column) != visible.end()) {
            return column;
        }
    }
    return titled.empty() ? -1 : titled.front();
}

bool isNumber(const QVariant& value) {
    return value.isValid() && value.typeId() != QMetaType::QString;
}

// Whether `order` (negative, zero or positive, as a comparison gives) meets the condition.
bool holds(Op op, double order) {
    switch (op) {
    case Op::Equal:
        return order == 0;
    case Op::NotEqual:
        return order != 0;
    case Op::Less:
        return order < 0;
    case Op::LessOrEqual:
        return order <= 0;
    case Op::Greater:
        return order > 0;
    case Op::GreaterOrEqual:
        break;
    }
    return order >= 0;
}

} // namespace

std::vector<ColumnCondition> parseConditions(const QString& text, const RosterGridModel& model,
                                             const std::vector<int>& visible) {
    static const QRegularExpression shape(
        QStringLiteral(R"(^\s*(.+?)\s*(>=|<=|!=|=|<|>)\s*(.*?)\s*$)"));
    std::vector<ColumnCondition> conditions;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (part.trimmed().isEmpty()) {
            continue;
        }
        const QRegularExpressionMatch match = shape.match(part);
        if (!match.hasMatch()) {
            throw QuillbayError("\"" + part.trimmed().toStdString() +
                                "\" is not COLUMN OP VALUE (=, !=, <, <=, >, >=)");
        }
        const int column = columnNamed(match.captured(1), model, visible);
        if (column < 0) {
            throw QuillbayError("no column \"" + match.captured(1).toStdString() + "\"");
        }
        if (match.captured(3).isEmpty()) {
            throw QuillbayError("\"" + part.trimmed().toStdString() + "\" has no value");
        }
        ColumnCondition condition{column, opOf(match.captured(2)), match.captured(3), {}};
        bool numeric = false;
        const double number = condition.text.toDouble(&numeric);
        if (numeric) {
            condition.number = number;
        }
        conditions.push_back(std::move(condition));
    }
    return conditions;
}

RosterGridFilter::RosterGridFilter(RosterGridModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
    // Connected before the proxy connects itself, so its sorting reads fresh keys.
    connect(&model, &QAbstractItemModel::dataChanged, this, &RosterGridFilter::refreshSortKeys);
    setSourceModel(&model);
    setSortRole(RosterGridModel::SortRole);
}

void RosterGridFilter::setNameSearch(const QString& text) {
    nameSearch_ = text.trimmed();
    invalidateRowsFilter();
}

void RosterGridFilter::setConditions(std::vector<ColumnCondition> conditions) {
    conditions_ = std::move(conditions);
    invalidateRowsFilter();
}

void RosterGridFilter::setShowEmpty(bool show) {
    showEmpty_ = show;
    invalidateRowsFilter();
}

int RosterGridFilter::shownPlayers() const {
    int players = 0;
    for (int row = 0; row < rowCount(); ++row) {
        players += model_.isEmptySlot(mapToSource(index(row, 0)).row()) ? 0 : 1;
    }
    return players;
}

int RosterGridFilter::allPlayers() const {
    int players = 0;
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        players += model_.isEmptySlot(slot) ? 0 : 1;
    }
    return players;
}

bool RosterGridFilter::filterAcceptsRow(int row, const QModelIndex&) const {
    if (model_.isEmptySlot(row)) {
        return showEmpty_ && nameSearch_.isEmpty() && conditions_.empty();
    }
    if (!nameSearch_.isEmpty()) {
        const int nameColumn = model_.column(fieldRegistry().front());
        const QString name = model_.index(row, nameColumn).data().toString();
        if (!name.contains(nameSearch_, Qt::CaseInsensitive)) {
            return false;
        }
    }
    return std::ranges::all_of(
        conditions_, [&](const ColumnCondition& condition) { return meets(row, condition); });
}

bool RosterGridFilter::meets(int slot, const ColumnCondition& condition) const {
    const QModelIndex cell = model_.index(slot, condition.column);
    const QVariant key = cell.data(RosterGridModel::SortRole);
    if (condition.number && isNumber(key)) {
        return holds(condition.op, key.toDouble() - *condition.number);
    }
    if (!key.isValid()) {
        return false; // a field shown as nothing meets no condition
    }
    const QString shown = cell.data().toString();
    return holds(condition.op, shown.compare(condition.text, Qt::CaseInsensitive));
}

RosterGridFilter::SortKey RosterGridFilter::readSortKey(int slot, int column) const {
    if (model_.isEmptySlot(slot)) {
        return {.empty = true};
    }
    const QVariant value = model_.index(slot, column).data(RosterGridModel::SortRole);
    if (!value.isValid()) {
        return {};
    }
    if (isNumber(value)) {
        return {.shown = true, .numeric = true, .number = value.toDouble()};
    }
    return {.shown = true, .text = value.toString()};
}

const RosterGridFilter::SortKey& RosterGridFilter::sortKey(int slot, int column) const {
    if (sortKeysColumn_ != column) {
        sortKeys_.resize(SLOT_COUNT);
        for (int each = 0; each < SLOT_COUNT; ++each) {
            sortKeys_[static_cast<std::size_t>(each)] = readSortKey(each, column);
        }
        sortKeysColumn_ = column;
    }
    return sortKeys_[static_cast<std::size_t>(slot)];
}

void RosterGridFilter::refreshSortKeys(const QModelIndex& first, const QModelIndex& last) {
    if (sortKeysColumn_ < 0) {
        return;
    }
    for (int slot = first.row(); slot <= last.row(); ++slot) {
        sortKeys_[static_cast<std::size_t>(slot)] = readSortKey(slot, sortKeysColumn_);
    }
}

bool RosterGridFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const SortKey& a = sortKey(left.row(), left.column());
    const SortKey& b = sortKey(right.row(), right.column());
    if (a.empty || b.empty) {
        // Empty slots stay at the end in either order, in slot order.
        if (a.empty && b.empty) {
            return (left.row() < right.row()) == (sortOrder() == Qt::AscendingOrder);
        }
        return sortOrder() == Qt::AscendingOrder ? b.empty : a.empty;
    }
    if (!a.shown || !b.shown) {
        return !a.shown && b.shown; // nothing shown sorts first
    }
    if (a.numeric && b.numeric) {
        return a.number < b.number;
    }
    return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
}

} // namespace qb
