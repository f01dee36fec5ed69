#include "cli/commands.h"
#include "cli/edits.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "player/player_object.h"
#include "player/roster_document.h"
#include "roster/errors.h"
#include "roster/player_lists.h"

#include <iostream>

namespace qb::cli {
namespace {

// Every named slot that the editor cannot load.
std::vector<int> slotsThatFail(const SlotTable& table) {
    std::vector<int> slots;
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (!isEmptySlot(table.record(slot)) &&
            !showEveryField(table.copyRecord(slot)).failures.empty()) {
            slots.push_back(slot);
        }
    }
    return slots;
}

} // namespace

int runRepair(const std::string& file, const std::vector<int>& slots, bool dryRun,
              const SafetyOptions& safety) {
    const RosterDocument document(file);
    const RosterFile& roster = document.file();
    const std::vector<int> chosen = slots.empty() ? slotsThatFail(document.table()) : slots;
    for (const int slot : chosen) {
        if (isEmptySlot(document.table().record(slot))) {
            throw QuillbayError("slot " + std::to_string(slot) + " is empty; nothing to repair",
                                file);
        }
    }
    // Every slot is repaired without writing first, then all are written as one batch,
    // so a failure writes nothing.
    std::vector<std::pair<SlotResult, FieldRepairs>> repaired;
    std::vector<SlotWrite> writes;
    for (const int slot : chosen) {
        PlayerEditor editor(kCommentaryNameCount);
        FieldRepairs repairs = editor.loadRepaired(roster, slot);
        SlotResult result{slot, std::nullopt};
        if (!repairs.empty()) {
            result.written = editor.save(roster, true, safety);
            writes.push_back({slot, editor.working(), editor.loaded()});
        }
        repaired.emplace_back(std::move(result), std::move(repairs));
    }
    const std::vector<std::string> notices =
        dryRun ? std::vector<std::string>() : writeSlots(roster, writes, safety).notices;
    for (const auto& [result, repairs] : repaired) {
        for (const FieldRepair& repair : repairs) {
            std::cout << "slot " << result.slot << ": " << repair.field << ": " << repair.before
                      << " -> " << repair.after << '\n';
        }
        std::cout << describe(result) << '\n';
    }
    for (const std::string& notice : notices) {
        std::cerr << "quillbay-cli: " << notice << '\n';
    }
    return 0;
}

} // namespace qb::cli
