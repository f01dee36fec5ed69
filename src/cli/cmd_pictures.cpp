#include "cli/commands.h"
#include "images/face_texture.h"
#include "images/game_folder.h"
#include "images/image_error.h"
#include "images/tga_reader.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <iostream>

namespace qb::cli {

int runFace(const std::string& gameFolder, int face, const std::string& out) {
    const auto archive = findArchive(gameFolderPath(gameFolder));
    if (!archive) {
        throw ImageError(gameFolder + ": no " + kArchiveRelative + " in this folder", gameFolder);
    }
    copyFaceToBmp(utf8Path(*archive), face, out);
    return 0;
}

int runTga(const std::string& in, const std::string& out) {
    TgaReader reader;
    reader.setScaleMode(0);
    reader.load(in);
    if (out.empty()) {
        std::cout << "width " << reader.width() << " height " << reader.height() << " bpp "
                  << reader.pixelDepth() << " compressed " << (reader.isCompressed() ? "yes" : "no")
                  << " tga " << (reader.isTga() ? "yes" : "no") << '\n';
        return 0;
    }
    if (!reader.bitmap()) {
        throw ImageError(in + ": no bitmap can be made of a TGA image of " +
                             std::to_string(reader.pixelDepth()) + " bits per pixel",
                         in);
    }
    writeSmallFile(out, bmpFileBytes(*reader.bitmap()));
    return 0;
}

} // namespace qb::cli
