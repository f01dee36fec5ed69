#include "shell/grid/roster_grid_filter.h"

#include "codecs/field_keys.h"
#include "codecs/tables.h"
#include "roster/layout.h"
#include "shell/edit_command.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/pages/widgets.h"
#include "system/errors.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

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

// A name as written in the box, for comparing: no spaces, no case ("Batting: Accuracy"
// is "batting:accuracy").
QString squeezed(QString text) {
    text.remove(QLatin1Char(' '));
    return text.toLower();
}

int columnNamed(const QString& name, const RosterGridModel& model,
                const std::vector<int>& visible) {
    const QString wanted = squeezed(name);
    std::vector<int> titled;
    for (int column = 0; column < model.columnCount(); ++column) {
        const Field* field = model.field(column);
        if (field != nullptr && (squeezed(QString::fromStdString(field->key)) == wanted ||
                                 squeezed(columnTitle(*field)) == wanted)) {
            return column;
        }
        const QString title = field != nullptr
                                  ? fieldTitle(*field)
                                  : model.headerData(column, Qt::Horizontal).toString();
        if (squeezed(title) == wanted) {
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

// The numbers a column holds; nothing for a column of texts (the name, a choice).
struct Range {
    double low = 0;
    double high = 0;
    bool whole = true;
};

std::optional<Range> numbersOf(int column, const Field* field) {
    if (field == nullptr) {
        return column == RosterGridModel::kSlotColumn ? Range{0, SLOT_COUNT - 1}
                                                      : Range{0, 0xFFFF}; // the ID's 16 bits
    }
    switch (field->kind) {
    case FieldKind::Text:
    case FieldKind::Choice:
        return std::nullopt;
    case FieldKind::Statistic:
        return Range{0, static_cast<double>(field->high), false};
    case FieldKind::Rate: // computed, without a limit of its own
        return Range{0, std::numeric_limits<double>::infinity(), false};
    default:
        return Range{static_cast<double>(field->low), static_cast<double>(field->high)};
    }
}

// Whether some number of the range meets the condition.
bool reachable(Op op, double number, const Range& range) {
    switch (op) {
    case Op::Equal:
        return number >= range.low && number <= range.high &&
               (!range.whole || std::floor(number) == number);
    case Op::NotEqual:
        return true;
    case Op::Less:
    case Op::LessOrEqual:
        return holds(op, range.low - number);
    default:
        return holds(op, range.high - number);
    }
}

// A flag's or Injury Free's state by the word the grid shows ("ticked") or the word a
// flag takes ("true"), ignoring case.
std::optional<double> stateNamed(const Field& field, const QString& text) {
    for (int state = field.low; state <= field.high; ++state) {
        if (cellText(field, state).compare(text, Qt::CaseInsensitive) == 0) {
            return state;
        }
    }
    if (field.kind == FieldKind::Flag) {
        for (const int state : {0, 1}) {
            if (QLatin1String(state == 1 ? "true" : "false").compare(text, Qt::CaseInsensitive) ==
                0) {
                return state;
            }
        }
    }
    return std::nullopt;
}

// A choice's entry by its text ("ENG", "Off Spin") or, for the nation, by the country's
// name ("England"), ignoring case.
std::optional<std::size_t> entryNamed(const Field& field, const QString& text) {
    for (std::size_t entry = 0; entry < field.choices.size(); ++entry) {
        if (qView(field.choices[entry]).compare(text, Qt::CaseInsensitive) == 0 ||
            (field.key == keys::kNation &&
             qView(kNationNames[entry]).compare(text, Qt::CaseInsensitive) == 0)) {
            return entry;
        }
    }
    return std::nullopt;
}

QString entryList(const Field& field) {
    QStringList entries;
    for (std::size_t entry = 0; entry < field.choices.size(); ++entry) {
        entries << qView(field.choices[entry]) +
                       (field.key == keys::kNation
                            ? QStringLiteral(" (%1)").arg(qView(kNationNames[entry]))
                            : QString());
    }
    return entries.join(QStringLiteral(", "));
}

// Takes the condition's value as the column holds it: a choice's entry as the cells show
// it, a number, a state as its number. Throws when no cell of the column can meet it,
// naming why.
void readValue(ColumnCondition& condition, const QString& symbol, const RosterGridModel& model) {
    const Field* field = model.field(condition.column);
    const QString title = model.headerData(condition.column, Qt::Horizontal).toString();
    const auto never = [&](const QString& why) {
        return QuillbayError(QStringLiteral("%1 is never %2 %3: %4")
                                 .arg(title, symbol, condition.text, why)
                                 .toStdString());
    };
    if (field != nullptr && field->kind == FieldKind::Choice) {
        const auto entry = entryNamed(*field, condition.text);
        if (!entry) {
            throw never(QStringLiteral("it is one of ") + entryList(*field));
        }
        condition.text = qView(field->choices[*entry]);
        return;
    }
    const std::optional<Range> range = numbersOf(condition.column, field);
    if (!range) {
        return; // a text: any text may be compared with it
    }
    bool numeric = false;
    std::optional<double> number = condition.text.toDouble(&numeric);
    if (!numeric) {
        number = field != nullptr ? stateNamed(*field, condition.text) : std::nullopt;
    }
    if (!number) {
        throw never(field != nullptr && field->kind == FieldKind::Flag
                        ? QStringLiteral("it is ticked or clear (true or false, 1 or 0)")
                    : field != nullptr && field->kind == FieldKind::ThreeState
                        ? QStringLiteral("it is clear, ticked or greyed (0, 1 or 2)")
                        : QStringLiteral("it is a number"));
    }
    if (!reachable(opOf(symbol), *number, *range)) {
        throw never(std::isinf(range->high)
                        ? QStringLiteral("it is never below 0")
                        : QStringLiteral("it runs from %1 to %2").arg(range->low).arg(range->high));
    }
    condition.number = number;
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
        readValue(condition, match.captured(2), model);
        conditions.push_back(std::move(condition));
    }
    return conditions;
}

RosterGridFilter::RosterGridFilter(RosterGridModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
    // Connected before the proxy connects itself, so its sorting reads fresh keys.
    connect(&model, &QAbstractItemModel::dataChanged, this, &RosterGridFilter::refreshSortKeys);
    setSourceModel(&model);
    setSortRole(RosterGridModel::kSortRole);
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
    const QVariant key = cell.data(RosterGridModel::kSortRole);
    if (!key.isValid()) {
        return false; // a field shown as nothing meets no condition
    }
    if (condition.number) {
        // A computed rate is held as its text ("12.50").
        bool numeric = false;
        const double held = key.toDouble(&numeric);
        return numeric && holds(condition.op, held - *condition.number);
    }
    const QString shown = cell.data().toString();
    return holds(condition.op, shown.compare(condition.text, Qt::CaseInsensitive));
}

RosterGridFilter::SortKey RosterGridFilter::readSortKey(int slot, int column) const {
    if (model_.isEmptySlot(slot)) {
        return {.empty = true};
    }
    const QVariant value = model_.index(slot, column).data(RosterGridModel::kSortRole);
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
