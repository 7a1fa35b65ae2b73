#include "tools/texgen.h"

#include "world/angles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

constexpr double twoPi = 2 * pi;

constexpr uint32_t metalSide = 128;
constexpr uint32_t sunSide = 128;
constexpr uint32_t grassSide = 64;

constexpr unsigned channels = 3;
constexpr double fullByte = 255.0;

// The generator is fixed-seeded, so every build draws the same pictures.
constexpr uint32_t metalSeed = 0x5EE1;
constexpr uint32_t sunSeed = 0x50A2;
constexpr uint32_t grassSeed = 0x6A55;

struct colour {
    double r, g, b;
};

colour mix(colour a, colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

colour scaled(colour c, double s) {
    return {c.r * s, c.g * s, c.b * s};
}

colour plus(colour a, colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

double smoothstep(double edge0, double edge1, double v) {
    const double t = std::clamp((v - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Uniform in [0, 1), computed by hand because the standard distributions may differ between
// library implementations while mt19937's raw output may not.
double unit(std::mt19937& rng) {
    constexpr double range = 4294967296.0;
    return rng() / range;
}

// Pixel storage for a picture being drawn, row 0 at the bottom.
class canvas {
  public:
    explicit canvas(uint32_t side) : pic{side, side, std::vector<unsigned char>(side * side * 3)} {}

    void set(uint32_t x, uint32_t y, colour c) {
        unsigned char* p = &pic.rgb[(y * pic.width + x) * channels];
        p[0] = toByte(c.r);
        p[1] = toByte(c.g);
        p[2] = toByte(c.b);
    }

    picture pic;

  private:
    static unsigned char toByte(double v) {
        return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0, 1.0) * fullByte));
    }
};

// A sum of plane waves whose whole numbers of cycles fit the tile, so the field wraps
// without a seam, and whose frequencies stop at maxCycles per tile. Amplitudes fall as
// 1 / frequency^falloff. Values are scaled into [-1, 1].
std::vector<double> waveField(uint32_t side, int maxCycles, double falloff, std::mt19937& rng) {
    struct wave {
        int kx, ky;
        double amplitude, phase;
    };
    std::vector<wave> waves;
    // Half the frequency plane: (kx, ky) and (-kx, -ky) are the same wave.
    for (int ky = 0; ky <= maxCycles; ++ky) {
        for (int kx = -maxCycles; kx <= maxCycles; ++kx) {
            const int squared = kx * kx + ky * ky;
            if (squared == 0 || squared > maxCycles * maxCycles || (ky == 0 && kx < 0)) {
                continue;
            }
            const double frequency = std::sqrt(static_cast<double>(squared));
            const double amplitude = (0.5 + unit(rng)) / std::pow(frequency, falloff);
            waves.push_back({kx, ky, amplitude, unit(rng) * twoPi});
        }
    }
    std::vector<double> field(side * side, 0.0);
    for (uint32_t y = 0; y < side; ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            double sum = 0;
            for (const wave& w : waves) {
                sum += w.amplitude * std::cos(twoPi * (w.kx * x + w.ky * y) / side + w.phase);
            }
            field[y * side + x] = sum;
        }
    }
    double peak = 0;
    for (double v : field) {
        peak = std::max(peak, std::abs(v));
    }
    for (double& v : field) {
        v /= peak;
    }
    return field;
}

// ---- Brushed metal ----

constexpr colour steel = {0.66, 0.69, 0.74};
// Half-width in pixels of the box blur that draws the noise out into brush strokes.
constexpr int strokeRadius = 14;
constexpr double strokeContrast = 0.14;
constexpr double bandContrast = 0.06;
constexpr int bandCycles = 3;
constexpr double bandFalloff = 1.0;
// A soft highlight across the strokes, leaning as it climbs, and a shadow opposite it.
constexpr double sheenStrength = 0.22;
constexpr double sheenWidth = 0.16;
constexpr double sheenCentre = 0.36;
constexpr double sheenLean = 0.18;
constexpr double shadeStrength = 0.12;
constexpr double shadeCentre = 0.82;
constexpr double shadeWidth = 0.2;
// The rim is lit from the top left; widths in pixels.
constexpr double rimWidth = 5;
constexpr double rimLight = 0.16;
constexpr double rimDark = 0.20;
constexpr double rivetInset = 12;
constexpr double rivetRadius = 4;
constexpr double rivetLight = 0.35;
constexpr double rivetLift = 0.05;
// The dark ring around a rivet reaches 1.2 radii (1.44 in squared radii).
constexpr double ringOuter = 1.44;
constexpr double ringInner = 0.8;
constexpr double ringDark = 0.3;
// Weight of the top-left direction in the rivet's lighting: 1 / sqrt(2), rounded.
constexpr double topLeft = 0.7;

// Brush strokes: white noise smeared along each row, wrapping, so it reads as fine lines
// running across the plate.
std::vector<double> strokes(uint32_t side, std::mt19937& rng) {
    std::vector<double> noise(side * side);
    for (double& v : noise) {
        v = unit(rng) * 2 - 1;
    }
    std::vector<double> out(side * side);
    const int n = static_cast<int>(side);
    const double norm = std::sqrt(2.0 * strokeRadius + 1);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            double sum = 0;
            for (int d = -strokeRadius; d <= strokeRadius; ++d) {
                sum += noise[y * n + (x + d + n) % n];
            }
            out[y * n + x] = std::clamp(sum / norm, -2.0, 2.0) / 2;
        }
    }
    return out;
}

