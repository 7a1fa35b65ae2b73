#include "tests/app/scene.h"

namespace {

struct worldState {
    std::vector<bullet> bullets;
    std::vector<missile> missiles;
    fighter player;
    enemy enemyShip;
    wingman wingmanShip;
    float fogStart;
};

const worldState& startOfScene() {
    static const worldState start =
        (initScene(), worldState{bullets, missiles, playerShip, enemyShip, wingmanShip, fogStart});
    return start;
}

} // namespace

void WorldTest::SetUpTestSuite() {
    startOfScene();
}

void WorldTest::SetUp() {
    const worldState& start = startOfScene();
    bullets = start.bullets;
    missiles = start.missiles;
    playerShip = start.player;
    enemyShip = start.enemyShip;
    wingmanShip = start.wingmanShip;
    fogStart = start.fogStart;
}
