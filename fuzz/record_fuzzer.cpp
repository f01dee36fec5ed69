// libFuzzer target: any 348 bytes as a player. Loading shows it or fails with a
// field's message; a save of what was shown stores without crashing, and a second
// save changes nothing more.
#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "codecs/statistics.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qb::Record loaded{};
    std::memcpy(loaded.data(), data, std::min(size, loaded.size()));
    qb::PlayerSheet sheet;
    qb::Record working = loaded;
    try {
        sheet.name = qb::recordName(loaded.data());
        for (const qb::ShowStep& step : qb::kShowSequence) {
            step.run(loaded, working, sheet, qb::kCommentaryNameCount);
        }
    } catch (const qb::ShowError&) {
        return 0;
    }
    for (int format = 1; format < qb::kStatisticsFormatCount; ++format) {
        try {
            qb::switchStatisticsFormat(sheet, working, format);
        } catch (const qb::QuillbayError&) {
            return 0;
        }
    }
    try {
        qb::storeSheet(sheet, working, qb::kCommentaryNameCount);
    } catch (const qb::QuillbayError&) {
        return 0;
    }
    // What was stored shows again and stores to the same bytes.
    qb::PlayerSheet again;
    qb::Record reloaded = working;
    again.name = qb::recordName(working.data());
    for (const qb::ShowStep& step : qb::kShowSequence) {
        step.run(working, reloaded, again, qb::kCommentaryNameCount);
    }
    qb::Record second = reloaded;
    qb::storeSheet(again, second, qb::kCommentaryNameCount);
    if (second != reloaded) {
        std::abort();
    }
    return 0;
}
