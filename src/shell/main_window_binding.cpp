// Between frmMain's widgets and the editor state: the window shows what the core put
// into the state, and hands the widgets' values back before the core stores them.
#include "codecs/flags.h"
#include "codecs/ratings.h"
#include "shell/editors.h"
#include "shell/main_window.h"

#include <QCheckBox>

namespace qb {
namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QCheckBox* MainWindow::flagCheckBox(const FlagBit& flag) const {
    const auto index = static_cast<std::size_t>(flag.index);
    return flag.control == FlagControl::Skills ? chkSkills.at(index) : chkBatting2.at(index);
}

RatingSlider* MainWindow::ratingWidget(RatingTab tab, int index) const {
    const auto i = static_cast<std::size_t>(index);
    return tab == RatingTab::Batting1  ? sldBatting1.at(i)
           : tab == RatingTab::Bowling ? sldBowling.at(i)
                                       : sldFielding.at(i);
}

void MainWindow::showSheet() {
    const PlayerSheet& s = editor_.state();
    showingState_ = true;
    // A stored name may fill all 16 name bytes: it is shown whole (typing stays at 15).
    const QString name = qText(s.name);
    txtName->setMaxLength(std::max(NAME_MAX_CHARS, static_cast<int>(name.size())));
    txtName->setText(name);
    cboNation->setCurrentIndex(s.nation);
    txtCommentary->setText(qText(s.commentary));
    cboCommentary->setCurrentIndex(s.commentaryEntry < cboCommentary->count() ? s.commentaryEntry
                                                                              : -1);
    cboBodyType->setCurrentIndex(s.bodyType);
    cboHairColour->setCurrentIndex(s.hairColour);
    cboHairStyle->setCurrentIndex(s.hairStyle);
    cboFacialHair->setCurrentIndex(s.facialHair);
    cboFace->setCurrentIndex(s.face);
    cboBat->setCurrentIndex(s.bat);
    cboBattingPosition->setCurrentIndex(s.battingPosition);
    cboBattingStyle->setCurrentIndex(s.battingStyle);
    cboBattingHand->setCurrentIndex(s.battingHand);
    cboBowlingStyle->setCurrentIndex(s.bowlingStyle);
    cboBowlingMentality->setCurrentIndex(s.bowlingMentality);
    cboFieldingPosition1->setCurrentIndex(s.fieldingPosition1);
    cboFieldingPosition2->setCurrentIndex(s.fieldingPosition2);
    cboFieldingHand->setCurrentIndex(s.fieldingHand);
    for (const RatingLocation& location : kRatingLocations) {
        ratingWidget(location.tab, location.index)
            ->setValue(ratingSlider(s, location.tab, location.index));
    }
    for (const FlagBit& flag : kFlagBits) {
        flagCheckBox(flag)->setChecked(flagBox(s, flag.control, flag.index) == 1);
    }
    static_cast<ThreeStateBox*>(chkSkills[kInjuryFreeIndex])->setState(s.skills[kInjuryFreeIndex]);
    showStatisticsBoxes();
    showingState_ = false;
}

void MainWindow::showStatisticsBoxes() {
    const PlayerSheet& s = editor_.state();
    cboStatisticsMode->setCurrentIndex(s.statisticsFormat);
    for (const StatisticsEditor& editor : statisticsEditors()) {
        const StatisticsBox& box = kStatisticsBoxes[static_cast<std::size_t>(editor.figure)];
        (this->*editor.edit)->setText(qText(s.*box.box));
    }
}

void MainWindow::readSheet() {
    PlayerSheet& s = editor_.state();
    s.name = txtName->text().toStdString();
    s.nation = cboNation->currentIndex();
    s.commentary = txtCommentary->text().toStdString();
    s.commentaryEntry = cboCommentary->currentIndex();
    s.bodyType = cboBodyType->currentIndex();
    s.hairColour = cboHairColour->currentIndex();
    s.hairStyle = cboHairStyle->currentIndex();
    s.facialHair = cboFacialHair->currentIndex();
    s.face = cboFace->currentIndex();
    s.bat = cboBat->currentIndex();
    s.battingPosition = cboBattingPosition->currentIndex();
    s.battingStyle = cboBattingStyle->currentIndex();
    s.battingHand = cboBattingHand->currentIndex();
    s.bowlingStyle = cboBowlingStyle->currentIndex();
    s.bowlingMentality = cboBowlingMentality->currentIndex();
    s.fieldingPosition1 = cboFieldingPosition1->currentIndex();
    s.fieldingPosition2 = cboFieldingPosition2->currentIndex();
    s.fieldingHand = cboFieldingHand->currentIndex();
    for (const RatingLocation& location : kRatingLocations) {
        ratingSlider(s, location.tab, location.index) =
            ratingWidget(location.tab, location.index)->value();
    }
    for (const FlagBit& flag : kFlagBits) {
        flagBox(s, flag.control, flag.index) = flagCheckBox(flag)->isChecked() ? 1 : 0;
    }
    s.skills[kInjuryFreeIndex] = static_cast<ThreeStateBox*>(chkSkills[kInjuryFreeIndex])->state();
    for (const StatisticsEditor& editor : statisticsEditors()) {
        const StatisticsBox& box = kStatisticsBoxes[static_cast<std::size_t>(editor.figure)];
        s.*box.box = (this->*editor.edit)->text().toStdString();
    }
}

void MainWindow::refreshRates() {
    PlayerSheet figures;
    figures.overs = txtOvers->text().toStdString();
    figures.wickets = txtWickets->text().toStdString();
    figures.bowlingRuns = txtBowlingRuns->text().toStdString();
    UpdateRates(figures);
    txtBowlingSR->setText(qText(figures.strikeRate));
    txtBowlingER->setText(qText(figures.economyRate));
}

} // namespace qb
