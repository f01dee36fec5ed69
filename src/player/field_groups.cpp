#include "player/field_groups.h"

#include "system/quoted_text.h"
#include "system/trimmed.h"

#include <algorithm>
#include <array>

namespace qb {
namespace {

constexpr std::array<std::string_view, 7> kGroupNames = {
    "identity", "appearance", "roles", "ratings", "skills", "shots", "statistics"};

std::string groupName(FieldGroup group) {
    return std::string(kGroupNames[static_cast<std::size_t>(group)]);
}

// "statistics.Test" for a figure of Test: the key up to the figure's name.
std::string formatName(const Field& field) {
    return field.key.substr(0, field.key.rfind('.'));
}

// A group list may be spaced with spaces or tabs around its commas.
constexpr std::string_view kListBlanks = " \t";

} // namespace

bool FieldSelection::contains(const Field& field) const {
    return names.empty() || names.contains(groupName(field.group)) ||
           (field.format >= 0 && names.contains(formatName(field)));
}

std::vector<std::string> fieldSelectionNames() {
    std::vector<std::string> names;
    for (const std::string_view group : kGroupNames) {
        names.emplace_back(group);
    }
    for (const Field& field : fieldRegistry()) {
        if (field.format >= 0 && std::ranges::find(names, formatName(field)) == names.end()) {
            names.push_back(formatName(field));
        }
    }
    return names;
}

FieldSelection parseFieldSelection(std::string_view commaSeparated, bool emptyIsAll) {
    FieldSelection selection;
    if (emptyIsAll && trimmed(commaSeparated, kListBlanks).empty()) {
        return selection;
    }
    const std::vector<std::string> known = fieldSelectionNames();
    std::size_t start = 0;
    while (start <= commaSeparated.size()) {
        const std::size_t comma = std::min(commaSeparated.find(',', start), commaSeparated.size());
        const std::string name(trimmed(commaSeparated.substr(start, comma - start), kListBlanks));
        if (std::ranges::find(known, name) == known.end()) {
            std::string expected;
            for (const std::string& entry : known) {
                expected += (expected.empty() ? "" : ", ") + entry;
            }
            throw FieldSelectionError((name.empty() ? std::string("an empty field group name")
                                                    : "unknown field group " + quotedText(name)) +
                                      "; the groups are " + expected);
        }
        selection.names.insert(name);
        start = comma + 1;
    }
    return selection;
}

} // namespace qb
