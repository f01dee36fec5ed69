// libFuzzer target: any text as a CSV or JSON edits file, as a slot number and as the
// value of one key (the first byte picks the key). Each is read or refused with a
// message; nothing else may happen. An accepted slot is the decimal number written,
// and an accepted value reads back from the sheet it was put into.
#include "cli/cli_errors.h"
#include "cli/edits.h"
#include "player/edits_file.h"
#include "player/field_registry.h"
#include "system/errors.h"

#include <cstdlib>
#include <string>

namespace {

void feedSlotParser(const std::string& text) {
    const std::optional<int> slot = qb::wholeNumber(text, 0, qb::SLOT_COUNT - 1);
    const auto digits = text.find_first_not_of('0');
    const std::string significant = digits == std::string::npos ? "0" : text.substr(digits);
    if (slot && std::to_string(*slot) != significant) {
        std::abort(); // read as anything but the decimal number written
    }
}

void feedValueParser(const qb::Field& field, const std::string& value) {
    try {
        qb::cli::checkedEdit(field.key, value, "");
    } catch (const qb::cli::UsageError&) {
        return;
    }
    qb::PlayerSheet sheet = qb::unshownSheet();
    field.set(sheet, value);
    (void)field.get(sheet);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const bool csv : {true, false}) {
        try {
            const qb::EditsFile edits = qb::readEditsFile(text, csv ? "fuzz.csv" : "fuzz.json");
            (void)edits;
        } catch (const qb::QuillbayError&) {
        }
    }
    feedSlotParser(text);
    if (size > 0) {
        const auto& fields = qb::fieldRegistry();
        const qb::Field& field = fields[data[0] % fields.size()];
        if (!field.readOnly()) {
            feedValueParser(field, text.substr(1));
        }
    }
    return 0;
}
