#pragma once

#include <string>
#include <vector>

namespace qb {

// One field of a record that its editor could not show, set to a value it can show.
// `before` and `after` are the values as a user reads them ("2 bits", "AUS", "70", "63").
struct FieldRepair {
    std::string field;
    std::string before;
    std::string after;
};

using FieldRepairs = std::vector<FieldRepair>;

} // namespace qb
