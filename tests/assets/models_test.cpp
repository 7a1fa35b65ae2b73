// The ship and projectile models, captured with feedback mode and mapped back to world
// space: where they stand, which way they point, their colours, alphas and texture
// coordinates, and that a dead model makes no OpenGL call at all.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "tests/support/feedback.h"
#include "world/enemy.h"
#include "world/fighter.h"
#include "world/projectile.h"
#include "world/wingman.h"

namespace {

constexpr float tolerance = 1e-4f;

// Ships at 4.5 to 5.5 and projectiles at 10 fit well inside.
constexpr worldBox sceneBox{0, 5, 0, 10, 10, 10};

struct rgba {
    float r, g, b, a;
};

struct bounds {
    float minX = INFINITY, maxX = -INFINITY;
    float minY = INFINITY, maxY = -INFINITY;
    float minZ = INFINITY, maxZ = -INFINITY;
};

bool near(float a, float b) {
    return std::fabs(a - b) < tolerance;
}

bool hasColour(const feedbackVertex& v, rgba c) {
    return near(v.r, c.r) && near(v.g, c.g) && near(v.b, c.b) && near(v.a, c.a);
}

std::vector<feedbackVertex> allVertices(const feedbackCapture& capture) {
    std::vector<feedbackVertex> out;
    for (const feedbackPrimitive& p : capture.primitives) {
        out.insert(out.end(), p.vertices.begin(), p.vertices.end());
    }
    return out;
}

// Primitives may reach feedback split into triangles, so corners repeat: keep one of each.
std::vector<feedbackVertex> distinctCorners(const std::vector<feedbackVertex>& vertices) {
    std::vector<feedbackVertex> out;
    for (const feedbackVertex& v : vertices) {
        const bool seen = std::any_of(out.begin(), out.end(), [&](const feedbackVertex& o) {
            return near(o.x, v.x) && near(o.y, v.y) && near(o.z, v.z);
        });
        if (!seen) {
            out.push_back(v);
        }
    }
    return out;
}

std::vector<feedbackVertex> withColour(const feedbackCapture& capture, rgba c) {
    std::vector<feedbackVertex> out;
    for (const feedbackVertex& v : allVertices(capture)) {
        if (hasColour(v, c)) {
            out.push_back(v);
        }
    }
    return distinctCorners(out);
}

bounds boundsOf(const std::vector<feedbackVertex>& vertices) {
    bounds b;
    for (const feedbackVertex& v : vertices) {
        b.minX = std::min(b.minX, v.x);
        b.maxX = std::max(b.maxX, v.x);
        b.minY = std::min(b.minY, v.y);
        b.maxY = std::max(b.maxY, v.y);
        b.minZ = std::min(b.minZ, v.z);
        b.maxZ = std::max(b.maxZ, v.z);
    }
    return b;
}

void expectBounds(const bounds& b, float minX, float maxX, float minY, float maxY, float minZ,
                  float maxZ) {
    EXPECT_NEAR(b.minX, minX, tolerance);
    EXPECT_NEAR(b.maxX, maxX, tolerance);
    EXPECT_NEAR(b.minY, minY, tolerance);
    EXPECT_NEAR(b.maxY, maxY, tolerance);
    EXPECT_NEAR(b.minZ, minZ, tolerance);
    EXPECT_NEAR(b.maxZ, maxZ, tolerance);
}

std::array<GLfloat, 4> currentColour() {
    std::array<GLfloat, 4> c{};
    glGetFloatv(GL_CURRENT_COLOR, c.data());
    return c;
}

std::array<GLfloat, 4> currentTexCoord() {
    std::array<GLfloat, 4> t{};
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, t.data());
    return t;
}

