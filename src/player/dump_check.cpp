#include "player/dump_check.h"

#include "player/player_object.h"
#include "roster/layout.h"
#include "system/fnv1a.h"
#include "system/quoted_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace qb {
namespace {

constexpr std::string_view kHashPrefix = "qb";
constexpr std::size_t kHexDigits = 16;

std::optional<std::uint64_t> hexNumber(std::string_view digits) {
    std::uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.size() != kHexDigits || error != std::errc() ||
        end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> number(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool sameCell(const std::string& shown, const std::string& cell) {
    if (shown == cell) {
        return true;
    }
    const auto a = number(shown);
    const auto b = number(cell);
    return a && b && std::fabs(*a - *b) <= 1e-9 * std::max(1.0, std::fabs(*a));
}

} // namespace

std::string slotHash(const Record& record) {
    char text[kHexDigits + 1];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(fnv1a(record)));
    return std::string(kHashPrefix) + text;
}

std::optional<std::uint64_t> readSlotHash(std::string_view cell) {
    const auto lower = [](char ch) { return static_cast<char>(std::tolower(ch)); };
    if (cell.size() == kHashPrefix.size() + kHexDigits && lower(cell[0]) == kHashPrefix[0] &&
        lower(cell[1]) == kHashPrefix[1]) {
        cell.remove_prefix(kHashPrefix.size());
    }
    return hexNumber(cell);
}

DumpCheck checkAgainstDump(const SlotTable& table, const SlotHashes& hashes,
                           const std::vector<int>& slots, const std::set<int>& forced) {
    DumpCheck check;
    for (const int slot : slots) {
        const auto dumped = hashes.find(slot);
        if (dumped == hashes.end() || forced.contains(slot)) {
            continue;
        }
        const std::optional<std::uint64_t> hash = readSlotHash(dumped->second.cell);
        if (!hash) {
            check.damaged.push_back(slot);
            check.damages.push_back(dumped->second.where + ": " + quotedText(dumped->second.cell) +
                                    " is not a slot hash: a spreadsheet changed the cell (it "
                                    "took it for a number, a date or a formula), so whether "
                                    "slot " +
                                    std::to_string(slot) + " changed cannot be told");
        } else if (*hash != fnv1a(table.copyRecord(slot))) {
            check.changed.push_back(slot);
        }
    }
    return check;
}

std::string dumpCheckText(const DumpCheck& check, const SlotTable& table) {
    std::string text;
    if (!check.changed.empty()) {
        text = check.changed.size() == 1 ? "slot " : "slots ";
        for (std::size_t i = 0; i < check.changed.size(); ++i) {
            const int slot = check.changed[i];
            text += (i == 0 ? "" : ", ") + std::to_string(slot) + " (" +
                    recordName(table.record(slot)) + ")";
        }
        text += " changed since the dump";
    }
    for (const std::string& damage : check.damages) {
        text += (text.empty() ? "" : "; ") + damage;
    }
    return text;
}

std::vector<std::string> changedReadOnlyCells(const SlotTable& table, const EditsFile& file) {
    std::vector<std::string> changed;
    for (const auto& [slot, cells] : file.readOnly) {
        if (!checkAgainstDump(table, file.hashes, {slot}, {}).changed.empty()) {
            continue;
        }
        const Record record = table.copyRecord(slot);
        const ShownPlayer shown = showEveryField(record);
        for (const ReadOnlyCell& cell : cells) {
            const std::string value =
                csvText(playerValue(record, slot, shown, *findObjectKey(cell.key)));
            if (!sameCell(value, cell.value)) {
                changed.push_back(cell.where + ": " + quotedText(cell.value) +
                                  " is not what slot " + std::to_string(slot) + " shows (" +
                                  quotedText(value) + "); " + cell.key +
                                  " is read-only, so it cannot be changed by editing it");
            }
        }
    }
    return changed;
}

} // namespace qb
