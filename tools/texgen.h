#pragma once

#include "assets/bmp_layout.h"
#include "assets/texture_files.h"

#include <cstdint>
#include <string>
#include <vector>

// One generated picture: tightly packed red, green, blue bytes, row 0 at the bottom (the
// first row of the file and of the OpenGL texture).
struct picture {
    uint32_t width;
    uint32_t height;
    std::vector<unsigned char> rgb;
};

// The player's ship: a brushed steel plate with a bevelled rim, 128 x 128.
picture metalPicture();
// The enemy ship and the bullets: a glowing sun with a rayed corona, 128 x 128.
picture sunPicture();
// The ground and the wingman: soft grass that tiles without a seam, 64 x 64. It is laid
// once per world unit and seen at about 16 screen pixels per unit without mipmaps, so it
// holds no detail finer than 4 cycles per tile.
picture grassPicture();
// The picture drawn for a slot of the texture set.
picture texturePicture(texture::slot slot);

// The whole file, laid out as assets/bmp_layout.h says: the header, then the rows bottom-up
// as blue, green, red, each padded to a multiple of 4 bytes.
std::vector<unsigned char> encodeBmp(const picture& pic);
// Writes a header field, little-endian, into a file at least a header long.
void putBmpField(std::vector<unsigned char>& file, bmp::field f, uint32_t value);

// Writes the picture as a BMP file; false when the file cannot be written.
bool writeBmp(const std::string& path, const picture& pic);
