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

void MainWindow::showEditorState() {
    const EditorState& s = editor_.state();
    showingState_ = true;
    // A stored name may fill all 16 name bytes: it is shown whole (typing stays at 15).
    const QString name = qText(s.txtName);
    txtName->setMaxLength(std::max(NAME_MAX_CHARS, static_cast<int>(name.size())));
    txtName->setText(name);
    cboNation->setCurrentIndex(s.cboNation);
    txtCommentary->setText(qText(s.txtCommentary));
    cboCommentary->setCurrentIndex(s.cboCommentary < cboCommentary->count() ? s.cboCommentary : -1);
    cboBodyType->setCurrentIndex(s.cboBodyType);
    cboHairColour->setCurrentIndex(s.cboHairColour);
    cboHairStyle->setCurrentIndex(s.cboHairStyle);
    cboFacialHair->setCurrentIndex(s.cboFacialHair);
    cboFace->setCurrentIndex(s.cboFace);
    cboBat->setCurrentIndex(s.cboBat);
    cboBattingPosition->setCurrentIndex(s.cboBattingPosition);
    cboBattingStyle->setCurrentIndex(s.cboBattingStyle);
    cboBattingHand->setCurrentIndex(s.cboBattingHand);
    cboBowlingStyle->setCurrentIndex(s.cboBowlingStyle);
    cboBowlingMentality->setCurrentIndex(s.cboBowlingMentality);
    cboFieldingPosition1->setCurrentIndex(s.cboFieldingPosition1);
    cboFieldingPosition2->setCurrentIndex(s.cboFieldingPosition2);
    cboFieldingHand->setCurrentIndex(s.cboFieldingHand);
    for (const RatingLocation& location : kRatingLocations) {
        ratingWidget(location.tab, location.index)
            ->setValue(ratingSlider(s, location.tab, location.index));
    }
    for (const FlagBit& flag : kFlagBits) {
        flagCheckBox(flag)->setChecked(flagBox(s, flag.control, flag.index) == 1);
    }
    static_cast<ThreeStateBox*>(chkSkills[kInjuryFreeIndex])
        ->setState(s.chkSkills[kInjuryFreeIndex]);
    showStatisticsBoxes();
    showingState_ = false;
}

void MainWindow::showStatisticsBoxes() {
    const EditorState& s = editor_.state();
    cboStatisticsMode->setCurrentIndex(s.cboStatisticsMode);
    for (const StatisticsEditor& editor : statisticsEditors()) {
        const StatisticsBox& box = kStatisticsBoxes[static_cast<std::size_t>(editor.figure)];
        (this->*editor.edit)->setText(qText(s.*box.box));
    }
}

void MainWindow::readEditorState() {
    EditorState& s = editor_.state();
    s.txtName = txtName->text().toStdString();
    s.cboNation = cboNation->currentIndex();
    s.txtCommentary = txtCommentary->text().toStdString();
    s.cboCommentary = cboCommentary->currentIndex();
    s.cboBodyType = cboBodyType->currentIndex();
    s.cboHairColour = cboHairColour->currentIndex();
    s.cboHairStyle = cboHairStyle->currentIndex();
    s.cboFacialHair = cboFacialHair->currentIndex();
    s.cboFace = cboFace->currentIndex();
    s.cboBat = cboBat->currentIndex();
    s.cboBattingPosition = cboBattingPosition->currentIndex();
    s.cboBattingStyle = cboBattingStyle->currentIndex();
    s.cboBattingHand = cboBattingHand->currentIndex();
    s.cboBowlingStyle = cboBowlingStyle->currentIndex();
    s.cboBowlingMentality = cboBowlingMentality->currentIndex();
    s.cboFieldingPosition1 = cboFieldingPosition1->currentIndex();
    s.cboFieldingPosition2 = cboFieldingPosition2->currentIndex();
    s.cboFieldingHand = cboFieldingHand->currentIndex();
    for (const RatingLocation& location : kRatingLocations) {
        ratingSlider(s, location.tab, location.index) =
            ratingWidget(location.tab, location.index)->value();
    }
    for (const FlagBit& flag : kFlagBits) {
        flagBox(s, flag.control, flag.index) = flagCheckBox(flag)->isChecked() ? 1 : 0;
    }
    s.chkSkills[kInjuryFreeIndex] =
        static_cast<ThreeStateBox*>(chkSkills[kInjuryFreeIndex])->state();
    for (const StatisticsEditor& editor : statisticsEditors()) {
        const StatisticsBox& box = kStatisticsBoxes[static_cast<std::size_t>(editor.figure)];
        s.*box.box = (this->*editor.edit)->text().toStdString();
    }
}

void MainWindow::refreshRates() {
    EditorState figures;
    figures.txtOvers = txtOvers->text().toStdString();
    figures.txtWickets = txtWickets->text().toStdString();
    figures.txtBowlingRuns = txtBowlingRuns->text().toStdString();
    UpdateRates(figures);
    txtBowlingSR->setText(qText(figures.txtBowlingSR));
    txtBowlingER->setText(qText(figures.txtBowlingER));
}

} // namespace qb
