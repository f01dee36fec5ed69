#include "player/relative_edit.h"

#include "system/errors.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qb {

std::optional<int> relativeStep(const Field& field, std::string_view text) {
    int step = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), step);
    if (!field.ranged() || error != std::errc() || end != text.data() + text.size() || step < 0) {
        return std::nullopt;
    }
    return step;
}

bool isRelativeText(std::string_view text) {
    return text.starts_with("+=") || text.starts_with("-=");
}

std::optional<int> typedStep(const Field& field, std::string_view text) {
    if (!isRelativeText(text)) {
        return std::nullopt;
    }
    std::string_view number = text.substr(2);
    while (number.starts_with(' ')) {
        number.remove_prefix(1); // "+= 5" as the bulk dialog shows it
    }
    const std::optional<int> step = relativeStep(field, number);
    if (!step) {
        return std::nullopt;
    }
    return text.front() == '-' ? -*step : *step;
}

std::string steppedValue(const Field& field, const FieldValue& shown, int step) {
    long long current = 0;
    if (const auto* whole = std::get_if<long long>(&shown)) {
        current = *whole;
    } else if (const auto* figure = std::get_if<double>(&shown)) {
        current = std::llround(*figure);
    } else {
        throw QuillbayError(field.key +
                            " has no value the editor shows, so it cannot be raised or lowered");
    }
    return std::to_string(std::clamp<long long>(current + step, field.low, field.high));
}

} // namespace qb
