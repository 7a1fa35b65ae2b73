#pragma once

#include <cstddef>

// The fixed geometry of the ships, in model space: model +Z is the nose. The draw members
// in assets/models.cpp emit it; the benchmarks' floor draws the same cube with its own code.
namespace model {

struct point {
    float x, y, z;
};

struct colour {
    float r, g, b;
};

struct cubeFace {
    colour tint;
    point corners[4];
};

// Ships are unit cubes centred this high above the ground, in world units.
constexpr float shipHeight = 5.0f;
constexpr float shipHalfEdge = 0.5f;
// The player's ship lets the scene behind it show through; the others are opaque.
constexpr float playerAlpha = 0.4f;
constexpr float opaqueAlpha = 1.0f;

// The windings differ from face to face; culling is never on, so every face shows all the
// same. The top face comes first.
constexpr std::size_t faceCount = 6;
inline constexpr cubeFace cubeFaces[faceCount] = {
    // top, green
    {{0, 1, 0},
     {{0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}}},
    // bottom, orange
    {{1, 0.5f, 0},
     {{0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}}},
    // nose, red
    {{1, 0, 0},
     {{0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}}},
    // tail, yellow
    {{1, 1, 0},
     {{0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}}},
    // -X side, blue
    {{0, 0, 1},
     {{-0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, 0.5f}}},
    // +X side, magenta
    {{1, 0, 1},
     {{0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, -0.5f}}},
};

// Each face maps the whole texture once.
inline constexpr float faceTexCoords[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

} // namespace model
