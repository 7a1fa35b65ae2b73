// The real game as a player meets it, its pictures checked against what the game is
// described to show, never stored pictures. A session costs the most to start, so the tests
// of one suite share one.
#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "assets/data_path.h"
#include "render/font.h"
#include "tests/support/expected.h"
#include "tools/driver/proc.h"
#include "tools/driver/session.h"
#include "tools/texgen.h"

using namespace std::chrono_literals;

namespace {

const double focal = 1 / std::tan(expected::fieldOfView / 2 * std::acos(-1.0) / 180);

// The start-up lines of a game that reads all three files from the folder given.
std::string loadedFrom(const std::string& folder) {
    std::string out = "Loading textures";
    for (std::size_t slot = 0; slot < texture::count; ++slot) {
        const std::string path = folder + textureFiles[slot],
                          side = std::to_string(texturePicture(texture::slot(slot)).width);
        out += "Width of " + path + ": " + side + "\nHeight of " + path + ": " + side + "\n.";
    }
    return out + ".done.";
}

gameSession::options withTextures(std::vector<std::string> files,
                                  std::string binary = SKYHUNT_GAME) {
    gameSession::options o;
    o.binary = std::move(binary);
    o.textures = std::move(files);
#ifdef SKYHUNT_PIN_DRIVER
    o.env.emplace_back("LD_PRELOAD", SKYHUNT_PIN_DRIVER);
#endif
    return o;
}

double fogFactor(double distance, double fogStart) {
    return std::clamp((expected::fogEnd - distance) / (expected::fogEnd - fogStart), 0.0, 1.0);
}

// The lowest and highest ambient plus diffuse light on the corners of an upward-facing
// square, flat shading lighting a face from one of them. Light 0 stands toward screen-up of
// the eye; the ambient is the only other light.
std::pair<double, double> cornerLight(double x0, double z0, double side, double altitude) {
    const double up = expected::cameraHeight - altitude, lightUp = expected::lightPosition[1];
    double lo = 1, hi = 0;
    for (double x : {x0, x0 + side}) {
        for (double z : {z0, z0 + side}) {
            const double light =
                std::min(1.0, expected::ambient + up / std::hypot(lightUp - x, up, z));
            lo = std::min(lo, light);
            hi = std::max(hi, light);
        }
    }
    return {lo, hi};
}

// The brightness range (0 to 255) of untextured ground at a pixel, player at the origin.
std::pair<double, double> bareGround(int col, int row, double fogStart) {
    const double cell = expected::groundCell;
    const double dX =
        (1 - 2 * (row + 0.5) / expected::windowHeight) * expected::cameraHeight / focal;
    const double dZ = (2 * (col + 0.5) / expected::windowWidth - 1) * expected::cameraHeight *
                      expected::aspect / focal;
    const auto [lo, hi] =
        cornerLight(std::floor(dX / cell) * cell, std::floor(dZ / cell) * cell, cell, 0);
    return {lo * fogFactor(expected::cameraHeight, fogStart) * 255,
            hi * fogFactor(expected::cameraHeight, fogStart) * 255};
}

bool isGrey(rgb p, double lo, double hi) {
    return std::abs(p.r - p.g) <= 3 && std::abs(p.g - p.b) <= 3 && p.g >= lo && p.g <= hi;
}
// The dark teal behind everything: 0.1 of full scale may round either way.
bool isClearColour(rgb p) {
    return p.r <= 1 && p.g >= 24 && p.g <= 27 && p.b >= 24 && p.b <= 27;
}
double clearShare(const screenshot& s) {
    return std::count_if(s.pixels.begin(), s.pixels.end(), isClearColour) /
           std::max(1.0, static_cast<double>(s.pixels.size()));
}
bool wireframe(const screenshot& s) {
    return clearShare(s) > 0.8;
}

// Pixels of white overlay text that disagree with the game's glyph table, drawn from a
// baseline counted up from the bottom edge.
int textMismatches(const screenshot& s, const std::string& text, int x, int y) {
    int wrong = 0;
    for (int k = 0; k < static_cast<int>(text.size()); ++k) {
        for (int r = 0; r < expected::glyphHeight; ++r) {
            for (int b = 0; b < expected::glyphWidth; ++b) {
                const int col = x + k * expected::glyphAdvance + b;
                const rgb p = s.at(col, s.height - 1 - (y - expected::glyphDescent + r));
                const bool ink = (glyphs[text[k] - 'A'][r] >> (7 - b) & 1) != 0;
                wrong += (std::min({p.r, p.g, p.b}) >= 253) != ink ? 1 : 0;
            }
        }
    }
    return wrong;
}

// Share of the ground samples, clear of the overlay and the player's cube, that pass the
// test; the AI ships cover a few.
template <typename test>
double groundShare(const screenshot& s, test passes) {
    int samples = 0, passing = 0;
    for (int row = 5; row < s.height; row += 20) {
        for (int col = 5; col < s.width; col += 20) {
            if ((row >= 70 || col >= 70) &&
                (std::abs(row - 300) >= 30 || std::abs(col - 400) >= 30)) {
                passing += passes(col, row) ? 1 : 0;
                ++samples;
            }
        }
    }
    return static_cast<double>(passing) / std::max(1, samples);
}

// Share of the ground that is bare ground fogged from this start and lit from ahead.
double groundFit(const screenshot& s, double fogStart) {
    return groundShare(s, [&](int col, int row) {
        const auto [lo, hi] = bareGround(col, row, fogStart);
        return isGrey(s.at(col, row), lo - 3, hi + 3);
    });
}

// A pixel just off the window's centre, under the player's cube top: 0.4 of its lit, fogged
// green over 0.6 of the ground beneath.
bool showsTheCube(const screenshot& s) {
    const auto [lo, hi] = cornerLight(-0.5, -0.5, 1, expected::shipTop);
    const auto [groundLo, groundHi] = bareGround(403, 296, expected::fogStart);
    const double under = 1 - expected::playerAlpha;
    const double green = fogFactor(expected::cameraHeight - expected::shipTop, expected::fogStart) *
                         255 * expected::playerAlpha;
    const rgb p = s.at(403, 296);
    const auto within = [](int v, double from, double to) { return v >= from - 3 && v <= to + 3; };
    return std::abs(p.r - p.b) <= 2 && within(p.r, under * groundLo, under * groundHi) &&
           within(p.g, lo * green + under * groundLo, hi * green + under * groundHi);
}

// How far the wireframe ground slid between two pictures, in pixels right or down: the shift
// that best lines up their lines, which lie over 100 pixels apart.
int slide(const screenshot& a, const screenshot& b, bool down) {
    std::pair<long, int> best{LONG_MAX, 0}; // the fewest disagreeing pixels, at that shift
    for (int d = -50; d <= 50; ++d) {
        long wrong = 0;
        for (int row = 50; row < a.height - 50; row += down ? 1 : 4) {
            for (int col = 50; col < a.width - 50; col += down ? 4 : 1) {
                wrong += isClearColour(a.at(col, row)) !=
                         isClearColour(down ? b.at(col, row + d) : b.at(col + d, row));
            }
        }
        best = std::min(best, {wrong, d});
    }
    return best.second;
}

// Processor seconds a second the game takes over three seconds hidden, as a minimised window
// is, before it is shown again; 1 if the process's figures cannot be read.
double hiddenLoad(gameSession& game) {
    game.setMapped(false);
    std::this_thread::sleep_for(500ms);
    const auto from = readProcessFigures(game.pid());
    std::this_thread::sleep_for(3s);
    const auto to = readProcessFigures(game.pid());
    game.setMapped(true);
    return from && to ? (to->cpuSeconds - from->cpuSeconds) / 3 : 1;
}

// The slide over half a second of play.
int groundSlide(gameSession& game, bool down) {
    std::this_thread::sleep_for(300ms);
    const screenshot a = game.capture();
    std::this_thread::sleep_for(500ms);
    return slide(a, game.capture(), down);
}

} // namespace

