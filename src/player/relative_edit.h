#pragma once

#include "player/field_registry.h"

#include <optional>
#include <string>
#include <string_view>

namespace qb {

// The N of a relative edit (`+= N`, `-= N`): a whole number of zero or more written in
// digits, for a field that holds a number in a range (Field::ranged). Nothing for any
// other text or field.
std::optional<int> relativeStep(const Field& field, std::string_view text);

// A relative edit typed where a value goes ("+=5", "-=3" in a grid cell): its step,
// negative for "-=", checked by relativeStep. Nothing when `text` is no relative edit
// (see isRelativeText) or its N is refused.
bool isRelativeText(std::string_view text);
std::optional<int> typedStep(const Field& field, std::string_view text);

// The value a relative edit puts into a ranged field: the value the field shows,
// rounded to a whole number, moved by `step` and clamped to the field's range (a
// rating raised by 10 from 60 becomes 63). When the field shows no number to
// move (an empty statistics box, a field the editor cannot show) it fails naming the
// field; the bulk set of the batch tool and of the grid both say so in these words.
std::string steppedValue(const Field& field, const FieldValue& shown, int step);

} // namespace qb
