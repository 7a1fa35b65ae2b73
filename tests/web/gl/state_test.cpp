// The fixed-function state machine, drawing into a recorder instead of WebGL.
#include "web/gl/state.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace fixedgl;

namespace {

struct recorder final : drawTarget {
    std::vector<std::string> calls;
    std::vector<std::size_t> triangles; // indices drawn by each call
    std::vector<double> bitmapX;
    void drawImmediate(const mesh& m, const context& s) override {
        calls.push_back(s.wireframe() ? "immediate lines" : "immediate");
        triangles.push_back(m.triangles.size());
    }
    void listCompiled(unsigned, const displayList&) override { calls.push_back("compiled"); }
    void drawListStep(unsigned, const displayList::step& step, const context&) override {
        calls.push_back("list");
        triangles.push_back(step.triangleCount);
    }
    void drawBitmap(const bitmapImage& image, const context& s) override {
        calls.push_back("bitmap " + std::to_string(image.width) + "x" +
                        std::to_string(image.height));
        bitmapX.push_back(s.raster().x - image.xOrigin);
    }
};

// The ground's list: 250 strips of 250 vertex pairs, 8 units apart, from -1000 to 1000.
void recordGround(context& gl, unsigned name) {
    gl.newList(name, GL_COMPILE);
    for (int x = -1000; x < 1000; x += 8) {
        gl.begin(GL_QUAD_STRIP);
        for (int z = -1000; z < 1000; z += 8) {
            gl.setColour({1, 1, 1, 1});
            gl.setNormal(0, 1, 0);
            gl.addVertex(static_cast<float>(x), 0, static_cast<float>(z));
            gl.addVertex(static_cast<float>(x + 8), 0, static_cast<float>(z));
        }
        gl.end();
    }
    gl.endList();
}

std::size_t sum(const std::vector<std::size_t>& counts) {
    std::size_t total = 0;
    for (std::size_t n : counts) {
        total += n;
    }
    return total;
}

} // namespace

// Recording draws nothing. Seen whole, the list replays every one of its 250 * 249 quads;
// under the game's camera (16 units over the player, 100 degrees) only the few pieces in view
// are drawn, in a handful of draws. The list's last colour stays current, as in OpenGL.
TEST(State, TheGroundListIsRecordedOnceAndReplayedInAFewDrawsOfWhatIsInView) {
    recorder r;
    context gl(r);
    const unsigned name = gl.genLists(1);
    recordGround(gl, name);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"compiled"}));
    gl.setColour({1, 0, 0, 0.5f});
    gl.multiply(ortho(-1000, 1000, -1000, 1000, -1000, 1000));
    gl.callList(name);
    gl.callList(name + 1); // no such list: nothing
    EXPECT_EQ(sum(r.triangles), 250u * 249 * 6);
    EXPECT_EQ(gl.currentColour(), (colour{1, 1, 1, 1}));

    r.triangles.clear();
    gl.loadIdentity();
    gl.matrixMode(GL_PROJECTION);
    gl.multiply(perspective(100, 1.4, 5, 50));
    gl.matrixMode(GL_MODELVIEW);
    for (double x : {0.0, 66.0, 500.0, -990.0}) {
        gl.loadIdentity();
        gl.multiply(lookAt({x, 16, x}, {x, 15, x}, {1, 0, 0}));
        r.triangles.clear();
        gl.callList(name);
        EXPECT_LE(r.triangles.size(), 4u) << x;
        EXPECT_GE(sum(r.triangles), 6u * 6 * 5) << x; // the 45 by 35 units in view
        EXPECT_LE(sum(r.triangles), 250u * 249 * 6 / 50) << x;
    }
    gl.begin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        gl.addVertex(0, 0, 0);
    }
    gl.polygonMode(GL_FRONT_AND_BACK, GL_LINE);
    gl.end();
    EXPECT_EQ(r.calls.back(), "immediate lines");
}

// The overlay's text: glyph lists named base + character, called through glListBase inside a
// saved attribute state; each glyph stands where the one before it moved the raster position.
TEST(State, GlyphListsDrawAtTheRasterPositionAndThePoppedStateComesBack) {
    recorder r;
    context gl(r);
    gl.viewport(0, 0, 800, 600);
    const std::uint8_t rows[13] = {};
    gl.pixelStore(GL_UNPACK_ALIGNMENT, 1); // one byte a row, as the font sets it
    const unsigned base = gl.genLists(128);
    for (unsigned c : {unsigned{'A'}, unsigned{'B'}}) {
        gl.newList(base + c, GL_COMPILE);
        gl.bitmap(8, 13, 0, 2, 10, 0, rows);
        gl.endList();
    }
    gl.enable(GL_TEXTURE_2D, true);
    gl.enable(GL_FOG, true);
    gl.matrixMode(GL_PROJECTION);
    gl.multiply(ortho(0, 800, 0, 600, -1, 1));
    gl.matrixMode(GL_MODELVIEW);
    gl.rasterPos(5, 550);
    EXPECT_NEAR(gl.raster().y, 550, 1e-9);

    gl.pushAttrib(GL_LIST_BIT | GL_ENABLE_BIT);
    gl.enable(GL_TEXTURE_2D, false);
    gl.enable(GL_FOG, false);
    gl.listBase(base);
    const char text[] = "BAB";
    gl.callLists(3, GL_UNSIGNED_BYTE, text);
    gl.popAttrib();

    ASSERT_EQ(r.bitmapX.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(r.bitmapX[i], 5 + 10 * i, 1e-9);
    }
    EXPECT_EQ(r.calls.back(), "bitmap 8x13");
    EXPECT_TRUE(gl.enabled(cap::texture2d) && gl.enabled(cap::fog));
    EXPECT_EQ(gl.currentListBase(), 0u);
}

// The light's position is taken into eye space by the modelview matrix of the moment.
TEST(State, LightPositionIsStoredInEyeSpace) {
    recorder r;
    context gl(r);
    gl.multiply(translation(1, 2, 3));
    const float position[4] = {0, 10, 0, 1};
    gl.light(GL_LIGHT0, GL_POSITION, position);
    EXPECT_EQ(gl.lightZero().position, (vec4{1, 12, 3, 1}));
}
