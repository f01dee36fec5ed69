#pragma once

#include "player/field_registry.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// A group name that no field has ("--only batting").
class FieldSelectionError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

// Fields chosen by group: identity (name, nation, commentary), appearance, roles,
// ratings, skills, shots (batting weaknesses and favourite shots), statistics (all
// four formats) or statistics.<format> ("statistics.First Class"). No name chooses
// every field.
struct FieldSelection {
    std::set<std::string> names;

    bool contains(const Field& field) const;
};

// "ratings,statistics.Test": names separated by commas, blanks around them ignored.
// An unknown or empty name throws FieldSelectionError listing the names there are; an
// empty (or blank) text chooses every field when `emptyIsAll`, else it is an empty name.
FieldSelection parseFieldSelection(std::string_view commaSeparated, bool emptyIsAll = true);

// Every name a selection takes, in registry order: the groups, then each format's
// statistics.
std::vector<std::string> fieldSelectionNames();

} // namespace qb
