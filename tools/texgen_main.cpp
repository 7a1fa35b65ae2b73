// Draws the game's three textures into the directory given, where the game reads them from
// its working directory.
#include "tools/texgen.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    struct output {
        const char* name;
        picture (*draw)();
    };
    const output outputs[] = {
        {"metalTexture.bmp", metalPicture},
        {"sunTexture.bmp", sunPicture},
        {"grass.bmp", grassPicture},
    };
    for (const output& out : outputs) {
        const std::string path = dir + "/" + out.name;
        if (!writeBmp(path, out.draw())) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
