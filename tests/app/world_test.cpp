#include <algorithm>
#include <array>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/app/scene.h"

TEST_F(WorldTest, StartsWithTheSceneStateTheShipsPlacedAndEveryShotSlotFree) {
    std::array<GLfloat, 4> clear{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear.data());
    EXPECT_EQ(clear, (std::array<GLfloat, 4>{0, 0.1f, 0.1f, 0}));
    GLint shading = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(shading, GL_FLAT);
    EXPECT_TRUE(glIsList(groundList->listId));
    EXPECT_EQ(enemyShip.position().distanceTo(vec2(-5, -5)), 0.0f);
    EXPECT_EQ(wingmanShip.position().distanceTo(vec2(5, 5)), 0.0f);
    EXPECT_TRUE(enemyShip.alive && wingmanShip.alive);
    const auto alive = [](const entity& shot) { return shot.alive; };
    EXPECT_TRUE(bullets.size() == 30 && std::none_of(bullets.begin(), bullets.end(), alive));
    EXPECT_TRUE(missiles.size() == 10 && std::none_of(missiles.begin(), missiles.end(), alive));
}
