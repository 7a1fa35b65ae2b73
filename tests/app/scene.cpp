#include "tests/app/scene.h"

#include <tuple>

namespace {

// The world as initScene left it, taken on first use.
const auto& startOfScene() {
    static const auto start = [] {
        initScene();
        return std::make_tuple(bullets, missiles, playerShip, enemyShip, wingmanShip, fogStart);
    }();
    return start;
}

} // namespace

void WorldTest::SetUpTestSuite() {
    startOfScene();
}

void WorldTest::SetUp() {
    std::tie(bullets, missiles, playerShip, enemyShip, wingmanShip, fogStart) = startOfScene();
}
