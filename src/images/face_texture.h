#pragma once

#include "system/errors.h"

#include <cstdint>
#include <string>

namespace qb {

// Faces lie at fixed places in the game archive, face 24 first and face 0 last:
// a 112-byte entry header (width and height 16 and 12 bytes before the pixels),
// 256 x 256 colour indexes, then a 1024-byte colour table (red, green, blue, alpha).
inline constexpr std::int64_t FACE_BASE_OFFSET = 554214880; // pixels of face 0
inline constexpr std::int64_t FACE_ENTRY_SIZE = 66672;      // 112 + 65536 + 1024
inline constexpr int kFaceEntries = 25;
inline constexpr std::int64_t kFacePixelBytes = 65536;
inline constexpr std::int64_t kFaceBmpSize = 66614;
// The archive must reach the end of face 0's colour table.
inline constexpr std::int64_t kArchiveMinimumSize = FACE_BASE_OFFSET + kFacePixelBytes + 1024;

// P(F): where the pixel block of face F starts.
std::int64_t facePixelOffset(int face);

// The texts of the two failures.
inline constexpr const char* kFaceSizeError = "Error while reading ";
inline constexpr const char* kFaceFailurePrefix = "An error occured due to";

// Copies face `face` out of the archive into an 8-bit bottom-up BMP file at `bmpPath`
// (the window uses the temporary folder's temp.bmp): the colour table with red and
// blue exchanged, the 65536 pixel bytes in reverse order. The archive is read at
// explicit offsets, one 4096-byte piece at a time. The new file replaces one at
// `bmpPath` only when complete; on any failure an old file there stays as it was.
//
// Fails with FaceSizeError ("Error while reading ") when the entry's width or height
// is outside 0-1024 or does not describe the 65536 pixel bytes a face has, and with
// FaceCopyError ("An error occured due to" CR LF and the cause) otherwise.
void copyFaceToBmp(const std::string& archivePath, int face, const std::string& bmpPath);

class FaceSizeError : public QuillbayError {
public:
    FaceSizeError() : QuillbayError(kFaceSizeError) {}
};

class FaceCopyError : public QuillbayError {
public:
    explicit FaceCopyError(const std::string& cause)
        : QuillbayError(std::string(kFaceFailurePrefix) + "\r\n" + cause) {}
};

} // namespace qb
