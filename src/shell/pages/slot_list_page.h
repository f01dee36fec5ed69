#pragma once

#include "shell/pages/page.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace qb {

struct RosterIndex;

// Every slot of the file by name (the More tab), a search by prefix, a jump to the next
// empty slot, and the import and export of the selected slot.
class SlotListPage : public Page {
    Q_OBJECT

public:
    // The page lists the slots of the open roster's index, which `index` gives.
    SlotListPage(int tab, std::function<const RosterIndex&()> index, QWidget* parent);

    // Lists the slots under their names, converted once by the window for both lists.
    void showSlots(const QStringList& names);
    // Shows one slot again under its name, as another program left it.
    void showSlot(int slot, const QString& name);
    // The selected slot, -1 for none.
    int selectedSlot() const;
    QString slotName(int slot) const;

signals:
    void importRequested();
    void exportRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search(const QString& typed);
    void gotoEmpty();
    void select(int slot);

    std::function<const RosterIndex&()> index_;
    QLineEdit* searchBox_;
    QListWidget* nameList_;
};

} // namespace qb
