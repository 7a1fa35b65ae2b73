#pragma once

// What the game's fixed camera, fog, light and overlay make of the world, worked out from
// the game's constants, so that screenshots are checked against arithmetic rather than
// against stored pictures that any harmless change would break.

#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/harness/harness.h"

namespace scene {

constexpr int windowWidth = 800; // the first window, and the overlay's coordinate space
constexpr int windowHeight = 600;
constexpr double eyeHeight = 16; // the camera looks straight down from here, world units
constexpr double fovY = 100;     // degrees
constexpr double aspect = 1.4;   // kept whatever the window's shape
constexpr double fogEnd = 20;    // world units from the eye
constexpr double fogAtLaunch = 10;
constexpr double fogStep = 5;     // per press of o or p
constexpr double lightAhead = 10; // the light hangs 10 units toward screen-up of the eye
constexpr double ambient = 0.2;   // light-model ambient, the only light besides light 0
constexpr double shipCentre = 5;  // height of a ship's centre
constexpr double shipHalf = 0.5;  // half the cube's edge
constexpr double projectileHeight = 10;
constexpr double playerAlpha = 0.4;
constexpr double groundCell = 8; // grid spacing of the ground's quads, world units
// The overlay: baselines in the 800x600 space, glyph cells 10 pixels apart, glyphs 8 x 13
// drawn from 2 pixels below the baseline.
constexpr int livesX = 5, livesY = 550, scoreX = 5, scoreY = 570;
constexpr int glyphAdvance = 10, glyphWidth = 8, glyphRows = 13, glyphDrop = 2;

// A point of the window in pixels: columns from the left edge, rows down from the top
// edge; pixel (c, r) covers [c, c + 1) x [r, r + 1).
struct windowPoint {
    double col, row;
};

// Where a point seen from the camera lands: dX world units toward screen-up (world +X)
// and dZ toward screen-right (world +Z) of the player, at a height above the ground.
windowPoint project(double dX, double dZ, double altitude, int width = windowWidth,
                    int height = windowHeight);
// The ground point (dX, dZ), relative to the player, that the centre of a pixel shows.
std::pair<double, double> groundUnder(int col, int row, int width = windowWidth,
                                      int height = windowHeight);

// Linear fog's share of the surface's own colour at an eye distance, clamped to [0, 1].
double fogFactor(double distance, double fogStart);
// Ambient plus diffuse light on an upward-facing point, clamped to 1, for a point dX, dZ
// from the player at a height.
double lightAt(double dX, double dZ, double altitude);

// The brightness (0 to 255, equal in the three channels) of untextured ground at a pixel:
// flat shading lights a whole grid cell from one of its corners, so the range spans them.
std::pair<double, double> bareGround(int col, int row, double playerX, double playerZ,
                                     double fogStart);

// Compares overlay text against the game's glyph table. The raster position is in window
// pixels, rows counted up from the bottom edge as OpenGL counts them. Counts the glyph
// pixels whose inkiness (by the predicate) disagrees with the table.
template <typename inkTest>
int textMismatches(const screenshot& s, const std::string& text, int rasterCol, int rasterRow,
                   inkTest isInk);
// Whether a set bit of the table lies at column b, row r (bottom row 0) of a letter.
bool glyphBit(char letter, int b, int r);

// Colour tests for the picture's parts.
bool near(rgb p, rgb q, int tolerance);
bool isClearColour(rgb p); // the dark teal behind everything, seen only between wireframe lines
bool isGrey(rgb p, int lo, int hi);
bool isGreenTinted(rgb p); // the translucent green top of the player's cube

// Launch options for the game under test with these image files in its working directory.
gameSession::options withTextures(const std::vector<std::string>& files);
// The game's image files as the build drew them.
std::string builtTexture(const std::string& file);

} // namespace scene

template <typename inkTest>
int scene::textMismatches(const screenshot& s, const std::string& text, int rasterCol,
                          int rasterRow, inkTest isInk) {
    int wrong = 0;
    for (size_t k = 0; k < text.size(); ++k) {
        for (int r = 0; r < glyphRows; ++r) {
            for (int b = 0; b < glyphWidth; ++b) {
                const int col = rasterCol + static_cast<int>(k) * glyphAdvance + b;
                const int row = s.height - 1 - (rasterRow - glyphDrop + r);
                if (col < 0 || row < 0 || col >= s.width || row >= s.height) {
                    ++wrong;
                    continue;
                }
                wrong += isInk(s.at(col, row)) != glyphBit(text[k], b, r) ? 1 : 0;
            }
        }
    }
    return wrong;
}
