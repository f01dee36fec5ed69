#include "cli/player_object.h"

#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "codecs/statistics.h"

#include <array>

namespace qb::cli {
DecodedPlayer decodeStates(const Record& record, bool statistics) {
    DecodedPlayer decoded{unshownState(), {}, {}};
    decoded.shown.name = recordName(record.data());
    for (const ShowStep& step : kShowSequence) {
        if (step.name == "statistics") {
            continue; // shown below for every format
        }
        try {
            step.run(record, record, decoded.shown, kCommentaryNameCount);
        } catch (const ShowError& error) {
            decoded.failures.push_back({error.field(), error.description()});
        }
    }
    for (int format = 0; statistics && format < kStatisticsFormatCount; ++format) {
        PlayerSheet& state = decoded.formats[static_cast<std::size_t>(format)];
        state.statisticsFormat = format;
        try {
            ShowStatistics(state, record);
        } catch (const ShowError& error) {
            decoded.failures.push_back({error.field(), error.description()});
        }
    }
    return decoded;
}

const PlayerSheet& shownState(const DecodedPlayer& decoded, const PlayerField& field) {
    return field.format < 0 ? decoded.shown
                            : decoded.formats[static_cast<std::size_t>(field.format)];
}

Json playerValue(const Record& record, int slot, const DecodedPlayer& decoded,
                 const PlayerField& field) {
    if (field.key == "slot") {
        return slot;
    }
    if (field.key == "id") {
        return read16(record.data(), OFFSET_ID);
    }
    if (field.key == "errors") {
        Json errors = Json::array();
        for (const FieldFailure& failure : decoded.failures) {
            errors.push_back(Json{{"field", failure.field}, {"message", failure.message}});
        }
        return errors;
    }
    return field.get ? field.get(shownState(decoded, field)) : Json();
}

Json decodePlayer(const Record& record, int slot) {
    const DecodedPlayer decoded = decodeStates(record);
    Json object = Json::object();
    for (const PlayerField& field : playerFields()) {
        setDotted(object, field.key, playerValue(record, slot, decoded, field));
    }
    return object;
}

std::string valueText(const Json& value) {
    if (value.is_null()) {
        return "";
    }
    return value.is_string() ? value.get<std::string>() : value.dump();
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

} // namespace qb::cli
