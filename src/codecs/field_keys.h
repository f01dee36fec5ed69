#pragma once

// The keys of the fields whose key is not made from a table (ratings, flags and
// statistics take theirs from their tables). The store, show and repair steps name the
// field they fail on or change by its key; the field registry describes each one.
namespace qb::keys {

inline constexpr char kName[] = "name";
inline constexpr char kNation[] = "nation";
inline constexpr char kCommentary[] = "commentary";
inline constexpr char kFace[] = "appearance.face";
inline constexpr char kBodyType[] = "appearance.bodyType";
inline constexpr char kHairColour[] = "appearance.hairColour";
inline constexpr char kHairStyle[] = "appearance.hairStyle";
inline constexpr char kFacialHair[] = "appearance.facialHair";
inline constexpr char kBat[] = "appearance.bat";
inline constexpr char kBattingPosition[] = "roles.battingPosition";
inline constexpr char kBattingStyle[] = "roles.battingStyle";
inline constexpr char kBattingHand[] = "roles.battingHand";
inline constexpr char kBowlingStyle[] = "roles.bowlingStyle";
inline constexpr char kBowlingMentality[] = "roles.bowlingMentality";
inline constexpr char kFieldingPosition1[] = "roles.fieldingPosition1";
inline constexpr char kFieldingPosition2[] = "roles.fieldingPosition2";
inline constexpr char kFieldingHand[] = "roles.fieldingHand";

} // namespace qb::keys
