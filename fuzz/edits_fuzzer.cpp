// libFuzzer target: any text as a CSV or JSON edits file. It is read into edits or
// refused with a message; nothing else may happen.
#include "cli/edits.h"
#include "roster/errors.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const bool csv : {true, false}) {
        try {
            const qb::cli::RosterEdits edits = csv ? qb::cli::parseCsvEdits(text, "fuzz.csv")
                                                   : qb::cli::parseJsonEdits(text, "fuzz.json");
            (void)edits;
        } catch (const qb::QuillbayError&) {
        }
    }
    return 0;
}
