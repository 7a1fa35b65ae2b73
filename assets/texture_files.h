#pragma once

#include <cstddef>

// The game's three pictures: their slots in the texture set and the files they are read
// from. This is the one list of those names: the texture generator draws them, the driver
// copies them and the build (CMakeLists.txt) reads them from here.
namespace texture {

enum slot : std::size_t { metal, sun, grass, count };

inline constexpr const char* fileNames[count] = {"metalTexture.bmp", "sunTexture.bmp", "grass.bmp"};

} // namespace texture