// One game with the metal file missing, so nothing is textured, started by a relative path.
// The tests share it while each leaves it as it found it (filled, 800 by 600, at rest at the
// start); one that moves the ship, resizes the window or quits leaves it spent, and the next
// test starts a new game, so any test passes alone or in any order.
class UntexturedGame : public testing::Test {
  protected:
    static void TearDownTestSuite() { game.reset(); }
    void SetUp() override {
        if (!game || spent || !game->running()) {
            auto o = withTextures({expected::sunFile, expected::grassFile});
            o.relativePath = true;
            game = std::make_unique<gameSession>(o);
            spent = false;
            ASSERT_TRUE(game->awaitFirstFrame()) << game->errors();
        }
        ASSERT_TRUE(game->running()) << game->errors();
    }

    static inline std::unique_ptr<gameSession> game;
    static inline bool spent = false;
};

// The window takes the path it was started by as its title.
TEST_F(UntexturedGame, OpensItsWindowTitledAsInvokedAtItsPlaceAndSize) {
    EXPECT_EQ(game->title(), game->invokedAs());
    const auto g = game->windowGeometry();
    EXPECT_EQ(std::vector<int>({g.width, g.height, g.x, g.y}),
              std::vector<int>({expected::windowWidth, expected::windowHeight, expected::windowLeft,
                                expected::windowTop}));
}

