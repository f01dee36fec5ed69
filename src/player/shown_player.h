#pragma once

#include "player/field_registry.h"
#include "roster/layout.h"

#include <array>
#include <string>
#include <vector>

namespace qb {

// A field the window cannot show: its key, why, and the value the record holds, as a
// user reads it ("30", "2 bits").
struct FieldFailure {
    std::string field;
    std::string message;
    std::string value;
};

// What the window shows of a record, each show step run on its own from a sheet that
// shows nothing: one field the window cannot show does not hide the others, and the
// statistics are shown for every format. The failures name each step that could not
// show its field. Never changes the record.
struct ShownPlayer {
    PlayerSheet shown;
    std::array<PlayerSheet, kStatisticsFormatCount> formats;
    std::vector<FieldFailure> failures;

    // The sheet that shows `field`: its format's for a statistics figure.
    const PlayerSheet& sheetFor(const Field& field) const;
    FieldValue value(const Field& field) const { return field.get(sheetFor(field)); }
};

// Without `statistics`, the formats' sheets are left unshown (and their failures
// unreported), for callers that read no statistics figure.
ShownPlayer showEveryField(const Record& record, bool statistics = true);

} // namespace qb