// Brightness change of the bevelled rim at (x, y), lit from the top left.
double rim(double x, double y, double side) {
    const double fromLeft = x + 0.5;
    const double fromTop = side - (y + 0.5);
    const double fromRight = side - (x + 0.5);
    const double fromBottom = y + 0.5;
    const double lit = std::min(fromLeft, fromTop);
    const double dark = std::min(fromRight, fromBottom);
    if (lit <= dark) {
        return rimLight * (1 - smoothstep(rimWidth - 1, rimWidth + 1, lit));
    }
    return -rimDark * (1 - smoothstep(rimWidth - 1, rimWidth + 1, dark));
}

// Brightness change of a domed rivet, or 0 away from every rivet.
double rivets(double x, double y, double side) {
    const double centres[] = {rivetInset, side - rivetInset};
    for (double cx : centres) {
        for (double cy : centres) {
            const double dx = (x + 0.5 - cx) / rivetRadius;
            const double dy = (y + 0.5 - cy) / rivetRadius;
            const double r2 = dx * dx + dy * dy;
            if (r2 < ringOuter) {
                // Dome lit from the top left, with a dark ring where it meets the plate.
                const double dome = std::sqrt(std::max(0.0, 1 - r2));
                const double facing = (-dx + dy) * topLeft;
                const double ring =
                    smoothstep(ringInner, 1.0, r2) * (1 - smoothstep(1.0, ringOuter, r2));
                const double head = r2 < 1 ? rivetLight * facing * dome + rivetLift : 0;
                return head - ringDark * ring;
            }
        }
    }
    return 0;
}

// ---- Sun ----

constexpr double discRadius = 0.44; // of the half side
constexpr double limbDarkening = 0.2;
constexpr double granuleContrast = 0.05;
constexpr int granuleCycles = 9;
constexpr double coronaFalloff = 0.17; // half sides per e-fold
constexpr double discEdgePixels = 1.5;
constexpr double granuleFalloff = 0.6;
// Two sets of rays of different counts overlap into an uneven crown.
constexpr int rayCountA = 12;
constexpr int rayCountB = 7;
constexpr double rayFloor = 0.55;
constexpr double rayWeightA = 0.3;
constexpr double rayWeightB = 0.25;
constexpr double coronaGain = 1.2;
constexpr colour sunCore = {1.0, 0.96, 0.62};
constexpr colour sunLimb = {1.0, 0.56, 0.08};
constexpr colour coronaInner = {1.0, 0.62, 0.12};
constexpr colour coronaOuter = {0.70, 0.16, 0.03};
constexpr colour space = {0.30, 0.07, 0.03};

// ---- Grass ----

constexpr colour grassShade = {0.21, 0.45, 0.12};
constexpr colour grassLit = {0.40, 0.70, 0.21};
constexpr colour grassDry = {0.58, 0.64, 0.27};
constexpr int patchCycles = 4;
constexpr int dryCycles = 2;
constexpr double patchFalloff = 0.4;
constexpr double dryFalloff = 1.4;
constexpr double dryShare = 0.55;

// ---- BMP ----

constexpr uint32_t pixelsPerMetre = 2835; // 72 dots per inch

} // namespace

picture metalPicture() {
    std::mt19937 rng(metalSeed);
    const std::vector<double> fine = strokes(metalSide, rng);
    const std::vector<double> bands = waveField(metalSide, bandCycles, bandFalloff, rng);
    const double side = metalSide;
    canvas c(metalSide);
    for (uint32_t y = 0; y < metalSide; ++y) {
        for (uint32_t x = 0; x < metalSide; ++x) {
            const double u = (x + 0.5) / side;
            const double v = (y + 0.5) / side;
            const double sheenAt = sheenCentre + sheenLean * v;
            const double sheen = std::exp(-std::pow((u - sheenAt) / sheenWidth, 2));
            const double shade =
                std::exp(-std::pow((u - shadeCentre - sheenLean * v) / shadeWidth, 2));
            // Strokes follow the rows: only the row's own band matters, not the column's.
            const double band = bands[y * metalSide];
            double light = 1 + strokeContrast * fine[y * metalSide + x] + bandContrast * band +
                           sheenStrength * sheen - shadeStrength * shade;
            light += rim(x, y, side) + rivets(x, y, side);
            c.set(x, y, scaled(steel, light));
        }
    }
    return c.pic;
}

