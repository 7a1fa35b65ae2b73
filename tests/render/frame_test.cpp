// The frame: what it draws and where (captured with feedback mode), the hits it finds, the
// state it leaves, and the one swap that presents it.
#include "render/frame.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include <GL/glut.h>
#include <gtest/gtest.h>

#include "app/clock.h"
#include "app/game.h"
#include "assets/textures.h"
#include "render/font.h"
#include "tests/app/scene.h"

// The test program is linked with --wrap for these two, so every call the game makes to them
// is counted here on its way to the real one.
namespace {
int swapCount = 0;
std::vector<GLuint> bindings;
} // namespace

extern "C" {
void __real_glutSwapBuffers();
void __real_glBindTexture(GLenum target, GLuint name);

void __wrap_glutSwapBuffers() {
    ++swapCount;
    __real_glutSwapBuffers();
}

void __wrap_glBindTexture(GLenum target, GLuint name) {
    bindings.push_back(name);
    __real_glBindTexture(target, name);
}
}

namespace {

constexpr double pi = 3.141592653589793;

// Window depths, 0 to 1, of what the camera 16 units up sees: projectiles fly 6 units below
// it, ships span 10.5 to 11.5 and the ground lies 16 away.
constexpr GLfloat projectileDepthMax = 0.4f;
constexpr GLfloat shipDepthMax = 0.7f;

struct windowVertex {
    GLfloat x, y, z, r, g, b, a;
};

// One frame as feedback mode saw it: polygons and the overlay's bitmaps, in window space.
struct frameCapture {
    std::vector<std::vector<windowVertex>> polygons;
    std::vector<windowVertex> bitmaps;

    std::vector<std::vector<windowVertex>> between(GLfloat minDepth, GLfloat maxDepth) const {
        std::vector<std::vector<windowVertex>> out;
        for (const auto& p : polygons) {
            if (p[0].z >= minDepth && p[0].z < maxDepth) {
                out.push_back(p);
            }
        }
        return out;
    }
    std::size_t projectiles() const { return between(0, projectileDepthMax).size(); }
    std::vector<std::vector<windowVertex>> ships() const {
        return between(projectileDepthMax, shipDepthMax);
    }
};

constexpr std::size_t floatsPerVertex = 7; // GL_3D_COLOR: x, y, z, r, g, b, a

windowVertex readVertex(const std::vector<GLfloat>& buffer, std::size_t& i) {
    const GLfloat* f = &buffer[i];
    i += floatsPerVertex;
    return {f[0], f[1], f[2], f[3], f[4], f[5], f[6]};
}

frameCapture parse(const std::vector<GLfloat>& buffer, std::size_t used) {
    frameCapture frame;
    std::size_t i = 0;
    while (i < used) {
        const auto token = static_cast<GLenum>(buffer[i++]);
        if (token == GL_POLYGON_TOKEN) {
            const auto n = static_cast<std::size_t>(buffer[i++]);
            std::vector<windowVertex> polygon;
            for (std::size_t k = 0; k < n; ++k) {
                polygon.push_back(readVertex(buffer, i));
            }
            frame.polygons.push_back(polygon);
        } else if (token == GL_BITMAP_TOKEN) {
            frame.bitmaps.push_back(readVertex(buffer, i));
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 2 * floatsPerVertex;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 1;
        } else {
            i += floatsPerVertex; // points and pixel rectangles: one vertex
        }
    }
    return frame;
}

frameCapture captureFrame() {
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    renderFrame();
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflowed";
    return parse(buffer, static_cast<std::size_t>(std::max(used, 0)));
}

struct centre {
    double x, y;
};

centre centreOf(const std::vector<std::vector<windowVertex>>& polygons) {
    double x = 0, y = 0;
    std::size_t n = 0;
    for (const auto& p : polygons) {
        for (const windowVertex& v : p) {
            x += v.x;
            y += v.y;
            ++n;
        }
    }
    return {x / n, y / n};
}

// The player's model is drawn with alpha 0.4, the AI ships' with alpha 1.
std::vector<std::vector<windowVertex>>
withAlpha(const std::vector<std::vector<windowVertex>>& polygons, GLfloat alpha) {
    std::vector<std::vector<windowVertex>> out;
    for (const auto& p : polygons) {
        if (std::fabs(p[0].a - alpha) < 0.01f) {
            out.push_back(p);
        }
    }
    return out;
}

void place(entity& e, float x, float z) {
    e.x = x;
    e.z = z;
}

// The world and OpenGL state as the game's set-up leaves them when its first frame runs.
class Frame : public WorldTest {
  protected:
    static void SetUpTestSuite() {
        startOfScene();
        makeRasterFont();
    }

