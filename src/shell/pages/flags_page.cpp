#include "shell/pages/flags_page.h"

#include "shell/field_editor.h"
#include "shell/pages/widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <algorithm>

namespace qb {

FlagsPage::FlagsPage(int tab, FlagControl control, QWidget* parent)
    : Page(tab, parent), control_(control) {}

FlagsPage* FlagsPage::batting2(int tab, QWidget* parent) {
    auto* page = new FlagsPage(tab, FlagControl::Shots, parent);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    auto* left = new QVBoxLayout();
    auto* right = new QVBoxLayout();
    // The frames in the order of the flag table: the first on the left, the rest under
    // "Favourite Shots" on the right.
    for (const FlagBit& flag : kFlagBits) {
        if (flag.control != FlagControl::Shots || page->frames_.contains(flag.frame)) {
            continue;
        }
        if (page->frames_.size() == 1) {
            right->addWidget(new QLabel(QStringLiteral("Favourite Shots"), page));
        }
        page->addFrame(flag.frame, page->frames_.empty() ? left : right);
    }
    left->addStretch();
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
    const bool skills = control_ == FlagControl::Skills;
    const QString prefix = skills ? QStringLiteral("chkSkills_") : QStringLiteral("chkBatting2_");
    for (const Field* flag : fieldsOf(skills ? FieldGroup::Skills : FieldGroup::Shots)) {
        // Injury Free, the one box of three states, is the skill without a bit of its own.
        const auto bit = std::ranges::find(kFlagBits, flag->key, flagKey);
        const bool single = bit != kFlagBits.end();
        const QString name = prefix + QString::number(single ? bit->index : kInjuryFreeIndex);
        QWidget* box = named(createFieldEditor(*flag, EditorPlace::Page, this), name);
        frames_[single ? bit->frame : kInjuryFreeFrame]->addWidget(box);
        bind(*flag, box);
    }
}

} // namespace qb
