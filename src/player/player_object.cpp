#include "player/player_object.h"

#include "codecs/field_keys.h"
#include "player/commentary_names.h"

#include <algorithm>
#include <array>
#include <type_traits>

namespace qb {
namespace {

std::vector<ObjectKey> makeObjectKeys() {
    std::vector<ObjectKey> keys = {{"slot"}, {"id"}};
    for (const Field& field : fieldRegistry()) {
        keys.push_back({field.key, &field});
        if (field.key == keys::kCommentary) {
            keys.push_back({"commentaryName"});
        }
    }
    keys.push_back({"errors"});
    return keys;
}

} // namespace

const std::vector<ObjectKey>& objectKeys() {
    static const std::vector<ObjectKey> keys = makeObjectKeys();
    return keys;
}

const ObjectKey* findObjectKey(std::string_view key) {
    const auto& keys = objectKeys();
    const auto found = std::ranges::find(keys, key, &ObjectKey::key);
    return found == keys.end() ? nullptr : &*found;
}

Json toJson(const FieldValue& value) {
    return std::visit(
        [](const auto& held) -> Json {
            if constexpr (std::is_same_v<std::decay_t<decltype(held)>, std::monostate>) {
                return nullptr;
            } else {
                return held;
            }
        },
        value);
}

Json playerValue(const Record& record, int slot, const ShownPlayer& shown, const ObjectKey& key) {
    if (key.key == "slot") {
        return slot;
    }
    if (key.key == "id") {
        return read16(record.data(), OFFSET_ID);
    }
    if (key.key == "commentaryName") {
        // The name the window shows beside the number, from the list that ships with
        // the program; nothing for a number without one.
        const int entry = shown.shown.commentaryEntry;
        const auto& names = builtInCommentaryNames();
        return entry >= 0 && entry < static_cast<int>(names.size())
                   ? Json(names[static_cast<std::size_t>(entry)] + ".ogg")
                   : Json();
    }
    if (key.key == "errors") {
        Json errors = Json::array();
        for (const FieldFailure& failure : shown.failures) {
            errors.push_back(Json{{"field", failure.field}, {"message", failure.message}});
        }
        return errors;
    }
    return key.field != nullptr ? toJson(shown.value(*key.field)) : Json();
}

Json decodePlayer(const Record& record, int slot) {
    const ShownPlayer shown = showEveryField(record);
    Json object = Json::object();
    for (const ObjectKey& key : objectKeys()) {
        setDotted(object, key.key, playerValue(record, slot, shown, key));
    }
    return object;
}

std::string valueText(const Json& value) {
    if (value.is_null()) {
        return "";
    }
    return value.is_string() ? value.get<std::string>() : value.dump();
}

std::string csvText(const Json& value) {
    return value.is_boolean() ? (value.get<bool>() ? "1" : "0") : valueText(value);
}

void setDotted(Json& object, const std::string& key, Json value) {
    Json* node = &object;
    std::size_t start = 0;
    for (std::size_t dot = key.find('.'); dot != std::string::npos; dot = key.find('.', start)) {
        node = &(*node)[key.substr(start, dot - start)];
        start = dot + 1;
    }
    (*node)[key.substr(start)] = std::move(value);
}

const Json& getDotted(const Json& object, const std::string& key) {
    static const Json null;
    const Json* node = &object;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = key.find('.', start);
        const std::string part =
            key.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!node->is_object() || !node->contains(part)) {
            return null;
        }
        node = &(*node)[part];
        if (dot == std::string::npos) {
            return *node;
        }
        start = dot + 1;
    }
}

} // namespace qb
