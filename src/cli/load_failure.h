#pragma once

#include "codecs/codec_errors.h"
#include "codecs/field_repair.h"
#include "roster/layout.h"

#include <optional>
#include <string>

namespace qb::cli {

// What `repair` would do to one field of a record: the value stored, as a user reads it
// ("40", "2 bits"), and the value it sets. None when repair leaves the field alone.
std::optional<FieldRepair> repairOfField(const Record& record, const std::string& field);

// Why slot `slot` of `path`, holding `record`, cannot be loaded: the field, the window's
// text, the value stored and the repair command that fixes it, e.g.
//   r.pak: slot 1: appearance.face: Invalid property value: the file holds 40, which the
//   editor cannot show; quillbay-cli repair r.pak 1 sets it to 24
std::string loadFailure(const std::string& path, int slot, const Record& record,
                        const ShowError& error);

} // namespace qb::cli