// Every colour of the untextured picture follows from the camera, the light and the fog.
TEST_F(UntexturedGame, DrawsTheLabelsTheShipAndTheGroundAsDescribed) {
    const screenshot s = game->capture();
    EXPECT_EQ(textMismatches(s, "LIVES", expected::labelLeft, expected::livesBaseline), 0);
    EXPECT_EQ(textMismatches(s, "SCORE", expected::labelLeft, expected::scoreBaseline), 0);
    EXPECT_TRUE(showsTheCube(s));
    EXPECT_GE(groundFit(s, expected::fogStart), 0.97);
}

// T draws lines, with the clear colour between them. Hidden, the game draws nothing and
// sleeps; shown again, it draws again.
TEST_F(UntexturedGame, DrawsLinesAfterTAndSleepsWhileHidden) {
    game->press({"T"});
    ASSERT_TRUE(wireframe(game->awaitShot(wireframe, 5s)));
    EXPECT_LT(hiddenLoad(*game), 0.02);
    EXPECT_TRUE(wireframe(game->awaitShot(wireframe, 5s)));
    game->press({"t"});
    spent = clearShare(game->awaitShot([](auto& x) { return clearShare(x) < 0.01; }, 5s)) >= 0.01;
}

// Drawn as lines: at speed 0.05 and heading 0 the ground slides left under the centred ship;
// nine turns to the left make heading 90, world +X, and it slides down. t fills again.
TEST_F(UntexturedGame, TheGroundSlidesUnderTheShipAsItFliesAndTurns) {
    spent = true;
    game->press({"T"});
    ASSERT_TRUE(wireframe(game->awaitShot(wireframe, 5s)));
    game->press({"w", "W", "w", "W", "w"});
    EXPECT_LT(groundSlide(*game, false), -5);
    game->press({"a", "A", "a", "A", "a", "a", "a", "a", "a"});
    EXPECT_GT(groundSlide(*game, true), 5);
    game->press({"t"});
    EXPECT_LT(clearShare(game->awaitShot([](auto& x) { return clearShare(x) < 0.01; }, 5s)), 0.01);
}

// Ground in the far corner, the cube at the centre, whatever the window's size.
TEST_F(UntexturedGame, ThePictureStretchesWithTheWindow) {
    spent = true;
    for (auto [w, h] : {std::pair{640, 480}, {960, 700}}) {
        game->resize(w, h);
        const auto fills = [w = w, h = h](const screenshot& x) {
            const rgb centre = x.at(w / 2, h / 2);
            return x.width == w && x.height == h && centre.g - (centre.r + centre.b) / 2 > 40 &&
                   isGrey(x.at(w - 3, 3), 20, 255);
        };
        EXPECT_TRUE(fills(game->awaitShot(fills, 10s))) << w << "x" << h;
    }
}

// The first file that fails ends the loading: the other two are never opened. Standard
// error names every folder searched.
TEST_F(UntexturedGame, EscapeQuitsAndTheOutputTellsOfTheMissingFile) {
    EXPECT_EQ(game->quit(), 0);
    EXPECT_EQ(game->output(),
              "Loading texturesFile Not Found : " + std::string(expected::metalFile) + "\n");
    const std::string searched =
        "skyhunt: " + std::string(expected::metalFile) +
        " is in none of: the working directory, $SKYHUNT_DATADIR (not set), ";
    EXPECT_EQ(game->errors().rfind(searched, 0), 0u) << game->errors();
}

