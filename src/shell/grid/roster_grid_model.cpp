#include "shell/grid/roster_grid_model.h"

#include "codecs/field_keys.h"
#include "player/field_titles.h"
#include "player/relative_edit.h"
#include "roster/layout.h"
#include "shell/artwork.h"
#include "shell/edit_command.h"
#include "shell/grid/cell_colours.h"
#include "shell/unshowable_player.h"

#include <QBrush>
#include <QIcon>

namespace qb {
namespace {

constexpr int kFixedColumns = RosterGridModel::kFirstFieldColumn;

std::vector<ColumnGroup> makeGroups() {
    std::vector<ColumnGroup> groups;
    const auto& fields = fieldRegistry();
    for (std::size_t i = 1; i < fields.size(); ++i) { // the name is in no group
        const int column = kFixedColumns + static_cast<int>(i);
        const QString name = QString::fromStdString(groupTitleOf(fields[i]));
        if (groups.empty() || groups.back().name != name) {
            groups.push_back({name, column, column});
        }
        groups.back().last = column;
    }
    return groups;
}

// A value the way a field takes it back: "true", "42", "12.5", an entry's text.
QString valueOf(const FieldValue& value) {
    return std::visit(
        [](const auto& held) -> QString {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::monostate>) {
                return {};
            } else if constexpr (std::is_same_v<Held, bool>) {
                return held ? QStringLiteral("true") : QStringLiteral("false");
            } else if constexpr (std::is_same_v<Held, std::string>) {
                return QString::fromStdString(held);
            } else {
                return QString::number(held);
            }
        },
        value);
}

QVariant sortKey(const FieldValue& value) {
    return std::visit(
        [](const auto& held) -> QVariant {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::monostate>) {
                return {};
            } else if constexpr (std::is_same_v<Held, bool>) {
                return held ? 1 : 0;
            } else if constexpr (std::is_same_v<Held, std::string>) {
                return QString::fromStdString(held);
            } else {
                return QVariant::fromValue(static_cast<double>(held));
            }
        },
        value);
}

} // namespace

QString fieldTitle(const Field& field) {
    return QString::fromStdString(titleOf(field));
}

QString columnTitle(const Field& field) {
    return QString::fromStdString(qualifiedTitleOf(field));
}

RosterGridModel::RosterGridModel(RosterDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document), rows_(SLOT_COUNT) {
    findEmptySlots();
    listening_ =
        document_.onChange([this](const DocumentChange& change) { documentChanged(change); });
}

void RosterGridModel::submit(const QString& text, std::vector<Edit> edits) {
    if (edits.empty()) {
        return;
    }
    if (history_) {
        history_(text, std::move(edits));
    } else {
        EditsCommand(document_, text, std::move(edits)).redo();
    }
}

void RosterGridModel::repair(int slot) {
    submit(QStringLiteral("Repair slot %1").arg(slot), {repairEdit(slot)});
}

Edit RosterGridModel::typedEdit(int slot, const Field& field, const QString& typed) const {
    const std::string text = typed.trimmed().toStdString();
    if (!isRelativeText(text)) {
        return document_.makeEdit(slot, field, typed.toStdString());
    }
    const std::optional<int> step = typedStep(field, text);
    if (!step) {
        throw QuillbayError(text.substr(0, 2) + " takes a whole number and a numeric field");
    }
    return document_.makeEdit(slot, field, steppedValue(field, shown(slot).value(field), *step));
}

const Field* RosterGridModel::field(int column) const {
    const auto& fields = fieldRegistry();
    const int index = column - kFixedColumns;
    return index >= 0 && index < static_cast<int>(fields.size())
               ? &fields[static_cast<std::size_t>(index)]
               : nullptr;
}

int RosterGridModel::column(const Field& field) const {
    return kFixedColumns + static_cast<int>(&field - fieldRegistry().data());
}

const std::vector<ColumnGroup>& RosterGridModel::groups() {
    static const std::vector<ColumnGroup> all = makeGroups();
    return all;
}

bool RosterGridModel::isEmptySlot(int slot) const {
    return empty_[static_cast<std::size_t>(slot)];
}

void RosterGridModel::findEmptySlots() {
    empty_.resize(SLOT_COUNT);
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        empty_[static_cast<std::size_t>(slot)] = qb::isEmptySlot(document_.table().record(slot));
    }
}

