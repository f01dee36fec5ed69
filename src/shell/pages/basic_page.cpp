#include "shell/pages/basic_page.h"

#include "codecs/tables.h"
#include "shell/pages/widgets.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>
#include <span>

namespace qb {
namespace {

struct Role {
    const char* name;
    const char* caption;
    std::span<const std::string_view> entries;
    int PlayerSheet::*cell;
};

} // namespace

BasicPage::BasicPage(int tab, QWidget* parent) : Page(tab, parent) {
    auto* layout = new QVBoxLayout(this);
    const auto frame = [&](const QString& title, std::initializer_list<Role> roles) {
        auto* box = new QGroupBox(title, this);
        auto* form = new QFormLayout(box);
        for (const Role& role : roles) {
            QComboBox* list = choiceList(box, QString::fromLatin1(role.name));
            form->addRow(caption(box, QString::fromLatin1(role.caption), list), list);
            for (const std::string_view entry : role.entries) {
                list->addItem(qView(entry));
            }
            list->setCurrentIndex(-1);
            bind(list, [cell = role.cell](PlayerSheet& s) { return &(s.*cell); });
        }
        layout->addWidget(box);
    };
    frame(QStringLiteral("Batting"),
          {{"cboBattingPosition", "Positio&n", kBattingPositions, &PlayerSheet::battingPosition},
           {"cboBattingStyle", "St&yle", kBattingStyles, &PlayerSheet::battingStyle},
           {"cboBattingHand", "&Handed", kHands, &PlayerSheet::battingHand}});
    frame(QStringLiteral("Bowling"),
          {{"cboBowlingStyle", "Sty&le", kBowlingStyles, &PlayerSheet::bowlingStyle},
           {"cboBowlingMentality", "Mentalit&y", kBowlingMentalities,
            &PlayerSheet::bowlingMentality}});
    frame(QStringLiteral("Fielding"),
          {{"cboFieldingPosition1", "Position &1", kFieldingPositions1,
            &PlayerSheet::fieldingPosition1},
           {"cboFieldingPosition2", "Position &2", kFieldingPositions2,
            &PlayerSheet::fieldingPosition2},
           {"cboFieldingHand", "Han&ded", kHands, &PlayerSheet::fieldingHand}});
    layout->addStretch();
}

} // namespace qb
