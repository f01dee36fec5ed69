#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/edits.h"
#include "codecs/codec_errors.h"
#include "player/player_copy.h"

#include <iostream>

namespace qb::cli {
namespace {

// Runs `step` on a slot of the document; a player that fails to load refuses the
// command, naming the slot and the field.
template <typename Step> auto onSlot(const RosterDocument& document, int slot, Step step) {
    try {
        return step();
    } catch (const ShowError& error) {
        throw QuillbayError("slot " + std::to_string(slot) + ": " + error.field() + ": " +
                                error.description() + "; nothing was written",
                            document.path());
    }
}

FieldSelection selectionOf(const std::string& only) {
    try {
        return parseFieldSelection(only);
    } catch (const FieldSelectionError& error) {
        throw UsageError("--only: " + error.description());
    }
}

} // namespace

int runCopy(const CopyRequest& request, const EditOptions& options) {
    const FieldSelection selection = selectionOf(request.only);
    RosterDocument from(request.from);
    RosterDocument to(request.to);
    warnAboutKind(to.file());
    std::vector<PlayerPair> pairs;
    std::vector<int> unmatched;
    if (request.match) {
        PlayerMatching matching = matchPlayers(from, to, *request.match);
        pairs = std::move(matching.pairs);
        unmatched = std::move(matching.leftOnly);
    } else {
        requireCopyTarget(to, request.slots->right);
        pairs.push_back(*request.slots);
    }
    // Every player of both sides is loaded before anything is written.
    RosterEdits edits;
    for (const PlayerPair& pair : pairs) {
        edits[pair.right] =
            onSlot(from, pair.left, [&] { return copiedValues(from, pair.left, selection); });
        onSlot(to, pair.right, [&] { to.player(pair.right); });
        to.discard(pair.right); // applyEdits loads it again under the roster's lock
    }
    for (const SlotResult& result : applyEdits(to, edits, options)) {
        std::cout << describe(result) << '\n';
    }
    for (const int slot : unmatched) {
        std::cout << "slot " << slot << " (" << recordName(from.table().record(slot))
                  << "): no match in " << to.path() << ", skipped\n";
    }
    return 0;
}

} // namespace qb::cli