const ShownPlayer& RosterGridModel::shown(int slot) const {
    std::optional<ShownPlayer>& row = rows_[static_cast<std::size_t>(slot)];
    if (!row) {
        row = document_.shownWithEdits(slot);
    }
    return *row;
}

QString RosterGridModel::valueText(int slot, const Field& field) const {
    return valueOf(shown(slot).value(field));
}

int RosterGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SLOT_COUNT;
}

int RosterGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFixedColumns + static_cast<int>(fieldRegistry().size());
}

QVariant RosterGridModel::displayed(int slot, const Field& field) const {
    const FieldValue value = shown(slot).value(field);
    if (std::holds_alternative<std::monostate>(value)) {
        return {};
    }
    if (field.kind == FieldKind::Statistic || field.kind == FieldKind::Rate) {
        return valueOf(value);
    }
    return cellText(field, readCell(field, shown(slot).sheetFor(field)));
}

QVariant RosterGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int slot = index.row();
    const Field* shownField = field(index.column());
    const bool empty = isEmptySlot(slot);
    if (role == kEmptyRole) {
        return empty;
    }
    if (empty && role == Qt::ForegroundRole) {
        return QBrush(Qt::gray);
    }
    if (shownField == nullptr) {
        const QVariant number = index.column() == kSlotColumn
                                    ? slot
                                    : read16(document_.table().record(slot), OFFSET_ID);
        return role == Qt::DisplayRole || role == Qt::EditRole || role == kSortRole ? number
                                                                                    : QVariant();
    }
    if (empty) {
        return {};
    }
    const ShownPlayer& player = shown(slot);
    switch (role) {
    case Qt::DisplayRole:
        return displayed(slot, *shownField);
    case Qt::EditRole:
        return valueOf(player.value(*shownField));
    case kSortRole:
        return sortKey(player.value(*shownField));
    case Qt::DecorationRole:
        if (shownField->key == keys::kNation) {
            const int entry = shownField->number(player.shown);
            return entry >= 0 ? QVariant(QIcon(nationFlag(entry))) : QVariant();
        }
        return {};
    case kPendingRole:
        return document_.hasPending(slot) && document_.changedKeys(slot).contains(shownField->key);
    case kFailedRole:
        return !player.failures.empty();
    case Qt::BackgroundRole:
        if (!player.failures.empty()) {
            return QBrush(kUnshowableCell);
        }
        return data(index, kPendingRole).toBool() ? QVariant(QBrush(QColor(255, 236, 150)))
                                                  : QVariant();
    case Qt::ToolTipRole:
        return player.failures.empty()
                   ? QVariant()
                   : unshowablePlayerText(
                         player.failures, document_.path(), slot,
                         QString::fromStdString(
                             document_.index().slotEntries[static_cast<std::size_t>(slot)].name()));
    default:
        return {};
    }
}

QVariant RosterGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    const Field* shownField = field(section);
    if (role == Qt::DisplayRole) {
        return shownField != nullptr    ? columnTitle(*shownField)
               : section == kSlotColumn ? QStringLiteral("Slot")
                                        : QStringLiteral("ID");
    }
    if (role == Qt::ToolTipRole && shownField != nullptr) {
        return QString::fromStdString(shownField->key);
    }
    return {};
}

Qt::ItemFlags RosterGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    const Field* shownField = field(index.column());
    if (shownField != nullptr && !shownField->readOnly() && !isEmptySlot(index.row()) &&
        shown(index.row()).failures.empty()) {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

bool RosterGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const Field* shownField = field(index.column());
    if (role != Qt::EditRole || shownField == nullptr ||
        !flags(index).testFlag(Qt::ItemIsEditable)) {
        return false;
    }
    const int slot = index.row();
    const QString text = value.toString();
    if (text == valueText(slot, *shownField)) {
        return true;
    }
    try {
        Edit edit = typedEdit(slot, *shownField, text);
        submit(editText(edit), {std::move(edit)});
        return true;
    } catch (const QuillbayError& error) {
        emit refused(QString::fromStdString(error.description()));
        return false;
    }
}

void RosterGridModel::documentChanged(const DocumentChange& change) {
    if (change.slot < 0) {
        std::ranges::fill(rows_, std::nullopt);
        findEmptySlots();
        emit dataChanged(index(0, 0), index(SLOT_COUNT - 1, columnCount() - 1));
        return;
    }
    rows_[static_cast<std::size_t>(change.slot)].reset();
    emit dataChanged(index(change.slot, 0), index(change.slot, columnCount() - 1));
}

} // namespace qb
