#include <algorithm>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/app/scene.h"

// The clear colour and the ground show in the game's picture, checked end to end.
TEST_F(WorldTest, StartsFlatShadedWithTheShipsPlacedAndEveryShotSlotFree) {
    GLint shading = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(shading, GL_FLAT);
    EXPECT_EQ(enemyShip.position().distanceTo(vec2(-5, -5)), 0.0f);
    EXPECT_EQ(wingmanShip.position().distanceTo(vec2(5, 5)), 0.0f);
    EXPECT_TRUE(enemyShip.alive && wingmanShip.alive);
    const auto alive = [](const entity& shot) { return shot.alive; };
    EXPECT_TRUE(bullets.size() == 30 && std::none_of(bullets.begin(), bullets.end(), alive));
    EXPECT_TRUE(missiles.size() == 10 && std::none_of(missiles.begin(), missiles.end(), alive));
}
