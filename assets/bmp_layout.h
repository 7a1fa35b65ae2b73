#pragma once

#include <cstdint>

// The one layout of a BMP file that the game reads: a 14-byte file header, a 40-byte info
// header, then the pixels, each stored blue, green, red, rows padded to 4 bytes. The reader
// (assets/bmp.cpp), the texture generator (tools/texgen.cpp), the tests and the fuzzing
// harness all take it from here. Every number in a header is little-endian.
namespace bmp {

// Where a header field lies, in bytes from the start of the file, and its length in bytes.
struct field {
    uint32_t at, bytes;
};

// The file header.
inline constexpr field signature{0, 2}; // "BM"
inline constexpr field fileSize{2, 4};
inline constexpr field reserved{6, 4};
inline constexpr field pixelOffset{10, 4};
// The info header.
inline constexpr field infoSize{14, 4};
inline constexpr field width{18, 4}; // pixels
inline constexpr field height{22, 4};
inline constexpr field planes{26, 2};
inline constexpr field bitsPerPixel{28, 2};
inline constexpr field compression{30, 4};
inline constexpr field imageSize{34, 4};
inline constexpr field xPixelsPerMetre{38, 4};
inline constexpr field yPixelsPerMetre{42, 4};
inline constexpr field coloursUsed{46, 4};
inline constexpr field importantColours{50, 4};

constexpr uint32_t fileHeaderBytes = 14;
constexpr uint32_t infoHeaderBytes = 40;
// The game's pixels always start here, whatever the file's own pixel offset says.
constexpr uint32_t headerBytes = fileHeaderBytes + infoHeaderBytes;
static_assert(importantColours.at + importantColours.bytes == headerBytes);

constexpr uint16_t signatureValue = 0x4D42; // 'B' then 'M'
constexpr uint16_t requiredPlanes = 1;
constexpr uint16_t requiredBitsPerPixel = 24;
constexpr uint32_t bytesPerPixel = 3;
constexpr uint32_t rowAlignment = 4; // bytes

} // namespace bmp
