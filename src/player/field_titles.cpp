#include "player/field_titles.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace qb {
namespace {

// Part `part` of the key's dotted parts; -1 is the last.
std::string keyPart(const Field& field, int part) {
    std::vector<std::string> parts(1);
    for (const char ch : field.key) {
        if (ch == '.') {
            parts.emplace_back();
        } else {
            parts.back() += ch;
        }
    }
    const auto index = part < 0 ? parts.size() - 1 : static_cast<std::size_t>(part);
    return index < parts.size() ? parts[index] : std::string();
}

// "favouriteShots" is "Favourite Shots", "frontFoot" is "Front Foot".
std::string words(const std::string& name) {
    std::string text;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto ch = static_cast<unsigned char>(name[i]);
        if (i > 0 && std::isupper(ch) && std::islower(static_cast<unsigned char>(name[i - 1]))) {
            text += ' ';
        }
        text += i == 0 ? static_cast<char>(std::toupper(ch)) : name[i];
    }
    return text;
}

std::size_t partCount(const Field& field) {
    return static_cast<std::size_t>(std::count(field.key.begin(), field.key.end(), '.')) + 1;
}

} // namespace

std::string titleOf(const Field& field) {
    return words(keyPart(field, -1));
}

std::string qualifiedTitleOf(const Field& field) {
    return partCount(field) == 3 ? words(keyPart(field, 1)) + ": " + titleOf(field)
                                 : titleOf(field);
}

std::string groupTitleOf(const Field& field) {
    if (field.group == FieldGroup::Identity) {
        return "Identity";
    }
    const std::string group = words(keyPart(field, 0));
    if (field.group == FieldGroup::Ratings || field.group == FieldGroup::Statistics) {
        return group + ": " + words(keyPart(field, 1));
    }
    return group;
}

} // namespace qb