    void SetUp() override {
        WorldTest::SetUp();
        glEnable(GL_LIGHTING);
        glEnable(GL_NORMALIZE);
        glEnable(GL_FOG);
        glEnable(GL_LIGHT0);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
};

} // namespace

// ---- Presenting the frame ----

TEST_F(Frame, EachFrameIsPresentedWithExactlyOneSwap) {
    const int before = swapCount;
    for (int i = 0; i < 3; ++i) {
        renderFrame();
    }
    EXPECT_EQ(swapCount - before, 3);
}

TEST_F(Frame, ItsFirstActionIsToWaitOnTheFrameClock) {
    tickClock::time now{};
    std::vector<std::size_t> bindingsAtSleep;
    std::vector<int> swapsAtSleep;
    frameClock = tickClock([&] { return now; },
                           [&](tickClock::time t) {
                               bindingsAtSleep.push_back(bindings.size());
                               swapsAtSleep.push_back(swapCount);
                               now = t;
                           });
    frameClock.start();
    renderFrame();
    const std::size_t bindingsBefore = bindings.size();
    const int swapsBefore = swapCount;
    renderFrame();
    frameClock = tickClock();
    ASSERT_EQ(bindingsAtSleep.size(), 1u);
    EXPECT_EQ(bindingsAtSleep[0], bindingsBefore);
    EXPECT_EQ(swapsAtSleep[0], swapsBefore);
}

TEST_F(Frame, TheOverlayIsDrawnWhiteTopLeftEveryFrame) {
    const frameCapture frame = captureFrame();
    ASSERT_EQ(frame.bitmaps.size(), 10u); // "LIVES" and "SCORE"
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(frame.bitmaps[i].x, 5.0f + 10 * i);
        EXPECT_FLOAT_EQ(frame.bitmaps[i].y, 550.0f);
        EXPECT_FLOAT_EQ(frame.bitmaps[5 + i].y, 570.0f);
    }
    for (const windowVertex& v : frame.bitmaps) {
        EXPECT_EQ(v.r, 1.0f);
        EXPECT_EQ(v.g, 1.0f);
        EXPECT_EQ(v.b, 1.0f);
    }
}

// ---- What the camera sees ----

TEST_F(Frame, TheCameraLooksDownOnThePlayerWithWorldPlusXUp) {
    place(playerShip, 7, -4);
    wingmanShip.setAlive(false);
    place(enemyShip, 10, -4); // 3 units along +X from the player
    frameCapture frame = captureFrame();
    const centre player = centreOf(withAlpha(frame.ships(), 0.4f));
    EXPECT_NEAR(player.x, 400, 1);
    EXPECT_NEAR(player.y, 300, 1);
    const centre ahead = centreOf(withAlpha(frame.ships(), 1.0f));
    EXPECT_NEAR(ahead.x, 400, 1);
    EXPECT_GT(ahead.y, 350);

    place(enemyShip, 7, -1); // 3 units along +Z
    frame = captureFrame();
    const centre right = centreOf(withAlpha(frame.ships(), 1.0f));
    EXPECT_GT(right.x, 450);
    EXPECT_NEAR(right.y, 300, 1);
}

TEST_F(Frame, DeadAIShipsAreNotDrawnButThePlayerAlwaysIs) {
    place(enemyShip, 2, 2);
    place(wingmanShip, -2, -2);
    const std::size_t allThree = captureFrame().ships().size();
    enemyShip.setAlive(false);
    wingmanShip.setAlive(false);
    const std::size_t playerOnly = captureFrame().ships().size();
    EXPECT_FALSE(playerShip.isAlive());
    EXPECT_GT(playerOnly, 0u);
    EXPECT_EQ(allThree, 3 * playerOnly);
}

TEST_F(Frame, WithNoLiveProjectileNothingIsDrawnAtTheirHeight) {
    bullets[3].x = 0.5f; // placed but never fired
    EXPECT_EQ(captureFrame().projectiles(), 0u);
}

TEST_F(Frame, AProjectileIsDrawnInTheFrameItHitsAndNotAfter) {
    place(enemyShip, 1, 1);
    bullets[0] = bullet(vec2(0, 0), vec2(0, 0));
    EXPECT_GT(captureFrame().projectiles(), 0u);
    EXPECT_FALSE(bullets[0].isAlive());
    EXPECT_FALSE(enemyShip.isAlive());
    EXPECT_EQ(captureFrame().projectiles(), 0u);
}

