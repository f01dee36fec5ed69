#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

// A zip archive held in memory (an XLSX workbook is one), read with minizip. Anything
// that is not a zip archive, a part that cannot be inflated, or a part larger than any
// workbook of a roster holds (a "zip bomb") throws WorkbookError naming `path`.
class ZipArchive {
public:
    ZipArchive(std::string_view bytes, std::string path);
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;
    ~ZipArchive();

    // The part named `name` ("xl/workbook.xml"), inflated; nothing when there is none.
    std::optional<std::string> part(const std::string& name) const;

    struct Stream; // the bytes and minizip's read position in them

private:
    std::unique_ptr<Stream> stream_;
    std::string path_;
    void* zip_ = nullptr;
};

} // namespace qb
