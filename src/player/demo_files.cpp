#include "player/demo_files.h"

#include "codecs/demo_roster.h"
#include "system/errors.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

namespace qb {
namespace {

void writeFile(const std::filesystem::path& path, std::vector<std::uint8_t> header,
               const std::vector<std::uint8_t>& table) {
    header.insert(header.end(), table.begin(), table.end());
    writeSmallFile(utf8Path(path), header);
}

} // namespace

void writeDemoFiles(const std::string& folder, ExistingDemoFiles existing) {
    const std::filesystem::path dir = nativePath(folder);
    std::filesystem::create_directories(dir);
    const std::vector<std::uint8_t> table = makeDemoSlotTable();
    for (const auto& [name, header] : {std::pair{"demo.pak", std::vector<std::uint8_t>{}},
                                       std::pair{"demo.sav", makeDemoSaveHeader()}}) {
        if (existing == ExistingDemoFiles::Replace || !std::filesystem::exists(dir / name)) {
            writeFile(dir / name, header, table);
        }
    }
}

} // namespace qb
