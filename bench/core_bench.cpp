// The core's figures beside the physical limit they are compared with: one positioned
// read of the slot table (or of one slot) from the page cache.
#include "codecs/demo_roster.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "images/demo_game.h"
#include "images/face_texture.h"
#include "images/game_folder.h"
#include "images/tga_reader.h"
#include "player/demo_files.h"
#include "player/player_object.h"
#include "player/player_save.h"
#include "roster/player_lists.h"
#include "saving/safe_write.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The demo roster and game folder, written once for all benchmarks.
struct Scratch {
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "quillbay-bench-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        qb::writeDemoFiles(root + "/demo");
        qb::writeDemoGameFolder(root + "/game");
        roster = root + "/demo/demo.pak";
    }
    ~Scratch() { fs::remove_all(root); }
    std::string root;
    std::string roster;
};

Scratch& scratch() {
    static Scratch s;
    return s;
}

void BM_LimitTableRead(benchmark::State& state) {
    const int fd = ::open(scratch().roster.c_str(), O_RDONLY);
    std::vector<std::uint8_t> table(static_cast<std::size_t>(qb::SLOT_TABLE_SIZE));
    for (auto _ : state) {
        benchmark::DoNotOptimize(::pread(fd, table.data(), table.size(), 0));
    }
    ::close(fd);
}
BENCHMARK(BM_LimitTableRead);

void BM_LoadRosterCore(benchmark::State& state) {
    for (auto _ : state) {
        const qb::RosterFile roster(scratch().roster);
        const qb::SlotTable table = roster.readSlotTable();
        benchmark::DoNotOptimize(qb::buildRosterIndex(table));
    }
}
BENCHMARK(BM_LoadRosterCore);

// The old way: the name and the nation of each slot, 3,200 small reads.
void BM_BaselineLoadRosterFieldByField(benchmark::State& state) {
    for (auto _ : state) {
        const int fd = ::open(scratch().roster.c_str(), O_RDONLY);
        std::array<std::uint8_t, 16> name{};
        std::array<std::uint8_t, 2> nation{};
        std::size_t named = 0;
        for (int slot = 0; slot < qb::SLOT_COUNT; ++slot) {
            const off_t at = static_cast<off_t>(slot) * qb::SLOT_SIZE;
            benchmark::DoNotOptimize(::pread(fd, name.data(), name.size(), at + qb::OFFSET_NAME));
            benchmark::DoNotOptimize(
                ::pread(fd, nation.data(), nation.size(), at + qb::OFFSET_NATION));
            named += name[0] != 0 ? 1u : 0u;
        }
        ::close(fd);
        benchmark::DoNotOptimize(named);
    }
}
BENCHMARK(BM_BaselineLoadRosterFieldByField);

void BM_LimitSlotRead(benchmark::State& state) {
    const int fd = ::open(scratch().roster.c_str(), O_RDONLY);
    qb::Record record{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(::pread(fd, record.data(), record.size(), 348 * 7));
    }
    ::close(fd);
}
BENCHMARK(BM_LimitSlotRead);

void BM_LoadPlayer(benchmark::State& state) {
    const qb::RosterFile roster(scratch().roster);
    qb::PlayerEditor editor(qb::kCommentaryNameCount);
    int slot = 0;
    for (auto _ : state) {
        editor.load(roster, slot, roster.readSlot(slot));
        slot = (slot + 1) % qb::kDemoPlayerCount;
    }
}
BENCHMARK(BM_LoadPlayer);

// The old way: the slot read one byte at a time, then shown.
void BM_BaselineLoadPlayerByteByByte(benchmark::State& state) {
    int slot = 0;
    for (auto _ : state) {
        const int fd = ::open(scratch().roster.c_str(), O_RDONLY);
        qb::Record record{};
        for (int i = 0; i < qb::SLOT_SIZE; ++i) {
            benchmark::DoNotOptimize(
                ::pread(fd, &record[static_cast<std::size_t>(i)], 1, slot * 348 + i));
        }
        ::close(fd);
        qb::PlayerSheet shown;
        qb::Record working = record;
        for (const qb::ShowStep& step : qb::kShowSequence) {
            step.run(record, working, shown, qb::kCommentaryNameCount);
        }
        slot = (slot + 1) % qb::kDemoPlayerCount;
    }
}
BENCHMARK(BM_BaselineLoadPlayerByteByByte);

void saveOnePlayer(benchmark::State& state, bool durable) {
    const std::string path = scratch().root + (durable ? "/save-sync.pak" : "/save.pak");
    fs::copy_file(scratch().roster, path, fs::copy_options::overwrite_existing);
    const qb::RosterFile roster(path);
    qb::PlayerEditor editor(qb::kCommentaryNameCount);
    qb::SafetyOptions safety;
    safety.backups = false;
    safety.durable = durable;
    safety.dataFolder = scratch().root + "/data";
    editor.load(roster, 5, roster.readSlot(5));
    int value = 0;
    for (auto _ : state) {
        editor.sheet().bowlingRatings[4] = value;
        value = (value + 1) % 64;
        benchmark::DoNotOptimize(savePlayer(editor, roster, safety));
    }
}
void BM_SavePlayer(benchmark::State& state) {
    saveOnePlayer(state, false);
}
BENCHMARK(BM_SavePlayer);
void BM_SavePlayerDurable(benchmark::State& state) {
    saveOnePlayer(state, true);
}
BENCHMARK(BM_SavePlayerDurable);

// A full roster: the 600 demo players repeated over all 1600 slots.
void BM_DecodeAllPlayers(benchmark::State& state) {
    const qb::SlotTable demo = qb::RosterFile(scratch().roster).readSlotTable();
    std::vector<qb::Record> records;
    for (int slot = 0; slot < qb::SLOT_COUNT; ++slot) {
        records.push_back(demo.copyRecord(slot % qb::kDemoPlayerCount));
    }
    for (auto _ : state) {
        for (const qb::Record& record : records) {
            benchmark::DoNotOptimize(qb::showEveryField(record));
        }
    }
}
BENCHMARK(BM_DecodeAllPlayers);

void BM_TgaDecodeBat(benchmark::State& state) {
    const auto path = qb::findBat(scratch().root + "/game", static_cast<int>(state.range(0)));
    std::ifstream in(*path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    for (auto _ : state) {
        qb::TgaReader reader;
        reader.loadBytes(bytes, path->string());
        benchmark::DoNotOptimize(reader.bitmap());
    }
}
BENCHMARK(BM_TgaDecodeBat)->DenseRange(0, 33, 1);

void BM_FaceCopy(benchmark::State& state) {
    const std::string archive = qb::findArchive(scratch().root + "/game")->string();
    const std::string bmp = scratch().root + "/temp.bmp";
    for (auto _ : state) {
        qb::copyFaceToBmp(archive, 7, bmp);
    }
}
BENCHMARK(BM_FaceCopy);

} // namespace

BENCHMARK_MAIN();
