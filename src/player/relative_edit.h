#pragma once

#include "player/field_registry.h"

#include <optional>
#include <string>

namespace qb {

// The value a relative edit (`+= N`, `-= N`) puts into a ranged field: the value the
// field shows, rounded to a whole number, moved by `step` and clamped to the field's
// range (a rating raised by 10 from 60 becomes 63). Nothing when the field shows no
// number to move (an empty statistics box, a field the editor cannot show).
std::optional<std::string> steppedValue(const Field& field, const FieldValue& shown, int step);

} // namespace qb
