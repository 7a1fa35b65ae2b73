#include "tests/e2e/scene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "render/font.h"

namespace scene {

namespace {

constexpr double pi = 3.141592653589793;

// Focal length of the perspective: cot(half the vertical field of view).
double focal() {
    return 1.0 / std::tan(fovY / 2 * pi / 180);
}

} // namespace

windowPoint project(double dX, double dZ, double altitude, int width, int height) {
    const double depth = eyeHeight - altitude;
    const double ndcX = focal() / aspect * dZ / depth;
    const double ndcY = focal() * dX / depth;
    return {(ndcX + 1) / 2 * width, height - (ndcY + 1) / 2 * height};
}

std::pair<double, double> groundUnder(int col, int row, int width, int height) {
    const double ndcX = 2 * (col + 0.5) / width - 1;
    const double ndcY = 2 * (height - (row + 0.5)) / height - 1;
    return {ndcY * eyeHeight / focal(), ndcX * eyeHeight * aspect / focal()};
}

double fogFactor(double distance, double fogStart) {
    return std::clamp((fogEnd - distance) / (fogEnd - fogStart), 0.0, 1.0);
}

double lightAt(double dX, double dZ, double altitude) {
    const double up = eyeHeight - altitude;
    const double toLight = std::sqrt((lightAhead - dX) * (lightAhead - dX) + up * up + dZ * dZ);
    return std::min(1.0, ambient + up / toLight);
}

std::pair<double, double> bareGround(int col, int row, double playerX, double playerZ,
                                     double fogStart) {
    const auto [dX, dZ] = groundUnder(col, row);
    const double x0 = std::floor((playerX + dX) / groundCell) * groundCell;
    const double z0 = std::floor((playerZ + dZ) / groundCell) * groundCell;
    double lo = 1, hi = 0;
    for (double cx : {x0, x0 + groundCell}) {
        for (double cz : {z0, z0 + groundCell}) {
            const double l = lightAt(cx - playerX, cz - playerZ, 0);
            lo = std::min(lo, l);
            hi = std::max(hi, l);
        }
    }
    const double f = fogFactor(eyeHeight, fogStart) * 255;
    return {lo * f, hi * f};
}

bool glyphBit(char letter, int b, int r) {
    if (letter < 'A' || letter > 'Z') {
        return false;
    }
    return (glyphs[letter - 'A'][r] >> (7 - b) & 1) != 0;
}

bool near(rgb p, rgb q, int tolerance) {
    return std::abs(p.r - q.r) <= tolerance && std::abs(p.g - q.g) <= tolerance &&
           std::abs(p.b - q.b) <= tolerance;
}

bool isClearColour(rgb p) {
    // 0.1 of full scale is 25.5 levels, which a renderer may round either way.
    return p.r <= 1 && p.g >= 24 && p.g <= 27 && p.b >= 24 && p.b <= 27;
}

bool isGrey(rgb p, int lo, int hi) {
    return std::abs(p.r - p.g) <= 3 && std::abs(p.g - p.b) <= 3 && p.g >= lo && p.g <= hi;
}

bool isGreenTinted(rgb p) {
    return p.g - (p.r + p.b) / 2 > 40;
}

gameSession::options withTextures(const std::vector<std::string>& files) {
    gameSession::options o;
    o.binary = SKYHUNT_GAME;
    o.textures = files;
#ifdef SKYHUNT_PIN_DRIVER
    o.env.emplace_back("LD_PRELOAD", SKYHUNT_PIN_DRIVER);
#endif
    return o;
}

std::string builtTexture(const std::string& file) {
    return (std::filesystem::path(SKYHUNT_GAME).parent_path() / file).string();
}

} // namespace scene
