#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/app/scene.h"

TEST_F(WorldTest, StartsWithTheSceneStateTheShipsPlacedAndEveryShotSlotFree) {
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(std::vector<GLfloat>(clear, clear + 4), (std::vector<GLfloat>{0, 0.1f, 0.1f, 0}));
    GLint shading = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(shading, GL_FLAT);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsList(groundList->listId));

    EXPECT_EQ(enemyShip.position().distanceTo(vec2(-5, -5)), 0.0f);
    EXPECT_EQ(wingmanShip.position().distanceTo(vec2(5, 5)), 0.0f);
    EXPECT_TRUE(enemyShip.alive && wingmanShip.alive);
    EXPECT_EQ(bullets.size(), 30u);
    EXPECT_EQ(missiles.size(), 10u);
    for (const entity& shot : bullets) {
        EXPECT_FALSE(shot.alive);
    }
    for (const entity& shot : missiles) {
        EXPECT_FALSE(shot.alive);
    }
}