std::array<GLfloat, 16> modelview() {
    std::array<GLfloat, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// Plain colours in feedback: no lighting, texturing or fog in the way.
class ModelCapture : public ::testing::Test {
  protected:
    void SetUp() override {
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_FOG);
        glDisable(GL_BLEND);
        glColor4f(1, 1, 1, 1);
        glTexCoord2f(0, 0);
    }

    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    static feedbackCapture capture(const std::function<void()>& draw) {
        feedbackCapture c = captureFeedback(sceneBox, draw);
        EXPECT_FALSE(c.overflowed);
        return c;
    }

    // The call must leave no trace: no geometry, and the colour, texture coordinate and
    // matrix set here unchanged.
    static void expectNoOpenGlCall(const std::function<void()>& draw) {
        glColor4f(0.25f, 0.5f, 0.75f, 0.125f);
        glTexCoord2f(0.3f, 0.6f);
        const auto colour = currentColour();
        const auto texCoord = currentTexCoord();
        const feedbackCapture c = captureFeedback(sceneBox, [&] {
            glTranslatef(1, 2, 3);
            const auto matrix = modelview();
            draw();
            EXPECT_EQ(modelview(), matrix);
        });
        EXPECT_FALSE(c.overflowed);
        EXPECT_TRUE(c.primitives.empty());
        EXPECT_EQ(currentColour(), colour);
        EXPECT_EQ(currentTexCoord(), texCoord);
    }
};

using ShipModel = ModelCapture;
using ProjectileModel = ModelCapture;

constexpr rgba green{0, 1, 0, 1};
constexpr rgba orange{1, 0.5f, 0, 1};
constexpr rgba red{1, 0, 0, 1};
constexpr rgba yellow{1, 1, 0, 1};
constexpr rgba blue{0, 0, 1, 1};
constexpr rgba magenta{1, 0, 1, 1};
constexpr rgba grey{0.5f, 0.5f, 0.5f, 1};

rgba withAlpha(rgba c, float a) {
    return {c.r, c.g, c.b, a};
}

enum class axis { x, y, z };

float along(const feedbackVertex& v, axis a) {
    return a == axis::x ? v.x : a == axis::y ? v.y : v.z;
}

// A face: its colour and the world plane it must lie in.
struct faceSide {
    rgba colour;
    axis normal;
    float at;
};

// Each face covers a whole face of the cube: four corners in the one plane.
void expectFaces(const feedbackCapture& c, const std::vector<faceSide>& faces) {
    for (const faceSide& f : faces) {
        const auto corners = withColour(c, f.colour);
        ASSERT_EQ(corners.size(), 4u) << "face of colour " << f.colour.r << ' ' << f.colour.g << ' '
                                      << f.colour.b << ' ' << f.colour.a;
        for (const feedbackVertex& v : corners) {
            EXPECT_NEAR(along(v, f.normal), f.at, tolerance);
        }
    }
}

enemy enemyAt(float x, float z, float heading, float bank) {
    enemy e(vec2(x, z), heading);
    e.bank = bank;
    return e;
}

} // namespace

// ---- Ships -------------------------------------------------------------------------------

TEST_F(ShipModel, AiShipIsAUnitCubeAroundItsPositionFiveUnitsUpWithOneColourPerFace) {
    enemy e = enemyAt(3, -2, 0, 0);
    const feedbackCapture c = capture([&] { e.draw(); });

    EXPECT_EQ(distinctCorners(allVertices(c)).size(), 8u);
    expectBounds(boundsOf(allVertices(c)), 2.5f, 3.5f, 4.5f, 5.5f, -2.5f, -1.5f);
    expectFaces(c, {{green, axis::y, 5.5f},
                    {orange, axis::y, 4.5f},
                    {red, axis::z, -1.5f},
                    {yellow, axis::z, -2.5f},
                    {blue, axis::x, 2.5f},
                    {magenta, axis::x, 3.5f}});
}

