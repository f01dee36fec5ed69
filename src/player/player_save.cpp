#include "player/player_save.h"

#include "codecs/codec_errors.h"

namespace qb {

PlayerSaved savePlayer(PlayerEditor& editor, const RosterFile& roster,
                       const SafetyOptions& safety) {
    editor.store(roster);
    const int slot = *editor.slot();
    SaveReport report = writeSlotSafely(roster, slot, editor.loaded(), editor.working(), safety);
    editor.load(roster, slot, roster.readSlot(slot));
    return {std::move(report.written.front()), std::move(report.notices)};
}

std::string saveFailureReport(const QuillbayError& error) {
    // A value that cannot be stored has nothing to do with other programs.
    const bool ofAField = dynamic_cast<const FieldError*>(&error) != nullptr;
    return "Unable to save because of\n" + error.description() +
           (ofAField ? "" : "\n\nMake sure that the file is not opened by other programs");
}

} // namespace qb
