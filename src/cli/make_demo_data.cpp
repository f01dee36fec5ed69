// Writes the built-in demo roster (demo.pak) and demo saved game (demo.sav).
#include "codecs/demo_roster.h"
#include "player/demo_files.h"
#include "system/errors.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: quillbay-demo-data FOLDER\n";
        return 2;
    }
    try {
        qb::writeDemoFiles(argv[1]);
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