TEST_F(ShipModel, PlayerShipIsDrawnWhileDeadAtAlphaPointFourOnEveryFace) {
    fighter player;
    ASSERT_FALSE(player.isAlive());
    player.x = 3;
    player.z = -2;
    const feedbackCapture c = capture([&] { player.draw(); });

    for (const feedbackVertex& v : allVertices(c)) {
        EXPECT_NEAR(v.a, 0.4f, tolerance);
    }
    expectFaces(c, {{withAlpha(green, 0.4f), axis::y, 5.5f},
                    {withAlpha(orange, 0.4f), axis::y, 4.5f},
                    {withAlpha(red, 0.4f), axis::z, -1.5f},
                    {withAlpha(yellow, 0.4f), axis::z, -2.5f},
                    {withAlpha(blue, 0.4f), axis::x, 2.5f},
                    {withAlpha(magenta, 0.4f), axis::x, 3.5f}});
}

TEST_F(ShipModel, EveryFaceMapsTheWholeTextureOnce) {
    enemy e = enemyAt(0, 0, 0, 0);
    const feedbackCapture c = capture([&] { e.draw(); });

    for (rgba colour : {green, orange, red, yellow, blue, magenta}) {
        std::vector<std::array<float, 2>> texCoords;
        for (const feedbackVertex& v : withColour(c, colour)) {
            texCoords.push_back({v.s, v.t});
        }
        std::sort(texCoords.begin(), texCoords.end());
        const std::vector<std::array<float, 2>> unitSquare{{0, 0}, {0, 1}, {1, 0}, {1, 1}};
        EXPECT_EQ(texCoords, unitSquare);
    }
}

// The top is the face the camera sees from above: its texture's s runs from tail to nose
// and its t from the +X side to the -X side.
TEST_F(ShipModel, TopFaceTextureRunsTailToNoseAndPlusXToMinusX) {
    enemy e = enemyAt(0, 0, 0, 0);
    const feedbackCapture c = capture([&] { e.draw(); });

    for (const feedbackVertex& v : withColour(c, green)) {
        const float expectedS = v.z < 0 ? 0.0f : 1.0f;
        const float expectedT = v.x > 0 ? 0.0f : 1.0f;
        EXPECT_NEAR(v.s, expectedS, tolerance) << v.x << ' ' << v.z;
        EXPECT_NEAR(v.t, expectedT, tolerance) << v.x << ' ' << v.z;
    }
}

TEST_F(ShipModel, HeadingNinetyTurnsTheRedNoseToWorldPlusX) {
    enemy e = enemyAt(0, 0, 90, 0);
    const feedbackCapture c = capture([&] { e.draw(); });

    expectFaces(c, {{green, axis::y, 5.5f},
                    {red, axis::x, 0.5f},
                    {yellow, axis::x, -0.5f},
                    {blue, axis::z, 0.5f},
                    {magenta, axis::z, -0.5f}});
}

// Translate, heading, then bank: the roll is about the ship's own nose, so at heading 90
// the nose face stays on world +X and the top tilts toward world +Z.
TEST_F(ShipModel, BankRollsTheCubeAboutItsNoseAfterTheHeading) {
    enemy e = enemyAt(0, 0, 90, 45);
    const feedbackCapture c = capture([&] { e.draw(); });

    const float lean = 0.5f * std::sqrt(0.5f);
    expectFaces(c, {{red, axis::x, 0.5f}, {yellow, axis::x, -0.5f}});
    const auto top = withColour(c, green);
    ASSERT_EQ(top.size(), 4u);
    float y = 0, z = 0;
    for (const feedbackVertex& v : top) {
        y += v.y / 4;
        z += v.z / 4;
    }
    EXPECT_NEAR(y, 5.0f + lean, tolerance);
    EXPECT_NEAR(z, lean, tolerance);
}

TEST_F(ShipModel, DeadEnemyAndWingmanMakeNoOpenGlCall) {
    enemy e = enemyAt(3, -2, 30, 10);
    e.setAlive(false);
    expectNoOpenGlCall([&] { e.draw(); });

    wingman w(vec2(1, 1), 45);
    w.setAlive(false);
    expectNoOpenGlCall([&] { w.draw(); });
}

