#pragma once

#include <array>
#include <string>

namespace qb {

// Everything the editor shows of one player, as its editors hold it: lists an entry
// index (-1 = no selection), ratings 0-63, check boxes their state 0 (clear), 1 (ticked)
// or 2 (greyed), text boxes their text (UTF-8; an empty statistics box keeps the stored
// figure). Show steps fill it from a record; store steps write a record from it.
struct PlayerSheet {
    // Identity and appearance
    std::string name;
    int nation = -1;
    std::string commentary;
    int commentaryEntry = -1;
    int face = -1;
    int bodyType = -1;
    int hairColour = -1;
    int hairStyle = -1;
    int facialHair = -1;
    int bat = -1;

    // Roles
    int battingPosition = -1;
    int battingStyle = -1;
    int battingHand = -1;
    int bowlingStyle = -1;
    int bowlingMentality = -1;
    int fieldingPosition1 = -1;
    int fieldingPosition2 = -1;
    int fieldingHand = -1;

    // Ratings
    std::array<int, 13> battingRatings{};
    std::array<int, 14> bowlingRatings{};
    std::array<int, 9> fieldingRatings{};

    // Flags; index 0 is unused so that the index is the check box's own (1-17, 1-21):
    // the skills, and the batting weaknesses and favourite shots.
    std::array<int, 18> skills{};
    std::array<int, 22> shots{};

    // Statistics of the format on screen
    int statisticsFormat = 0;
    std::string innings;
    std::string notOuts;
    std::string battingRuns;
    std::string highestScore;
    std::string battingAverage;
    std::string hundreds;
    std::string fifties;
    std::string overs;
    std::string bowlingRuns;
    std::string wickets;
    std::string bowlingAverage;
    std::string strikeRate;
    std::string economyRate;
    std::string bestBowlingRuns;
    std::string bestBowlingWickets;

    bool operator==(const PlayerSheet&) const = default;
};

} // namespace qb
