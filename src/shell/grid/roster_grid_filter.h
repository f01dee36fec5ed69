#pragma once

#include <QSortFilterProxyModel>
#include <QString>
#include <optional>
#include <vector>

namespace qb {

class RosterGridModel;

// One condition on a column: `Accuracy >= 50`, `nation = England`, `bowlingStyle != None`.
struct ColumnCondition {
    enum class Op { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };
    int column = 0;
    Op op = Op::Equal;
    QString text;                 // a choice as its cells show it ("ENG" for "England")
    std::optional<double> number; // set for a column of numbers, flags or states
};

// Conditions separated by commas; a column is named by its title as shown ("Bowling:
// Accuracy"), its key ("ratings.bowling.Accuracy") or its bare title ("Accuracy"),
// ignoring case and spaces. A bare title several columns share is the first of them
// among `visible` columns, else the first of all. A choice is named by its entry or,
// for the nation, by the country ("England"); a flag by "ticked", "clear", "true" or
// "false". Throws a QuillbayError naming the part it cannot read, or why no player
// could meet it (an entry the choice lacks, a number out of the column's range).
std::vector<ColumnCondition> parseConditions(const QString& text, const RosterGridModel& model,
                                             const std::vector<int>& visible = {});

// The rows of the grid to show, in the order asked for: a name search, column
// conditions, and empty slots shown (at the end, whatever the order) or hidden.
class RosterGridFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit RosterGridFilter(RosterGridModel& model, QObject* parent = nullptr);

    void setNameSearch(const QString& text);
    void setConditions(std::vector<ColumnCondition> conditions);
    void setShowEmpty(bool show);
    // The players shown and the players of the roster.
    int shownPlayers() const;
    int allPlayers() const;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    // A row's place in the order of one column, read once per sort: empty slots last,
    // then what shows nothing, numbers by value, texts ignoring case.
    struct SortKey {
        bool empty = false;
        bool shown = false;
        bool numeric = false;
        double number = 0;
        QString text;
    };
    bool meets(int slot, const ColumnCondition& condition) const;
    const SortKey& sortKey(int slot, int column) const;
    SortKey readSortKey(int slot, int column) const;
    void refreshSortKeys(const QModelIndex& first, const QModelIndex& last);

    RosterGridModel& model_;
    // The keys of every slot for the column last sorted by; -1 when none are read.
    mutable std::vector<SortKey> sortKeys_;
    mutable int sortKeysColumn_ = -1;
    QString nameSearch_;
    std::vector<ColumnCondition> conditions_;
    bool showEmpty_ = true;
};

} // namespace qb
