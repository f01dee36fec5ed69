#include "player/json_reader.h"

#include "player/patch.h"
#include "system/quoted_text.h"

#include <algorithm>
#include <set>
#include <vector>

namespace qb {
namespace {

// "line 3, column 7" of the byte at `position` (0-based) of `text`: columns count bytes.
std::string lineAndColumn(std::string_view text, std::size_t position) {
    const std::string_view before = text.substr(0, std::min(position, text.size()));
    const std::size_t lastBreak = before.rfind('\n');
    const auto line = std::count(before.begin(), before.end(), '\n') + 1;
    const std::size_t column =
        before.size() - (lastBreak == std::string_view::npos ? 0 : lastBreak + 1) + 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The document parser of the JSON library, with the depth and duplicate-key checks of
// readJsonEdits and errors that say where. (The library's filtering parser removes a
// discarded value by searching its parent at the end of every object, which makes a
// long array of objects quadratic; this one keeps every value.)
class EditsParser : public nlohmann::detail::json_sax_dom_parser<Json> {
public:
    EditsParser(Json& result, std::string_view text, const std::string& path, int deepest)
        : json_sax_dom_parser(result, false), text_(text), path_(path), deepest_(deepest) {}

    bool start_object(std::size_t length) {
        enter();
        keys_.emplace_back();
        return json_sax_dom_parser::start_object(length);
    }
    bool end_object() {
        keys_.pop_back();
        return json_sax_dom_parser::end_object();
    }
    bool start_array(std::size_t length) {
        enter();
        keys_.emplace_back(); // arrays have no keys; keeps the stack in step
        return json_sax_dom_parser::start_array(length);
    }
    bool end_array() {
        keys_.pop_back();
        return json_sax_dom_parser::end_array();
    }
    bool key(std::string& name) {
        if (keys_.back().size() >= kMostKeys) {
            fail(std::string::npos, "an object holds more than " + std::to_string(kMostKeys) +
                                        " keys, more than any player object has");
        }
        if (!keys_.back().insert(name).second) {
            fail(std::string::npos, "the key " + quotedText(name) +
                                        " appears twice in one object (only one would be kept)");
        }
        return json_sax_dom_parser::key(name);
    }
    template <class Exception>
    bool parse_error(std::size_t position, const std::string&, const Exception& error) {
        // The library's text: "[json.exception.parse_error.101] parse error at line 1,
        // column 4: syntax error while parsing value - invalid literal; last read: '1e4';
        // expected end of input". The place is said once, in our words, and the text last
        // read (perhaps megabytes of a string) is left out.
        std::string reason = error.what();
        const std::size_t column = reason.find("column ");
        const std::size_t start =
            column == std::string::npos ? reason.find("] ") : reason.find(": ", column);
        reason.erase(0, start == std::string::npos ? 0 : start + 2);
        if (const std::size_t read = reason.find("; last read: "); read != std::string::npos) {
            reason.erase(read, reason.find("; expected", read) - read);
        }
        // The library counts the bytes read, the offending one included.
        fail(position == 0 ? 0 : position - 1,
             "not a JSON array of player objects (" + reason + ")");
    }

private:
    // Far more than a player object holds at any level; a longer object is no edit, and
    // would make the library's ordered objects slow to fill.
    static constexpr std::size_t kMostKeys = 1000;

    // One more container, refused below the deepest level allowed.
    void enter() const {
        if (keys_.size() > static_cast<std::size_t>(deepest_)) {
            fail(std::string::npos, "nested deeper than a player object (more than " +
                                        std::to_string(deepest_ + 1) + " levels)");
        }
    }
    [[noreturn]] void fail(std::size_t position, const std::string& reason) const {
        const std::string where =
            position == std::string::npos ? "" : lineAndColumn(text_, position) + ": ";
        throw EditError(path_ + ": " + where + reason, path_);
    }

    std::string_view text_;
    const std::string& path_;
    int deepest_;
    std::vector<std::set<std::string>> keys_; // of each open container, outermost first
};

} // namespace

Json readJsonEdits(std::string_view text, const std::string& path, int deepest) {
    Json result;
    EditsParser parser(result, text, path, deepest);
    Json::sax_parse(text.begin(), text.end(), &parser);
    return result;
}

} // namespace qb
