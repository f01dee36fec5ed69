#include "cli/load_failure.h"

#include "codecs/identity.h"
#include "codecs/player_editor.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace qb::cli {
namespace {

// A path as a command line takes it: in double quotes when it holds more than letters,
// digits and the usual path characters.
std::string commandLineWord(const std::string& path) {
    const bool plain = std::ranges::all_of(path, [](char ch) {
        return std::isalnum(static_cast<unsigned char>(ch)) != 0 ||
               std::string_view("/\\:._-+").find(ch) != std::string_view::npos;
    });
    return plain ? path : "\"" + path + "\"";
}

} // namespace

std::optional<FieldRepair> repairOfField(const Record& record, const std::string& field) {
    Record repaired = record;
    for (FieldRepair& repair : repairRecord(repaired, kCommentaryNameCount)) {
        if (repair.field == field) {
            return std::move(repair);
        }
    }
    return std::nullopt;
}

std::string loadFailure(const std::string& path, int slot, const Record& record,
                        const ShowError& error) {
    std::string text =
        path + ": slot " + std::to_string(slot) + ": " + error.field() + ": " + error.description();
    if (const std::optional<FieldRepair> repair = repairOfField(record, error.field())) {
        text += ": the file holds " + repair->before + ", which the editor cannot show; " +
                "quillbay-cli repair " + commandLineWord(path) + " " + std::to_string(slot) +
                " sets it to " + repair->after;
    }
    return text;
}

} // namespace qb::cli
