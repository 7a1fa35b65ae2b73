#include "render/frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/game.h"
#include "assets/textures.h"
#include "render/ground.h"
#include "tests/app/scene.h"
#include "tests/support/expected.h"

namespace {

int presents = 0;

// Frames of the world as it starts, in the game's fixed lighting, fog and blending, presented
// through a step that counts them, over no ground but the upward normal it would leave for
// the models' lighting.
class Frame : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        setFixedRenderState();
        setPresentStep([] { ++presents; });
        groundListId = groundList->listId;
        groundList->listId = 0; // which calls nothing
        glNormal3f(0, 1, 0);
    }
    void TearDown() override {
        std::fill(std::begin(textures), std::end(textures), 0);
        groundList->listId = groundListId;
        WorldTest::TearDown();
    }

    GLuint groundListId = 0;
};

// The green of the frame just drawn at a pixel, from the bottom left: every model's top is
// green or grey.
int greenAt(int col, int row) {
    GLubyte rgba[4] = {};
    glReadPixels(col, row, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return rgba[1];
}

// The names whose flag is set, one space apart.
std::string named(std::initializer_list<std::pair<bool, const char*>> flags) {
    std::string out;
    for (const auto& [set, name] : flags) {
        out += set ? (out.empty() ? "" : " ") + std::string(name) : "";
    }
    return out;
}

GLuint texel(GLubyte shade) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 1, 1, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, &shade);
    return name;
}

} // namespace

// A shot and a ship are squares of half-size 1: exactly 2 units apart is a miss, 1.999 on
// both axes a hit. A ship already dead still stops a shot. A bullet is tested against both
// ships even after its first hit; a missile only ever against the enemy. Every frame is
// presented once.
TEST_F(Frame, AShotHitsTheShipsWithinTwoUnitsOnBothAxes) {
    const struct {
        const char* what;
        vec2 enemy, wingman; // the shot stands at the origin
        std::string alive;   // after the frame
        bool missile = false, enemyAlive = true;
    } cases[] = {
        {/*what=*/"2 apart", /*enemy=*/{2, 0}, /*wingman=*/{0, -2}, /*alive=*/"shot enemy wingman"},
        {/*what=*/"1.999 apart", /*enemy=*/{1.999f, -1.999f}, /*wingman=*/{0, -2},
         /*alive=*/"wingman"},
        {/*what=*/"dead enemy", /*enemy=*/{-0.5f, 0}, /*wingman=*/{9, 9}, /*alive=*/"wingman",
         /*missile=*/false, /*enemyAlive=*/false},
        {/*what=*/"between both", /*enemy=*/{0, 1}, /*wingman=*/{0, -1}, /*alive=*/""},
        {/*what=*/"missile", /*enemy=*/{1, 1}, /*wingman=*/{9, 9}, /*alive=*/"wingman",
         /*missile=*/true},
        {/*what=*/"missile on the wingman", /*enemy=*/{9, 9}, /*wingman=*/{0, 0},
         /*alive=*/"shot enemy wingman", /*missile=*/true},
    };
    for (const auto& c : cases) {
        enemyShip = enemy(c.enemy, 0);
        enemyShip.alive = c.enemyAlive;
        wingmanShip = wingman(c.wingman, 0);
        bullets[0] = c.missile ? bullet() : bullet(vec2(0, 0), vec2(0, 0));
        missiles[0] = c.missile ? missile(vec2(0, 0), vec2(0, 0)) : missile();
        const int before = presents;
        renderFrame();
        EXPECT_EQ(presents, before + 1) << c.what;
        const bool shotAlive = c.missile ? missiles[0].alive : bullets[0].alive;
        EXPECT_EQ(
            named(
                {{shotAlive, "shot"}, {enemyShip.alive, "enemy"}, {wingmanShip.alive, "wingman"}}),
            c.alive)
            << c.what;
    }
}

// The light is set in eye space, before the camera, so it travels with it. The fog starts
// where the keys left it, even past its end.
TEST_F(Frame, SetsTheFogAndTheLightAsDescribed) {
    fogStart = 25;
    renderFrame();
    GLfloat start = 0, end = 0, light[4] = {};
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_EQ(start, 25);
    EXPECT_EQ(end, expected::fogEnd);
    EXPECT_TRUE(std::equal(light, light + 4, expected::lightPosition));
}

// Each file's picture shows on the models that wear it: made white, with the other two
// black, it lights those models alone. A missile wears what the last bullet left bound.
TEST_F(Frame, EachModelWearsThePictureOfItsFile) {
    enemyShip = enemy(vec2(3, 0), 0);
    wingmanShip = wingman(vec2(-3, 0), 0);
    bullets[0] = bullet(vec2(0, 2), vec2(0, 0));
    missiles[0] = missile(vec2(0, -2.5f), vec2(0, 0));
    const struct {
        const char* file;
        std::string worn;
    } files[] = {{/*file=*/expected::metalFile, /*worn=*/"player"},
                 {/*file=*/expected::sunFile, /*worn=*/"enemy bullet missile"},
                 {/*file=*/expected::grassFile, /*worn=*/"wingman"}};
    const GLuint white = texel(255), black = texel(0);
    for (const auto& f : files) {
        for (std::size_t slot = 0; slot < texture::count; ++slot) {
            textures[slot] = std::string(texture::fileNames[slot]) == f.file ? white : black;
        }
        renderFrame();
        // Pixels inside each model's top, seen from 16 units over the player: the enemy's 3
        // units up the screen, the wingman's 3 down, the player's at the centre, and at
        // height 10 the bullet's 2 units right and the missile's 2 left.
        EXPECT_EQ(named({{greenAt(400, 372) > 50, "enemy"},
                         {greenAt(400, 228) > 50, "wingman"},
                         {greenAt(400, 300) > 50, "player"},
                         {greenAt(482, 300) > 50, "bullet"},
                         {greenAt(312, 300) > 50, "missile"}}),
                  f.worn)
            << f.file;
    }
}
