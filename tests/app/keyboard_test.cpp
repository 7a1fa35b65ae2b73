#include "app/keyboard.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "tests/app/scene.h"
#include "tests/support/expected.h"

static void press(const std::string& keys) {
    for (unsigned char key : keys) {
        handleKey(key, 0, 0);
    }
}

// Steering, speed and fog letters act in either case, the missile only on its exact
// character: each press turns 10 degrees, changes the speed by 0.01 or moves the fog's start
// by its step. The polygon-mode keys are checked on the game's picture.
TEST_F(WorldTest, KeysFollowTheirCaseRules) {
    EXPECT_EQ(fogStart, expected::fogStart);
    press("aAAdDWwWSsMpPo");
    EXPECT_EQ(playerShip.heading, 10);
    EXPECT_FLOAT_EQ(playerShip.speed, 0.01f);
    EXPECT_EQ(fogStart, expected::fogStart + expected::fogStep);
    EXPECT_FALSE(missiles[0].alive);
}

// Bullets 0 and 2 of three are freed: the next shot takes 0. The 31st bullet and the 11th
// missile find every slot in use and are dropped.
TEST_F(WorldTest, AShotTakesTheLowestFreeSlotAndIsDroppedWhenNoneIsFree) {
    press("   ");
    bullets[0].alive = bullets[2].alive = false;
    press(" ");
    EXPECT_TRUE(bullets[0].alive && !bullets[2].alive);
    press(std::string(28, ' '));
    for (bullet& b : bullets) {
        b.life = 7; // a slot fired into again would come back with 500
    }
    press(" ");
    EXPECT_TRUE(std::all_of(bullets.begin(), bullets.end(), [](auto& b) { return b.life == 7; }));
    press(std::string(11, 'm'));
    EXPECT_TRUE(std::all_of(missiles.begin(), missiles.end(), [](auto& m) { return m.alive; }));
}
