#include "app/keyboard.h"

#include <string>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/app/scene.h"

namespace {

void press(const std::string& keys) {
    for (unsigned char key : keys) {
        handleKey(key, 0, 0);
    }
}

template <typename Shot>
std::string liveSlots(const std::vector<Shot>& pool) {
    std::string slots;
    for (const Shot& s : pool) {
        slots += s.alive ? '1' : '0';
    }
    return slots;
}

} // namespace

// Steering and fog letters act in either case; the drawing switches and the missile only on
// their exact character.
TEST_F(WorldTest, KeysFollowTheirCaseRules) {
    press("aAd");
    EXPECT_EQ(playerShip.heading, 10.0f);
    press("PPo");
    EXPECT_EQ(fogStart, 15.0f);
    press("M");
    EXPECT_EQ(liveSlots(missiles), std::string(10, '0'));
    GLint mode[2];
    press("T");
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    press("tY");
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH));
    press("y");
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
}

TEST_F(WorldTest, AShotTakesTheLowestFreeSlotAndIsDroppedWhenNoneIsFree) {
    press("   ");
    bullets[0].alive = false;
    bullets[2].alive = false;
    press(" ");
    EXPECT_EQ(liveSlots(bullets).substr(0, 4), "1100");
    press(std::string(28, ' '));
    for (bullet& b : bullets) {
        b.life = 7; // a slot fired into again would come back with 500
    }
    press(" ");
    for (const bullet& b : bullets) {
        EXPECT_EQ(b.life, 7);
    }
    press(std::string(11, 'm'));
    EXPECT_EQ(liveSlots(missiles), std::string(10, '1'));
}
