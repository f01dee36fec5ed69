#pragma once

#include <QAbstractButton>
#include <QButtonGroup>
#include <QStringList>
#include <QWidget>

namespace qb {

// A tab strip whose tabs wrap onto several rows, as the editor's tabs need in a
// narrow window. Tabs are numbered from 1. Each caption's "&" gives it an Alt key.
class TabStrip : public QWidget {
    Q_OBJECT

public:
    TabStrip(const QStringList& captions, int perRow, QWidget* parent = nullptr);

    int selectedTab() const { return group_.checkedId(); }
    void selectTab(int tab);
    int tabCount() const { return static_cast<int>(group_.buttons().size()); }
    QWidget* tabButton(int tab) const { return group_.button(tab); }

signals:
    // A tab became selected, by a click, a key or the program.
    void tabSelected(int tab);

private:
    QButtonGroup group_;
};

} // namespace qb
