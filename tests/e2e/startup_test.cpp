// The game as a player starts it: what it prints, the window it opens, how it ends.
#include <cstdint>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/e2e/harness/harness.h"
#include "tests/e2e/scene.h"

namespace {

uint32_t le32(const unsigned char* b) {
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

// The reader's two size lines for one of the build's image files, from its own header.
std::string sizeLines(const std::string& file) {
    std::ifstream in(scene::builtTexture(file), std::ios::binary);
    unsigned char header[26] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    return "Width of " + file + ": " + std::to_string(le32(header + 18)) + "\nHeight of " + file +
           ": " + std::to_string(le32(header + 22)) + "\n";
}

const std::string notFoundMetal = "Loading textures"
                                  "File Not Found : metalTexture.bmp\n";

} // namespace

TEST(Startup, PrintsEachTextureSizeAndADotThenDone) {
    gameSession game(scene::withTextures(textureFiles));
    ASSERT_TRUE(game.awaitFirstFrame());
    EXPECT_EQ(game.quit(), 0);

    std::string expected = "Loading textures";
    for (const auto& f : textureFiles) {
        expected += sizeLines(f) + ".";
    }
    expected += ".done.";
    EXPECT_EQ(game.output(), expected);
}

TEST(Startup, ReportsTheMissingMetalTextureAndStillDraws) {
    gameSession game(scene::withTextures({"sunTexture.bmp", "grass.bmp"}));
    ASSERT_TRUE(game.awaitFirstFrame());
    EXPECT_TRUE(game.running());
    EXPECT_EQ(game.quit(), 0);
    // The first file that fails ends the loading: the other two are never opened.
    EXPECT_EQ(game.output(), notFoundMetal);
}

TEST(Startup, WithNoTextureAtAllPlaysOnUntextured) {
    gameSession game(scene::withTextures({}));
    ASSERT_TRUE(game.awaitFirstFrame());
    game.press({"w", "a", "space", "m"});
    gameSession::pause(std::chrono::milliseconds(500));
    const screenshot s = game.shot();
    EXPECT_TRUE(game.running());
    // Untextured, the words come out in the overlay's plain white.
    EXPECT_EQ(scene::textMismatches(s, "LIVES", scene::livesX, scene::livesY,
                                    [](rgb p) {
                                        return scene::near(p, {255, 255, 255}, 2);
                                    }),
              0);
    EXPECT_EQ(game.quit(), 0);
    EXPECT_EQ(game.output(), notFoundMetal);
}

// The title is the path as invoked, whichever form it takes; words that are not GLUT's own
// options change nothing.
TEST(Window, IsTitledWithThePathAsInvokedAt800x600At50x50) {
    for (const bool relative : {false, true}) {
        auto o = scene::withTextures(textureFiles);
        o.relativePath = relative;
        o.extraArgs = {"--fast", "sortie"};
        gameSession game(o);
        ASSERT_EQ(game.invokedAs().rfind(relative ? "../" : "/", 0), 0u) << game.invokedAs();
        ASSERT_NE(game.window(), 0u);
        EXPECT_EQ(game.title(), game.invokedAs());
        const auto g = game.windowGeometry();
        EXPECT_EQ(g.width, 800);
        EXPECT_EQ(g.height, 600);
        EXPECT_EQ(g.x, 50);
        EXPECT_EQ(g.y, 50);
        EXPECT_EQ(game.quit(), 0);
    }
}
