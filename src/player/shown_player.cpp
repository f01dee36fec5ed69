#include "player/shown_player.h"

#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"

namespace qb {

const PlayerSheet& ShownPlayer::sheetFor(const Field& field) const {
    return field.format < 0 ? shown : formats[static_cast<std::size_t>(field.format)];
}

ShownPlayer showEveryField(const Record& record, bool statistics) {
    ShownPlayer player{unshownSheet(), {}, {}};
    player.shown.name = recordName(record.data());
    for (const ShowStep& step : kShowSequence) {
        if (step.name == "statistics") {
            continue; // shown below for every format
        }
        try {
            step.run(record, record, player.shown, kCommentaryNameCount);
        } catch (const ShowError& error) {
            player.failures.push_back({error.field(), error.description()});
        }
    }
    for (int format = 0; statistics && format < kStatisticsFormatCount; ++format) {
        PlayerSheet& sheet = player.formats[static_cast<std::size_t>(format)];
        sheet.statisticsFormat = format;
        try {
            showStatistics(sheet, record);
        } catch (const ShowError& error) {
            player.failures.push_back({error.field(), error.description()});
        }
    }
    if (!player.failures.empty()) {
        // The value each failure is about, as the repair of that field reads it.
        Record repaired = record;
        for (const FieldRepair& repair : repairRecord(repaired, kCommentaryNameCount)) {
            for (FieldFailure& failure : player.failures) {
                if (failure.field == repair.field) {
                    failure.value = repair.before;
                }
            }
        }
    }
    return player;
}

} // namespace qb
