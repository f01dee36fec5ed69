#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/edits.h"
#include "player/player_object.h"
#include "player/relative_edit.h"
#include "system/quoted_text.h"

#include <iostream>
#include <optional>
#include <utility>

namespace qb::cli {
namespace {

struct Filter {
    const ObjectKey* key;
    std::string value;
};

// KEY=VALUE, KEY+=N or KEY-=N.
struct BulkEdit {
    const Field* field;
    std::string value;
    int step = 0; // non-zero for a relative edit
};

std::pair<std::string, std::string> splitAssignment(const std::string& text,
                                                    const std::string& option) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        throw UsageError(option + " " + quotedText(text) + " is not KEY=VALUE");
    }
    return {text.substr(0, equals), text.substr(equals + 1)};
}

std::vector<Filter> parseFilters(const std::vector<std::string>& wheres) {
    std::vector<Filter> filters;
    for (const std::string& where : wheres) {
        auto [key, value] = splitAssignment(where, "--where");
        const ObjectKey* known = findObjectKey(key);
        if (known == nullptr || key == "errors") {
            throw UsageError("--where: unknown key " + quotedText(key));
        }
        filters.push_back({known, value});
    }
    return filters;
}

std::vector<BulkEdit> parseBulkEdits(const std::vector<std::string>& sets) {
    std::vector<BulkEdit> edits;
    for (const std::string& set : sets) {
        auto [key, value] = splitAssignment(set, "--set");
        int sign = 0;
        if (key.back() == '+' || key.back() == '-') {
            sign = key.back() == '+' ? 1 : -1;
            key.pop_back();
        }
        if (sign == 0) {
            const FieldEdit edit = checkedEdit(key, value, "--set: ");
            edits.push_back({edit.field, value, 0});
            continue;
        }
        const ObjectKey* known = findObjectKey(key);
        if (known == nullptr || known->readOnly()) {
            throw UsageError("--set: unknown or read-only key " + quotedText(key));
        }
        const std::optional<int> step = relativeStep(*known->field, value);
        if (!step) {
            throw UsageError("--set: " + quotedText(set) +
                             ": a relative edit takes a whole number and a numeric key");
        }
        edits.push_back({known->field, "", sign * *step});
    }
    return edits;
}

bool matches(const Json& value, const std::string& wanted) {
    if (value.is_boolean()) {
        return value.get<bool>() ? (wanted == "true" || wanted == "1")
                                 : (wanted == "false" || wanted == "0");
    }
    if (value.is_number()) {
        char* end = nullptr;
        const double number = std::strtod(wanted.c_str(), &end);
        return !wanted.empty() && end == wanted.c_str() + wanted.size() &&
               number == value.get<double>();
    }
    return value.is_string() && value.get<std::string>() == wanted;
}

} // namespace

int runBulk(const std::string& file, const std::vector<std::string>& wheres,
            const std::vector<std::string>& sets, const EditOptions& options) {
    const std::vector<Filter> filters = parseFilters(wheres);
    const std::vector<BulkEdit> bulkEdits = parseBulkEdits(sets);
    // Held from the read that the edits are computed from to the last write.
    std::optional<RosterLock> lock;
    if (!options.dryRun) {
        lock.emplace(file, options.safety.lockWait);
    }
    RosterDocument document(file);
    const SlotTable& table = document.table();
    RosterEdits edits;
    SlotBasis basis;
    const bool readsStatistics =
        std::any_of(filters.begin(), filters.end(),
                    [](const Filter& filter) {
                        return filter.key->field != nullptr && filter.key->field->format >= 0;
                    }) ||
        std::any_of(bulkEdits.begin(), bulkEdits.end(),
                    [](const BulkEdit& edit) { return edit.step != 0 && edit.field->format >= 0; });
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (isEmptySlot(table.record(slot))) {
            continue;
        }
        const Record record = table.copyRecord(slot);
        const ShownPlayer shown = showEveryField(record, readsStatistics);
        const bool selected =
            std::all_of(filters.begin(), filters.end(), [&](const Filter& filter) {
                return matches(playerValue(record, slot, shown, *filter.key), filter.value);
            });
        if (!selected) {
            continue;
        }
        basis[slot] = record;
        std::vector<FieldEdit>& slotEdits = edits[slot];
        for (const BulkEdit& edit : bulkEdits) {
            if (edit.step == 0) {
                slotEdits.push_back({edit.field, edit.value});
                continue;
            }
            try {
                slotEdits.push_back(
                    {edit.field, steppedValue(*edit.field, shown.value(*edit.field), edit.step)});
            } catch (const QuillbayError& error) {
                throw QuillbayError("slot " + std::to_string(slot) + ": " + error.description(),
                                    file);
            }
        }
    }
    printBatch(applyEdits(document, editsOf(std::move(edits)), options, std::move(basis)).slots,
               options.style());
    return 0;
}

} // namespace qb::cli
