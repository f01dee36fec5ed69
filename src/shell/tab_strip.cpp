#include "shell/tab_strip.h"

#include <QGridLayout>
#include <QToolButton>

namespace qb {

TabStrip::TabStrip(const QStringList& captions, int perRow, QWidget* parent) : QWidget(parent) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    group_.setExclusive(true);
    for (int i = 0; i < captions.size(); ++i) {
        auto* tab = new QToolButton(this);
        tab->setText(captions[i]);
        tab->setCheckable(true);
        tab->setAutoRaise(false);
        tab->setToolButtonStyle(Qt::ToolButtonTextOnly);
        tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        tab->setObjectName(QStringLiteral("tab%1").arg(i + 1));
        group_.addButton(tab, i + 1);
        layout->addWidget(tab, i / perRow, i % perRow);
    }
    connect(&group_, &QButtonGroup::idClicked, this, &TabStrip::tabSelected);
}

void TabStrip::selectTab(int tab) {
    if (auto* button = group_.button(tab)) {
        button->setChecked(true);
        emit tabSelected(tab);
    }
}

} // namespace qb
