#pragma once

#include "player/roster_document.h"
#include "player/shown_player.h"

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace qb {

// The columns shown or hidden together: identity, appearance, roles, the ratings of
// each tab, skills, shots and the statistics of each format. The slot, ID and name
// columns belong to none: they are always shown.
struct ColumnGroup {
    QString name;
    int first = 0; // columns first..last
    int last = 0;
};

// Every slot of a roster document as a table: one row per slot (row = slot), the
// columns slot, ID, then every field of the registry in its order (name and nation
// first). Players are decoded when a row is first asked for and kept until the
// document changes them; a player with pending edits shows them. Changes made through
// the model are steps handed to `setHistory`'s function (the window's undo history), or
// done at once when none is set.
class RosterGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kSortRole = Qt::UserRole + 1;    // numbers as numbers, texts as shown
    static constexpr int kPendingRole = Qt::UserRole + 2; // the cell shows an edit not yet saved
    static constexpr int kFailedRole = Qt::UserRole + 3;  // the player cannot be shown in full
    static constexpr int kEmptyRole = Qt::UserRole + 4;   // the slot holds no player
    static constexpr int kSlotColumn = 0;
    static constexpr int kIdColumn = 1;
    static constexpr int kFirstFieldColumn = 2;

    // Takes a step described by `text`: applies the edits now, keeps them to revert.
    using History = std::function<void(const QString& text, std::vector<Edit> edits)>;

    explicit RosterGridModel(RosterDocument& document, QObject* parent = nullptr);

    RosterDocument& document() const { return document_; }
    void setHistory(History history) { history_ = std::move(history); }
    // Applies the edits to the document as one step of the history.
    void submit(const QString& text, std::vector<Edit> edits);
    // Resets the fields of the slot that cannot be shown, as one step (see
    // RosterDocument::repair); undoing it drops the repairs.
    void repair(int slot);

    // The edit that a value typed for the slot's field makes: the value as the field
    // takes it, or "+=N" / "-=N" moving the number shown, clamped to the field's range
    // (the step read as `quillbay-cli bulk` reads it). Throws a QuillbayError saying why
    // a value is refused.
    Edit typedEdit(int slot, const Field& field, const QString& typed) const;

    // The field of a column; null for the slot and ID columns.
    const Field* field(int column) const;
    // The column of a field.
    int column(const Field& field) const;
    static const std::vector<ColumnGroup>& groups();
    bool isEmptySlot(int slot) const;
    // The slot's player as the grid shows it (pending edits included), decoded on
    // first use.
    const ShownPlayer& shown(int slot) const;
    // The value as a field takes it back ("Aggresive", "42", "true", "12.5"): what copy,
    // paste and the editors use; empty when the field shows nothing.
    QString valueText(int slot, const Field& field) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Takes the field's value as text, checked by the field; a refused value changes
    // nothing and is reported by `refused`.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A value the field refused, and why.
    void refused(const QString& reason);

private:
    void documentChanged(const DocumentChange& change);
    QVariant displayed(int slot, const Field& field) const;

    RosterDocument& document_;

    void findEmptySlots();

    History history_;
    mutable std::vector<std::optional<ShownPlayer>> rows_;
    // Per slot, whether the file holds no player there; read again when the document
    // is read again or saved.
    std::vector<bool> empty_;
    // The document may outlive this model; the subscription ends with it.
    ChangeSubscription listening_;
};

// A field's title and its column title (player/field_titles.h), as Qt text.
QString fieldTitle(const Field& field);
QString columnTitle(const Field& field);

} // namespace qb
