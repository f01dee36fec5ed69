#include "cli/commands.h"
#include "cli/edits.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "player/player_object.h"
#include "player/roster_document.h"
#include "roster/player_lists.h"
#include "system/errors.h"

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

int runRepair(const std::string& file, const std::vector<int>& slots, const ReportStyle& style,
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
    // so a failure writes nothing. The values named are those stored (which no editor
    // shows) and those set.
    std::vector<SlotResult> repaired;
    std::vector<SlotWrite> writes;
    for (const int slot : chosen) {
        PlayerEditor editor(kCommentaryNameCount);
        std::vector<FieldChange> changes;
        for (FieldRepair& repair : editor.loadRepaired(roster, slot, roster.readSlot(slot))) {
            changes.push_back(
                {std::move(repair.field), std::move(repair.before), std::move(repair.after)});
        }
        SlotResult& result = repaired.emplace_back(SlotResult{slot, {}});
        result.changes = std::move(changes);
        if (!result.changes->empty()) {
            result.written = editor.store(roster);
            writes.push_back({slot, editor.working(), editor.loaded()});
        }
    }
    const std::vector<std::string> notices =
        style.dryRun ? std::vector<std::string>() : writeSlots(roster, writes, safety).notices;
    for (const SlotResult& result : repaired) {
        if (style.dryRun) {
            printSlot(result, style);
            continue;
        }
        // A write names each field on a line of its own, verbose or not.
        for (const FieldChange& change : *result.changes) {
            std::cout << "slot " << result.slot << ": " << change.key << ": " << change.before
                      << " -> " << change.after << '\n';
        }
        printSlot(result, {});
    }
    for (const std::string& notice : notices) {
        std::cerr << "quillbay-cli: " << notice << '\n';
    }
    return 0;
}

} // namespace qb::cli
