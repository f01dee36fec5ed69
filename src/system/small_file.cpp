#include "system/errors.h"
#include "system/file_handle.h"

namespace qb {

std::string readSmallFile(const std::string& path, std::int64_t limit, const char* kind) {
    const FileHandle file(path, OpenMode::Read, "reading");
    const std::int64_t size = file.size();
    if (size > limit) {
        throw FileTooLarge(path + " is too large for " + kind + ": it has " + std::to_string(size) +
                               " bytes, and at most " + std::to_string(limit) + " are read",
                           path);
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    file.readAt(reinterpret_cast<std::uint8_t*>(text.data()), text.size(), 0);
    return text;
}

void writeSmallFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    const FileHandle file(path, OpenMode::CreateOrEmpty, "writing");
    file.writeAt(bytes.data(), bytes.size(), 0);
}

} // namespace qb
