#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/edits.h"
#include "cli/load_failure.h"
#include "codecs/codec_errors.h"
#include "player/player_copy.h"

#include <algorithm>
#include <iostream>
#include <map>

namespace qb::cli {
namespace {

// Runs `step` on a slot of the document; a player that fails to load refuses the
// command, naming the slot, the field, its value and the repair.
template <typename Step> auto onSlot(const RosterDocument& document, int slot, Step step) {
    try {
        return step();
    } catch (const ShowError& error) {
        throw QuillbayError(
            loadFailure(document.path(), slot, document.table().copyRecord(slot), error) +
                "; nothing was written",
            document.path());
    }
}

// Every group unless --only names some; an empty or blank --only names none and is
// refused like an empty name in a list.
FieldSelection selectionOf(const std::optional<std::string>& only) {
    try {
        return only ? parseFieldSelection(*only, false) : FieldSelection{};
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
    // Every player of both sides is loaded before anything is written. Matched by ID,
    // the edits name the target's player by its ID, found again under the lock.
    const bool byId = request.match == MatchBy::Id;
    RosterEdits edits;
    std::map<int, int> sourceOfId; // for the players whose partner is gone under the lock
    for (const PlayerPair& pair : pairs) {
        const int target = byId ? playerId(to, pair.right) : pair.right;
        edits[target] =
            onSlot(from, pair.left, [&] { return copiedValues(from, pair.left, selection); });
        sourceOfId[target] = pair.left;
        onSlot(to, pair.right, [&] { to.player(pair.right); });
        to.discard(pair.right); // applyEdits loads it again under the roster's lock
    }
    const EditResults results =
        applyEdits(to, editsOf(std::move(edits), byId ? MatchBy::Id : MatchBy::Slot), options);
    for (const SlotResult& result : results.slots) {
        printSlot(result, options.style());
    }
    for (const int id : results.unmatched) {
        unmatched.push_back(sourceOfId.at(id));
    }
    std::ranges::sort(unmatched);
    for (const int slot : unmatched) {
        const int id = playerId(from, slot);
        const std::optional<std::string> shared =
            byId ? (sharedIdText(to, id) ? sharedIdText(to, id) : sharedIdText(from, id))
                 : std::nullopt;
        std::cout << "slot " << slot << " (" << recordName(from.table().record(slot))
                  << "): " << (shared ? *shared : "no match in " + to.path()) << ", skipped\n";
    }
    return 0;
}

} // namespace qb::cli