// ---- Projectiles -------------------------------------------------------------------------

TEST_F(ProjectileModel, BulletIsAGreyDartTenUnitsUpWithItsTailOnItsPosition) {
    bullet b;
    b.setAlive(true);
    b.x = 2;
    b.z = -3;
    const feedbackCapture c = capture([&] { b.draw(); });

    const auto corners = distinctCorners(allVertices(c));
    ASSERT_EQ(corners.size(), 5u);
    expectBounds(boundsOf(corners), 1.9f, 2.1f, 10, 10, -3, -2.6f);
    for (const feedbackVertex& v : allVertices(c)) {
        EXPECT_TRUE(hasColour(v, grey));
    }
    EXPECT_EQ(currentColour(), (std::array<GLfloat, 4>{0.5f, 0.5f, 0.5f, 1}));
}

TEST_F(ProjectileModel, BulletTextureRunsAcrossTheTailAndBackAtThePoint) {
    bullet b;
    b.setAlive(true);
    const feedbackCapture c = capture([&] { b.draw(); });

    struct expected {
        float x, z, s, t;
    };
    const expected table[] = {{-0.1f, 0, 0, 0},
                              {0.1f, 0, 0, 1},
                              {-0.1f, 0.1f, 1, 1},
                              {0.1f, 0.1f, 1, 0},
                              {0, 0.4f, 0, 0}};
    const auto corners = distinctCorners(allVertices(c));
    for (const expected& e : table) {
        const auto it = std::find_if(corners.begin(), corners.end(), [&](const feedbackVertex& v) {
            return near(v.x, e.x) && near(v.z, e.z);
        });
        ASSERT_NE(it, corners.end()) << e.x << ' ' << e.z;
        EXPECT_NEAR(it->s, e.s, tolerance);
        EXPECT_NEAR(it->t, e.t, tolerance);
    }
}

TEST_F(ProjectileModel, MissileAtHeadingNinetyPointsToPlusXWithRedFinsAtItsTail) {
    missile m;
    m.setAlive(true);
    m.heading = 90;
    const feedbackCapture c = capture([&] { m.draw(); });

    const auto body = withColour(c, grey);
    ASSERT_EQ(body.size(), 5u);
    expectBounds(boundsOf(body), 0, 0.7f, 10, 10, -0.15f, 0.15f);

    const auto fins = withColour(c, red);
    ASSERT_EQ(fins.size(), 6u);
    expectBounds(boundsOf(fins), 0, 0.2f, 10, 10, -0.2f, 0.2f);
    const auto tipAt = [&](float z) {
        return std::any_of(fins.begin(), fins.end(),
                           [&](const feedbackVertex& v) { return near(v.x, 0) && near(v.z, z); });
    };
    EXPECT_TRUE(tipAt(0.2f));
    EXPECT_TRUE(tipAt(-0.2f));
    EXPECT_EQ(currentColour(), (std::array<GLfloat, 4>{1, 0, 0, 1}));
}

// The missile gives no texture coordinates, so it is drawn with whatever one is current.
TEST_F(ProjectileModel, MissileKeepsTheCurrentTextureCoordinate) {
    missile m;
    m.setAlive(true);
    glTexCoord2f(0.3f, 0.7f);
    const feedbackCapture c = capture([&] { m.draw(); });

    ASSERT_FALSE(c.primitives.empty());
    for (const feedbackVertex& v : allVertices(c)) {
        EXPECT_NEAR(v.s, 0.3f, tolerance);
        EXPECT_NEAR(v.t, 0.7f, tolerance);
    }
}

TEST_F(ProjectileModel, DeadBulletAndMissileMakeNoOpenGlCall) {
    bullet b(vec2(1, 2), vec2(0, 1));
    b.setAlive(false);
    expectNoOpenGlCall([&] { b.draw(); });

    missile m(vec2(1, 2), vec2(0, 1));
    m.setAlive(false);
    expectNoOpenGlCall([&] { m.draw(); });
}
