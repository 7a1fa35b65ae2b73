#include "tests/app/scene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

void expectPlaced(const entity& ship, float x, float z) {
    EXPECT_EQ(ship.x, x);
    EXPECT_EQ(ship.z, z);
    EXPECT_EQ(ship.heading, 0.0f);
    EXPECT_FLOAT_EQ(ship.speed, 0.1f);
    EXPECT_EQ(ship.velocity.x, 0.0f);
    EXPECT_EQ(ship.velocity.y, 0.0f);
    EXPECT_TRUE(ship.alive);
    EXPECT_EQ(ship.life, 500);
    EXPECT_EQ(ship.bank, 0.0f);
}

bool isUnfired(const entity& e) {
    return !e.alive && e.x == 0 && e.z == 0 && e.speed == 0 && e.heading == 0 && e.life == 0;
}

} // namespace

TEST(SceneStart, SetsTheBackgroundDepthTestAndFlatShading) {
    const sceneStart& start = startOfScene();
    EXPECT_EQ(start.clearColour[0], 0.0f);
    EXPECT_FLOAT_EQ(start.clearColour[1], 0.1f);
    EXPECT_FLOAT_EQ(start.clearColour[2], 0.1f);
    EXPECT_EQ(start.clearColour[3], 0.0f);
    EXPECT_EQ(start.depthTest, GL_TRUE);
    EXPECT_EQ(start.shadeModel, GL_FLAT);
}

TEST(SceneStart, PlacesTheEnemyAndTheWingmanAliveFacingPlusZ) {
    const sceneStart& start = startOfScene();
    expectPlaced(start.enemyShip, -5, -5);
    expectPlaced(start.wingmanShip, 5, 5);
}

TEST(SceneStart, LeavesThePlayerAtRestAtTheOriginAndEveryShotSlotFree) {
    const sceneStart& start = startOfScene();
    EXPECT_TRUE(isUnfired(start.player));
    EXPECT_EQ(start.player.bank, 0.0f);
    ASSERT_EQ(start.bullets.size(), 30u);
    ASSERT_EQ(start.missiles.size(), 10u);
    for (const bullet& b : start.bullets) {
        EXPECT_TRUE(isUnfired(b));
    }
    for (const missile& m : start.missiles) {
        EXPECT_TRUE(isUnfired(m));
    }
    EXPECT_EQ(start.fogStart, 10.0f);
}

TEST(SceneStart, BuildsTheGroundListAndLoadsTheTextures) {
    const sceneStart& start = startOfScene();
    ASSERT_NE(groundList, nullptr);
    EXPECT_EQ(glIsList(groundList->listId), GL_TRUE);
    EXPECT_EQ(start.printed.rfind("Loading textures", 0), 0u) << start.printed;
}
