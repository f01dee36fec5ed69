#pragma once

#include <array>
#include <string>

namespace qb {

// One member per editor control of a player's page, named after the control.
// Lists hold an entry index (-1 = no selection), sliders 0-63, check boxes their
// state 0 (clear), 1 (ticked) or 2 (greyed), text boxes their text (UTF-8).
// Show steps fill it from a record; store steps write a record from it.
struct EditorState {
    // Identity and appearance
    std::string txtName;
    int cboNation = -1;
    std::string txtCommentary;
    int cboCommentary = -1;
    int cboFace = -1;
    int cboBodyType = -1;
    int cboHairColour = -1;
    int cboHairStyle = -1;
    int cboFacialHair = -1;
    int cboBat = -1;

    // Roles
    int cboBattingPosition = -1;
    int cboBattingStyle = -1;
    int cboBattingHand = -1;
    int cboBowlingStyle = -1;
    int cboBowlingMentality = -1;
    int cboFieldingPosition1 = -1;
    int cboFieldingPosition2 = -1;
    int cboFieldingHand = -1;

    // Ratings
    std::array<int, 13> sldBatting1{};
    std::array<int, 14> sldBowling{};
    std::array<int, 9> sldFielding{};

    // Flags; index 0 is unused so that the index is the check box's own (1-17, 1-21).
    std::array<int, 18> chkSkills{};
    std::array<int, 22> chkBatting2{};

    // Statistics of the format selected in cboStatisticsMode
    int cboStatisticsMode = 0;
    std::string txtInnings;
    std::string txtNotOuts;
    std::string txtBattingRuns;
    std::string txtHigestScore;
    std::string txtBattingAverage;
    std::string txt100s;
    std::string txt50s;
    std::string txtOvers;
    std::string txtBowlingRuns;
    std::string txtWickets;
    std::string txtBowlingAverage;
    std::string txtBowlingSR;
    std::string txtBowlingER;
    std::string txtBestBowling;
    std::string txtBestBowlingWickets;

    bool operator==(const EditorState&) const = default;
};

} // namespace qb
