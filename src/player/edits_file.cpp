#include "player/edits_file.h"

#include "player/csv.h"
#include "player/json_reader.h"
#include "roster/quoted_text.h"
#include "system/file_handle.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

namespace qb {
namespace {

bool isCsvPath(const std::string& path) {
    return path.ends_with(".csv") || path.ends_with(".CSV");
}

} // namespace

RosterEdits parseJsonEdits(const std::string& text, const std::string& path, MatchBy match,
                           SlotHashes* hashes) {
    RosterEdits edits;
    for (PatchEntry& entry : readPatch(text, path, match)) {
        edits[entry.slotOrId] = std::move(entry.edits);
        if (hashes != nullptr && !entry.slotHash.empty()) {
            (*hashes)[entry.slotOrId] = entry.slotHash;
        }
    }
    return edits;
}

RosterEdits parseCsvEdits(const std::string& text, const std::string& path, MatchBy match,
                          SlotHashes* hashes) {
    const auto rows = parseCsv(text, path);
    if (rows.empty()) {
        throw EditError(path + ": no header row", path);
    }
    const std::vector<std::string>& header = rows.front();
    const PlayerNaming naming(match);
    const auto slotColumn = std::find(header.begin(), header.end(), naming.key);
    if (slotColumn == header.end()) {
        throw EditError(path + ": no \"" + naming.key + "\" column" +
                            naming.byIdHint(std::ranges::count(header, "id") != 0, "rows"),
                        path);
    }
    const auto hashColumn = std::find(header.begin(), header.end(), kSlotHashKey);
    std::set<std::string> columns;
    for (const std::string& key : header) {
        if (!columns.insert(key).second) {
            throw EditError(path + ": row 1: the column " + quotedText(key) + " appears twice",
                            path);
        }
        if (findObjectKey(key) == nullptr && key != kSlotHashKey) {
            throw EditError(path + ": row 1: unknown column " + quotedText(key), path);
        }
    }
    RosterEdits edits;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::string where = path + ": row " + std::to_string(r + 1) + ": ";
        const std::vector<std::string>& row = rows[r];
        if (row.size() != header.size()) {
            throw EditError(where + "has " + std::to_string(row.size()) + " cells, the header " +
                                std::to_string(header.size()),
                            path);
        }
        const std::string& slotText = row[static_cast<std::size_t>(slotColumn - header.begin())];
        const std::optional<int> slot = naming.fromText(slotText);
        if (!slot) {
            throw EditError(where + "column " + naming.key + ": " + quotedText(slotText) +
                                " is not " + (naming.bySlot ? "a slot" : "a player ID") +
                                " from 0 to " + std::to_string(naming.highest),
                            path);
        }
        if (edits.contains(*slot)) {
            throw EditError(where + naming.repeated(*slot), path);
        }
        std::vector<FieldEdit>& slotEdits = edits[*slot];
        for (std::size_t c = 0; c < header.size(); ++c) {
            if (row[c].empty()) {
                continue;
            }
            if (header.begin() + static_cast<std::ptrdiff_t>(c) == hashColumn) {
                if (hashes != nullptr) {
                    (*hashes)[*slot] = row[c];
                }
                continue;
            }
            if (findObjectKey(header[c])->readOnly()) {
                continue;
            }
            slotEdits.push_back(fieldEdit(header[c], row[c], where + "column " + header[c] + ": "));
        }
    }
    return edits;
}

std::string readEditsFile(const std::string& path) {
    return readSmallFile(path, kLargestEditsFile, "an edits file");
}

RosterEdits parseEditsFile(const std::string& text, const std::string& path, MatchBy match,
                           SlotHashes* hashes) {
    return isCsvPath(path) ? parseCsvEdits(text, path, match, hashes)
                           : parseJsonEdits(text, path, match, hashes);
}

MatchBy editsFileMatch(const std::string& text, const std::string& path) {
    std::function<bool(const char*)> names;
    try {
        if (isCsvPath(path)) {
            const auto rows = parseCsv(text, path);
            names = [header = rows.empty() ? std::vector<std::string>{} : rows.front()](
                        const char* key) { return std::ranges::find(header, key) != header.end(); };
        } else {
            const Json entries = readJsonEdits(text, path, kPlayerObjectDepth);
            names = [first = entries.is_array() && !entries.empty() ? entries.front() : Json()](
                        const char* key) { return first.is_object() && first.contains(key); };
        }
    } catch (const QuillbayError&) {
        return MatchBy::Slot; // reading the file says what is wrong with it
    }
    return names("slot") || !names("id") ? MatchBy::Slot : MatchBy::Id;
}

} // namespace qb
