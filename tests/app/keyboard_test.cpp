#include "app/keyboard.h"

#include <cstdlib>
#include <string>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/app/scene.h"

// Present only in sanitized builds.
extern "C" [[gnu::weak]] void __lsan_do_leak_check();

namespace {

void press(const std::string& keys) {
    for (unsigned char key : keys) {
        handleKey(key, 0, 0);
    }
}

template <typename Shot>
int aliveCount(const std::vector<Shot>& pool) {
    int n = 0;
    for (const Shot& s : pool) {
        n += s.alive ? 1 : 0;
    }
    return n;
}

// The drawing switches are OpenGL state shared by the whole program: put them back.
class Keys : public WorldTest {
  protected:
    void TearDown() override {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glDisable(GL_LINE_SMOOTH);
    }
};

} // namespace

TEST_F(Keys, SteeringAndThrottleLettersActInEitherCase) {
    press("aA");
    EXPECT_EQ(playerShip.heading, 20.0f);
    press("d");
    EXPECT_EQ(playerShip.heading, 10.0f);
    press("D");
    EXPECT_EQ(playerShip.heading, 0.0f);
    press("wW");
    EXPECT_FLOAT_EQ(playerShip.speed, 0.02f);
    press("sSS");
    EXPECT_FLOAT_EQ(playerShip.speed, -0.01f); // below zero the ship flies backwards
}

TEST_F(Keys, FogStartMovesFiveUnitsAPressWithoutLimit) {
    press("PP");
    EXPECT_EQ(fogStart, 20.0f);
    press("p");
    EXPECT_EQ(fogStart, 25.0f);
    press("oOoOo");
    EXPECT_EQ(fogStart, 0.0f);
    press("o");
    EXPECT_EQ(fogStart, -5.0f);
}

TEST_F(Keys, PolygonModeAndLineSmoothingFollowTheExactCase) {
    GLint mode[2];
    press("T");
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    EXPECT_EQ(mode[1], GL_LINE);
    press("t");
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    EXPECT_EQ(mode[1], GL_FILL);
    press("Y");
    EXPECT_EQ(glIsEnabled(GL_LINE_SMOOTH), GL_TRUE);
    press("y");
    EXPECT_EQ(glIsEnabled(GL_LINE_SMOOTH), GL_FALSE);
}

TEST_F(Keys, ABulletLeavesFromThePlayerAlongItsTravel) {
    playerShip.x = 3;
    playerShip.z = 4;
    press("a"); // facing 10 degrees, but at rest: the shot flies along +Z at 0.02
    press(" ");
    EXPECT_TRUE(bullets[0].alive);
    EXPECT_EQ(bullets[0].x, 3.0f);
    EXPECT_EQ(bullets[0].z, 4.0f);
    EXPECT_EQ(bullets[0].heading, 0.0f);
    EXPECT_FLOAT_EQ(bullets[0].speed, 0.02f);
    EXPECT_EQ(bullets[0].life, 500);
    EXPECT_EQ(aliveCount(missiles), 0);
}

TEST_F(Keys, AShotTakesTheLowestFreeSlot) {
    press("   ");
    bullets[0].alive = false;
    bullets[2].alive = false;
    press(" ");
    EXPECT_TRUE(bullets[0].alive);
    EXPECT_FALSE(bullets[2].alive);
    EXPECT_EQ(bulletIt, bullets.begin());
}

TEST_F(Keys, TheThirtyFirstBulletIsDropped) {
    press(std::string(30, ' '));
    ASSERT_EQ(aliveCount(bullets), 30);
    for (bullet& b : bullets) {
        b.life = 7; // a replaced slot would come back with 500
    }
    press(" ");
    for (const bullet& b : bullets) {
        EXPECT_EQ(b.life, 7);
    }
    EXPECT_EQ(bulletIt, bullets.end());
}

TEST_F(Keys, OnlyLowerCaseMFiresAMissileAndTheEleventhIsDropped) {
    press("M");
    EXPECT_EQ(aliveCount(missiles), 0);
    press(std::string(10, 'm'));
    ASSERT_EQ(aliveCount(missiles), 10);
    for (missile& m : missiles) {
        m.life = 7;
    }
    press("m");
    for (const missile& m : missiles) {
        EXPECT_EQ(m.life, 7);
    }
    EXPECT_EQ(aliveCount(bullets), 0);
}

TEST_F(Keys, UnassignedCharactersChangeNothing) {
    press("MxQ1!\t");
    EXPECT_EQ(playerShip.heading, 0.0f);
    EXPECT_EQ(playerShip.speed, 0.0f);
    EXPECT_EQ(fogStart, 10.0f);
    EXPECT_EQ(aliveCount(bullets), 0);
    EXPECT_EQ(aliveCount(missiles), 0);
    GLint mode[2];
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    EXPECT_EQ(glIsEnabled(GL_LINE_SMOOTH), GL_FALSE);
}

namespace {

// Exit handlers run last-registered first, so this leak check runs before the system's own,
// which close the display and unload the GL driver, orphaning the driver's allocations.
void checkLeaksBeforeTheDriverUnloads() {
    if (__lsan_do_leak_check != nullptr) {
        std::atexit(__lsan_do_leak_check);
    }
}

} // namespace

// Run in a fresh copy of the test program: a forked child would share the parent's X
// connection and the renderer's threads.
TEST_F(Keys, EscapeEndsTheProgramWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            checkLeaksBeforeTheDriverUnloads();
            press("\x1b");
        },
        testing::ExitedWithCode(0), "");
}
