#include "cli/slot_report.h"

#include "codecs/tables.h"
#include "player/player_object.h"

#include <iostream>

namespace qb::cli {
namespace {

std::string jsonText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string changeList(const SlotResult& result) {
    const std::vector<FieldChange> changes =
        result.changes ? *result.changes : fieldChanges(result.before, result.after);
    std::string text;
    for (const FieldChange& change : changes) {
        text +=
            (text.empty() ? "" : ", ") + change.key + " " + change.before + " -> " + change.after;
    }
    std::string uncovered;
    for (const int offset : result.written) {
        if (!isFieldOffset(offset)) {
            uncovered += " " + std::to_string(offset);
        }
    }
    if (!uncovered.empty()) {
        text += (text.empty() ? "" : ", ") + std::string("bytes no field covers") + uncovered;
    }
    return text;
}

std::string offsetList(const std::vector<int>& offsets) {
    std::string text;
    for (const int offset : offsets) {
        text += " " + std::to_string(offset);
    }
    return text;
}

} // namespace

std::vector<FieldChange> fieldChanges(const Record& before, const Record& after) {
    const Json a = decodePlayer(before, 0);
    const Json b = decodePlayer(after, 0);
    std::vector<FieldChange> changes;
    for (const ObjectKey& key : objectKeys()) {
        // The player ID is no field an edit names, but a restore may change it.
        if (key.readOnly() && key.key != "id") {
            continue;
        }
        const Json& valueA = getDotted(a, key.key);
        const Json& valueB = getDotted(b, key.key);
        if (valueA != valueB) {
            changes.push_back({key.key, jsonText(valueA), jsonText(valueB)});
        }
    }
    return changes;
}

void printSlot(const SlotResult& result, const ReportStyle& style) {
    const std::string slot = "slot " + std::to_string(result.slot) + ": ";
    if (result.written.empty()) {
        std::cout << slot << "no change\n";
    } else if (style.dryRun) {
        std::cout << slot << "would change " << changeList(result) << '\n';
        if (style.verbose) {
            std::cout << slot << "would write" << offsetList(result.written) << '\n';
        }
    } else {
        if (style.verbose) {
            std::cout << slot << "changed " << changeList(result) << '\n';
        }
        std::cout << slot << "wrote" << offsetList(result.written) << '\n';
    }
}

void printBatch(const std::vector<SlotResult>& results, const ReportStyle& style) {
    std::size_t changed = 0;
    for (const SlotResult& result : results) {
        if (!result.written.empty() || style.verbose) {
            printSlot(result, style);
        }
        changed += result.written.empty() ? 0U : 1U;
    }
    std::cout << results.size() << " slot" << (results.size() == 1 ? "" : "s") << " matched, "
              << changed << (style.dryRun ? " would change" : " changed") << '\n';
}

} // namespace qb::cli
