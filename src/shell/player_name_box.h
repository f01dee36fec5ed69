#pragma once

#include "roster/player_lists.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <set>
#include <vector>

class QComboBox;
class QKeyEvent;

namespace qb {

// The Name box above the tabs: the open roster's listed players by slot, the marks of
// those with unsaved edits, and the search as a name is typed into it. Choosing another
// player is `chosen`; choosing the one on screen again from the list is
// `reloadRequested`, a revert. Typing never reverts: it only moves to another player.
class PlayerNameBox : public QObject {
    Q_OBJECT

public:
    // `list` is the editable box; `index` the open roster's, searched as a name is typed.
    PlayerNameBox(QComboBox* list, std::function<const RosterIndex&()> index);
    ~PlayerNameBox() override;

    int current() const;
    int count() const;
    QString name(int entry) const;
    // The first `listed` of `names` as the entries, none selected and no marks; says
    // nothing of it.
    void showNames(const QStringList& names, qsizetype listed);
    // A slot's entry as the file holds it now, when the slot is listed; says nothing of it.
    void showName(int slot, const QString& name);
    // Selects the slot's entry, or none when it is not listed, saying nothing of it.
    void selectQuietly(int slot);
    // Selects the entry, `chosen` when it was not selected.
    void select(int entry);
    // Marks the entries of these slots as holding unsaved edits, unmarks the others.
    void markUnsaved(const std::vector<int>& pending);

signals:
    void chosen(int slot);
    // Type-ahead reached another player: shown as when chosen, but nothing may ask or
    // warn in a dialog, whose buttons the next typed key would press.
    void typedTo(int slot);
    void reloadRequested(int slot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void searchAsTyped(const QKeyEvent& key);

    QComboBox* list_;
    std::function<const RosterIndex&()> index_;
    bool quiet_ = false;       // the entries are changed, not chosen
    bool typedInName_ = false; // the box's text was typed since the last search
    // The selected entry when the list last opened (-1: not open).
    int entryAtPopup_ = -1;
    std::set<int> markedSlots_;
};

} // namespace qb
