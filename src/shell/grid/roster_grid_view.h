#pragma once

#include <QWidget>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;

namespace qb {

class RosterDocument;
class RosterGridFilter;
class RosterGridModel;

// The roster grid: the table of every slot of a document with its column groups shown
// or hidden, sorting by any column, a name search, column conditions
// ("nation = England, Accuracy >= 50"), empty slots shown at the end or hidden, and
// "N of M players".
class RosterGridView : public QWidget {
    Q_OBJECT

public:
    explicit RosterGridView(RosterDocument& document, QWidget* parent = nullptr);

    RosterGridModel& model() const { return *model_; }
    RosterGridFilter& filter() const { return *filter_; }
    QTableView& table() const { return *table_; }

    // Column groups by their index in RosterGridModel::groups().
    void setGroupShown(int group, bool shown);
    bool groupShown(int group) const;
    // The groups hidden, by name (what the settings keep).
    QStringList hiddenGroups() const;
    void setHiddenGroups(const QStringList& names);

    // The slots of the rows shown, in their order; the columns shown, left to right.
    std::vector<int> shownSlots() const;
    std::vector<int> shownColumns() const;
    // The slots of the selected rows, in the order shown.
    std::vector<int> selectedSlots() const;

signals:
    void groupsChanged();

private:
    void applyConditions();
    // Sorts the rows shown again, by the column and order last chosen.
    void resort();
    void showCount();

    RosterGridModel* model_;
    RosterGridFilter* filter_;
    QTableView* table_;
    QLineEdit* search_;
    QLineEdit* conditions_;
    QCheckBox* showEmpty_;
    QToolButton* columns_;
    QLabel* count_;
};

// Sizes each column of `table`, whose columns are those of `columns`, to its title (never
// narrower than a rating needs), read from the titles alone, not from the 1600 rows; the
// name and the nation with its flag get the room their values need.
void fitColumnsToTitles(QTableView& table, const RosterGridModel& columns);

} // namespace qb