// Textured, the ground is no longer the untextured model's plain grey: every game draws the
// build's own first picture and darkens it on a fog key. The files lie beside the game, in
// $SKYHUNT_DATADIR (the build's), in the data folder of the installed game $SKYHUNT_INSTALLED_GAME
// (the unpacked .deb), or beside the Windows games of $SKYHUNT_WINDOWS_GAMES, run under Wine.
TEST(Installed, TheGameFindsItsTexturesFromAnyFolderDrawsTheSameGroundAndQuitsCleanly) {
    namespace fs = std::filesystem;
    const std::string build = fs::path(SKYHUNT_GAME).parent_path().string() + "/";
    // How each game starts, and the folder it prints for the files it reads.
    std::vector<std::pair<gameSession::options, std::string>> starts = {
        {withTextures(textureFiles), ""}, {withTextures({}), build}};
    starts[1].first.env.emplace_back(dataDirVariable, build);
    if (const char* installed = std::getenv("SKYHUNT_INSTALLED_GAME")) {
        const fs::path data = fs::path(installed).parent_path() / SKYHUNT_DATA_FROM_GAME;
        starts.emplace_back(withTextures({}, installed), fs::canonical(data).string() + "/");
    }
    const char *windows = std::getenv("SKYHUNT_WINDOWS_GAMES"), *wine = std::getenv("SKYHUNT_WINE");
    std::istringstream windowsGames(windows != nullptr ? windows : "");
    for (std::string game; std::getline(windowsGames, game, ':');) {
        // Wine shows the Linux root as drive Z:.
        std::string folder = "Z:" + fs::path(game).parent_path().string() + "/";
        std::replace(folder.begin(), folder.end(), '/', '\\');
        starts.emplace_back(withTextures({}, game), folder);
        starts.back().first.launcher = {wine != nullptr ? wine : "wine"};
    }
    screenshot first;
    for (const auto& [how, folder] : starts) {
        gameSession game(how);
        ASSERT_TRUE(game.awaitFirstFrame()) << folder << ": " << game.errors();
        const screenshot shot = game.capture();
        first = first.pixels.empty() ? shot : first;
        const auto likeFirst = [&](const screenshot& x) {
            return groundShare(x, [&](int col, int row) {
                       const rgb p = x.at(col, row), q = first.at(col, row);
                       return std::max({std::abs(p.r - q.r), std::abs(p.g - q.g),
                                        std::abs(p.b - q.b)}) <= 4;
                   }) >= 0.9;
        };
        EXPECT_TRUE(groundFit(shot, expected::fogStart) < 0.2 && likeFirst(shot)) << folder;
        if (!how.launcher.empty()) { // minimised, a Windows game sleeps too
            EXPECT_LT(hiddenLoad(game), 0.02) << folder;
            EXPECT_TRUE(likeFirst(game.awaitShot(likeFirst, 5s))) << folder;
        }
        game.press({"o"});
        const auto darker = [&](const screenshot& x) {
            return groundShare(x, [&](int col, int row) {
                       return x.at(col, row).g < 0.85 * shot.at(col, row).g;
                   }) >= 0.9;
        };
        EXPECT_TRUE(darker(game.awaitShot(darker, 5s))) << folder;
        EXPECT_EQ(game.quit(), 0);
        // Windows ends lines with CR LF; under Wine freeglut complains of a device context.
        std::string out = game.output();
        out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
        EXPECT_EQ(out, loadedFrom(folder));
        const std::string errors = game.errors();
        EXPECT_TRUE(how.launcher.empty() ? errors.empty() : errors.find("skyhunt:") == errors.npos)
            << errors;
    }
}

// Its lines reach a log file as they are printed: a game ended by a signal leaves them all.
TEST(Logged, AGameEndedBySigtermLeavesEveryLineInItsLog) {
    gameSession game(withTextures(textureFiles));
    ASSERT_TRUE(game.awaitFirstFrame());
    EXPECT_EQ(game.end(SIGTERM), 128 + SIGTERM);
    EXPECT_EQ(game.output(), loadedFrom(""));
}

// A minute of random keys, about five a second, from a fixed seed that replays a failure:
// every key the game knows but Escape, and some it ignores. Nothing is allocated while the
// game runs; a few MiB allow for the allocator and the X buffers.
TEST(Soak, AMinuteOfRandomKeysEndsCleanlyWithSteadyMemory) {
    auto o = withTextures(textureFiles);
    long allowedGrowthKiB = 4 * 1024;
#ifdef SKYHUNT_SANITIZED
    // AddressSanitizer holds freed blocks back (up to 256 MiB) to catch late uses: kept small
    // here, its allocator still wanders a few MiB. LeakSanitizer watches for lost blocks.
    const char* asan = std::getenv("ASAN_OPTIONS");
    o.env.emplace_back("ASAN_OPTIONS", std::string(asan ? asan : "") + ":quarantine_size_mb=1");
    allowedGrowthKiB = 8 * 1024;
#endif
    gameSession game(o);
    ASSERT_TRUE(game.awaitFirstFrame());
    std::vector<std::string> keys = {"space", "Return"};
    for (char key : std::string("wWsSaAdDmMoOpPTtYyx1")) {
        keys.emplace_back(1, key);
    }
    std::mt19937 random(20240615);
    std::uniform_int_distribution<size_t> pick(0, keys.size() - 1);
    std::uniform_int_distribution<int> gapMs(60, 300);

    const auto start = std::chrono::steady_clock::now();
    long baseline = -1, highest = 0;
    int typed = 0;
    for (; std::chrono::steady_clock::now() - start < 60s; ++typed) {
        game.press({keys[pick(random)]});
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs(random)));
        const auto figures = readProcessFigures(game.pid());
        ASSERT_TRUE(game.running() && figures) << "the game ended after " << typed + 1 << " keys";
        // Memory settles once the first frames, shots and key events are through.
        if (std::chrono::steady_clock::now() - start > 5s) {
            baseline = baseline < 0 ? figures->residentKiB : baseline;
            highest = std::max(highest, figures->residentKiB);
        }
    }
    EXPECT_GT(typed, 150);
    EXPECT_LE(highest - baseline, allowedGrowthKiB) << "from " << baseline << " KiB to " << highest;
    EXPECT_EQ(game.quit(), 0);
}
