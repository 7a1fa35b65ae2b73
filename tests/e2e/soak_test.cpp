// A minute of play by an unruly player: random keys at a human rate.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/harness/harness.h"
#include "tests/e2e/scene.h"

using namespace std::chrono_literals;

namespace {

constexpr auto soakLength = 60s;
// Memory settles once the first frames, shots and key events are through.
constexpr auto warmUp = 5s;
// Nothing is allocated while the game runs, so resident memory stays put; a few MiB allow
// for the allocator and the window system's buffers.
constexpr long allowedGrowthKiB = 4 * 1024;

// Every key the game knows but Escape, and some it ignores.
const std::vector<std::string> keys = {"w",     "W", "s", "S", "a", "A",     "d", "D",
                                       "space", "m", "M", "o", "O", "p",     "P", "T",
                                       "t",     "Y", "y", "x", "1", "Return"};

} // namespace

TEST(Soak, AMinuteOfRandomKeysEndsCleanlyWithSteadyMemory) {
    auto o = scene::withTextures(textureFiles);
#ifdef SKYHUNT_SANITIZED
    // AddressSanitizer holds freed blocks back, up to 256 MiB, to catch late uses: growth
    // by design and none of the game's, so the soak keeps that hold-back small.
    const char* asan = std::getenv("ASAN_OPTIONS");
    o.env.emplace_back("ASAN_OPTIONS",
                       std::string(asan != nullptr ? asan : "") + ":quarantine_size_mb=1");
#endif
    gameSession game(o);
    ASSERT_TRUE(game.awaitFirstFrame());

    // A fixed seed, so that a failure can be replayed.
    std::mt19937 random(20240615);
    std::uniform_int_distribution<size_t> pick(0, keys.size() - 1);
    std::uniform_int_distribution<int> gapMs(60, 300); // about five keys a second

    const auto start = std::chrono::steady_clock::now();
    long baseline = -1, highest = 0;
    int typed = 0;
    while (std::chrono::steady_clock::now() - start < soakLength) {
        game.press({keys[pick(random)]});
        ++typed;
        gameSession::pause(std::chrono::milliseconds(gapMs(random)));
        ASSERT_TRUE(game.running()) << "the game ended after " << typed << " keys";
        const auto figures = readProcessFigures(game.pid());
        ASSERT_TRUE(figures.has_value());
        if (std::chrono::steady_clock::now() - start < warmUp) {
            continue;
        }
        if (baseline < 0) {
            baseline = figures->residentKiB;
        }
        highest = std::max(highest, figures->residentKiB);
    }
    std::printf("%d keys; resident memory %ld KiB after warm-up, at most %ld KiB after\n", typed,
                baseline, highest);
    EXPECT_GT(typed, 150);
    EXPECT_LE(highest - baseline, allowedGrowthKiB)
        << "resident memory went from " << baseline << " KiB to " << highest << " KiB";
    EXPECT_EQ(game.quit(), 0);
}
