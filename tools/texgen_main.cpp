// Draws the game's three textures into the directory given, where the game reads them from
// its working directory first.
#include "assets/texture_files.h"
#include "tools/texgen.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    for (std::size_t slot = 0; slot < texture::count; ++slot) {
        const std::string path = dir + "/" + texture::fileNames[slot];
        if (!writeBmp(path, texturePicture(texture::slot(slot)))) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