picture sunPicture() {
    std::mt19937 rng(sunSeed);
    const std::vector<double> granules = waveField(sunSide, granuleCycles, granuleFalloff, rng);
    const double rayPhaseA = unit(rng) * twoPi;
    const double rayPhaseB = unit(rng) * twoPi;
    const double half = sunSide / 2.0;
    const double edge = discEdgePixels / half;
    canvas c(sunSide);
    for (uint32_t y = 0; y < sunSide; ++y) {
        for (uint32_t x = 0; x < sunSide; ++x) {
            const double dx = (x + 0.5 - half) / half;
            const double dy = (y + 0.5 - half) / half;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double angle = std::atan2(dy, dx);

            // Corona: an exponential glow broken into uneven rays.
            const double rays =
                rayFloor + rayWeightA * std::max(0.0, std::cos(rayCountA * angle + rayPhaseA)) +
                rayWeightB * std::max(0.0, std::cos(rayCountB * angle + rayPhaseB));
            const double glow = std::exp(-std::max(0.0, r - discRadius) / coronaFalloff) * rays;
            const colour corona = mix(coronaOuter, coronaInner, std::min(1.0, glow));
            const colour sky = plus(space, scaled(corona, std::min(1.0, glow * coronaGain)));

            // Disc: bright core darkening towards the limb, with faint granules.
            const double across = std::min(1.0, r / discRadius);
            const double depth = std::sqrt(1 - across * across);
            const colour body = mix(sunLimb, sunCore, depth);
            const double light = (1 - limbDarkening * (1 - depth)) *
                                 (1 + granuleContrast * granules[y * sunSide + x]);
            const colour disc = scaled(body, light);

            const double inside = 1 - smoothstep(discRadius - edge, discRadius + edge, r);
            c.set(x, y, mix(sky, disc, inside));
        }
    }
    return c.pic;
}

picture grassPicture() {
    std::mt19937 rng(grassSeed);
    const std::vector<double> patches = waveField(grassSide, patchCycles, patchFalloff, rng);
    const std::vector<double> dryness = waveField(grassSide, dryCycles, dryFalloff, rng);
    canvas c(grassSide);
    for (uint32_t y = 0; y < grassSide; ++y) {
        for (uint32_t x = 0; x < grassSide; ++x) {
            const size_t i = y * grassSide + x;
            const colour green = mix(grassShade, grassLit, 0.5 + 0.5 * patches[i]);
            c.set(x, y, mix(green, grassDry, dryShare * std::max(0.0, dryness[i])));
        }
    }
    return c.pic;
}

picture texturePicture(texture::slot slot) {
    picture (*const draw[texture::count])() = {metalPicture, sunPicture, grassPicture};
    return draw[slot]();
}

void putBmpField(std::vector<unsigned char>& file, bmp::field f, uint32_t value) {
    for (uint32_t i = 0; i < f.bytes; ++i) {
        file[f.at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// Compression, colours used and important colours stay 0: none, all of them.
std::vector<unsigned char> encodeBmp(const picture& pic) {
    using bmp::headerBytes, bmp::rowAlignment;
    const uint32_t rowBytes =
        (pic.width * channels + rowAlignment - 1) / rowAlignment * rowAlignment;
    const uint32_t pixelBytes = rowBytes * pic.height;

    std::vector<unsigned char> out(headerBytes);
    out.reserve(headerBytes + pixelBytes);
    putBmpField(out, bmp::signature, bmp::signatureValue);
    putBmpField(out, bmp::fileSize, headerBytes + pixelBytes);
    putBmpField(out, bmp::pixelOffset, headerBytes);
    putBmpField(out, bmp::infoSize, bmp::infoHeaderBytes);
    putBmpField(out, bmp::width, pic.width);
    putBmpField(out, bmp::height, pic.height); // positive: rows run bottom-up
    putBmpField(out, bmp::planes, bmp::requiredPlanes);
    putBmpField(out, bmp::bitsPerPixel, bmp::requiredBitsPerPixel);
    putBmpField(out, bmp::imageSize, pixelBytes);
    putBmpField(out, bmp::xPixelsPerMetre, pixelsPerMetre);
    putBmpField(out, bmp::yPixelsPerMetre, pixelsPerMetre);

    for (uint32_t y = 0; y < pic.height; ++y) {
        const unsigned char* row = &pic.rgb[y * pic.width * channels];
        for (uint32_t x = 0; x < pic.width; ++x) {
            const unsigned char* p = row + x * channels;
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
        out.resize(out.size() + (rowBytes - pic.width * channels), 0);
    }
    return out;
}

bool writeBmp(const std::string& path, const picture& pic) {
    const std::vector<unsigned char> bytes = encodeBmp(pic);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), bytes.size(), 1, file) == 1;
    return std::fclose(file) == 0 && written;
}
