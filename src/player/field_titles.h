#pragma once

#include "player/field_registry.h"

#include <string>

namespace qb {

// The titles a field's column has in the grid and in a workbook, made from its key's
// parts: the last part in words ("Accuracy", "Best Bowling Runs"), qualified by the tab,
// format or foot in the middle of a key of three parts ("Bowling: Accuracy", "Test:
// Innings", "Front Foot: Cover Drive"), and grouped by the first part, ratings and
// statistics by their tab or format too ("Ratings: Bowling", "Statistics: Test"); the
// name, nation and commentary number, whose keys have no group part, are the identity.
std::string titleOf(const Field& field);
std::string qualifiedTitleOf(const Field& field);
std::string groupTitleOf(const Field& field);

} // namespace qb
