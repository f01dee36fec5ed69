#include "shell/pages/flags_page.h"

#include "codecs/flags.h"
#include "shell/editors.h"
#include "shell/pages/widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>

namespace qb {

FlagsPage::FlagsPage(int tab, FlagControl control, QWidget* parent)
    : Page(tab, parent), control_(control) {}

FlagsPage* FlagsPage::batting2(int tab, QWidget* parent) {
    auto* page = new FlagsPage(tab, FlagControl::Batting2, parent);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    auto* left = new QVBoxLayout();
    auto* right = new QVBoxLayout();
    page->addFrame("Batting Weaknesses", left);
    left->addStretch();
    right->addWidget(new QLabel(QStringLiteral("Favourite Shots"), page));
    page->addFrame("Front Foot", right);
    page->addFrame("Back Foot", right);
    right->addStretch();
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
    page->addFlags();
    return page;
}

FlagsPage* FlagsPage::skills(int tab, QWidget* parent) {
    auto* page = new FlagsPage(tab, FlagControl::Skills, parent);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    const std::array<QVBoxLayout*, 2> columns = {new QVBoxLayout(), new QVBoxLayout()};
    page->addFrame("Batting", columns[0]);
    page->addFrame("Bowling", columns[1]);
    page->addFrame("Fielding", columns[1]);
    page->addFrame("General", columns[0]);
    for (QVBoxLayout* column : columns) {
        column->addStretch();
        layout->addLayout(column, 1);
    }
    page->addFlags();
    return page;
}

void FlagsPage::addFrame(std::string_view title, QBoxLayout* column) {
    const QString prefix = control_ == FlagControl::Skills ? QStringLiteral("fraSkills_")
                                                           : QStringLiteral("fraBatting2_");
    auto* box = named(new QGroupBox(qView(title), this), prefix + QString::number(frames_.size()));
    frames_[title] = compactColumn(box);
    column->addWidget(box);
}

void FlagsPage::addFlags() {
    const QString prefix = control_ == FlagControl::Skills ? QStringLiteral("chkSkills_")
                                                           : QStringLiteral("chkBatting2_");
    const FlagControl control = control_;
    for (const FlagBit& flag : kFlagBits) {
        if (flag.control == control) {
            auto* box = named(new QCheckBox(qView(flag.caption), this),
                              prefix + QString::number(flag.index));
            frames_[flag.frame]->addWidget(box);
            bind(box, [control, index = flag.index](PlayerSheet& s) {
                return &flagBox(s, control, index);
            });
        }
    }
    if (control == FlagControl::Skills) {
        auto* injuryFree = named(new ThreeStateBox(qView(kInjuryFreeCaption), this),
                                 prefix + QString::number(kInjuryFreeIndex));
        frames_[kInjuryFreeFrame]->addWidget(injuryFree);
        bind(injuryFree, [](PlayerSheet& s) { return &s.skills[kInjuryFreeIndex]; });
    }
}

} // namespace qb