// The table of textures: ground and wingman grass, enemy and bullets sun, the player metal;
// a missile keeps whatever was bound last.
TEST_F(Frame, BindsEachObjectsTextureAndNoneForMissiles) {
    const GLuint saved[3] = {textures[0], textures[1], textures[2]};
    glGenTextures(3, textures);
    bullets[0] = bullet(vec2(40, 40), vec2(0, 0));
    bullets[7] = bullet(vec2(-40, 40), vec2(0, 0));
    missiles[2] = missile(vec2(40, -40), vec2(0, 0));
    bindings.clear();
    renderFrame();
    const std::vector<GLuint> expected = {textures[2], textures[1], textures[2],
                                          textures[0], textures[1], textures[1]};
    EXPECT_EQ(bindings, expected);
    glDeleteTextures(3, textures);
    std::copy(saved, saved + 3, textures);
}

// ---- Hits ----

TEST_F(Frame, ExactlyTwoUnitsApartOnEitherAxisIsAMiss) {
    place(enemyShip, 2, 0);
    place(wingmanShip, 0, -2);
    bullets[0] = bullet(vec2(0, 0), vec2(0, 0));
    renderFrame();
    EXPECT_TRUE(bullets[0].isAlive());
    EXPECT_TRUE(enemyShip.isAlive());
    EXPECT_TRUE(wingmanShip.isAlive());
}

TEST_F(Frame, JustUnderTwoUnitsApartOnBothAxesIsAHit) {
    place(enemyShip, 1.999f, -1.999f);
    bullets[4] = bullet(vec2(0, 0), vec2(0, 0));
    renderFrame();
    EXPECT_FALSE(bullets[4].isAlive());
    EXPECT_FALSE(enemyShip.isAlive());
    EXPECT_TRUE(wingmanShip.isAlive());
}

TEST_F(Frame, OneBulletOverBothShipsKillsBoth) {
    place(enemyShip, 0, 1);
    place(wingmanShip, 0, -1);
    bullets[0] = bullet(vec2(0, 0), vec2(0, 0));
    renderFrame();
    EXPECT_FALSE(bullets[0].isAlive());
    EXPECT_FALSE(enemyShip.isAlive());
    EXPECT_FALSE(wingmanShip.isAlive());
}

TEST_F(Frame, AMissileKillsTheEnemyButPassesThroughTheWingman) {
    place(wingmanShip, 0, 0);
    missiles[0] = missile(vec2(0, 0), vec2(0, 0));
    renderFrame();
    EXPECT_TRUE(missiles[0].isAlive());
    EXPECT_TRUE(wingmanShip.isAlive());

    place(enemyShip, 0.5f, 0.5f);
    renderFrame();
    EXPECT_FALSE(missiles[0].isAlive());
    EXPECT_FALSE(enemyShip.isAlive());
}

TEST_F(Frame, ADeadShipStillAbsorbsShotsAndADeadShotHitsNothing) {
    enemyShip.setAlive(false);
    place(enemyShip, 0, 0);
    bullets[0] = bullet(vec2(0.5f, 0), vec2(0, 0));
    bullets[1] = bullet(vec2(5, 5), vec2(0, 0)); // on the wingman, but spent
    bullets[1].setAlive(false);
    renderFrame();
    EXPECT_FALSE(bullets[0].isAlive());
    EXPECT_TRUE(wingmanShip.isAlive());
}

// ---- State for the next frame ----

TEST_F(Frame, FogStartsWhereTheKeysLeftItEvenPastItsEnd) {
    fogStart = 25;
    renderFrame();
    GLfloat start = 0, end = 0;
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_EQ(start, 25.0f);
    EXPECT_EQ(end, 20.0f);
}

TEST_F(Frame, TheLightIsPlacedInEyeSpaceSoItTravelsWithTheCamera) {
    place(playerShip, 30, -12);
    renderFrame();
    GLfloat position[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_EQ(position[0], 0.0f);
    EXPECT_EQ(position[1], 10.0f);
    EXPECT_EQ(position[2], 0.0f);
    EXPECT_EQ(position[3], 1.0f);
}

TEST_F(Frame, EndsWithTheSceneProjectionAndTexturingOffWhateverTheWindowShape) {
    reshape(1000, 300);
    renderFrame();
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    reshape(800, 600);
    const double f = 1.0 / std::tan(50.0 * pi / 180.0);
    EXPECT_NEAR(m[0], f / 1.4, 1e-5);
    EXPECT_NEAR(m[5], f, 1e-5);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}
