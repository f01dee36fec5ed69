// libFuzzer target: any bytes as a TGA file must decode or fail cleanly, and a made
// bitmap must be exactly as large as its header says.
#include "images/image_error.h"
#include "images/tga_reader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qb::TgaReader reader;
    try {
        reader.loadBytes({data, size}, "fuzz.tga");
    } catch (const qb::ImageError&) {
        return 0;
    }
    if (const auto& dib = reader.bitmap()) {
        const auto rows = static_cast<std::size_t>(std::abs(dib->height));
        if (dib->pixels.size() != dib->rowBytes() * rows ||
            (dib->bitsPerPixel == 8 && dib->colourTable.size() != 1024)) {
            std::abort();
        }
    }
    return 0;
}
