#include "tests/app/scene.h"

#include "tests/support/capture.h"

namespace {

sceneStart capture() {
    stdoutCapture out;
    initScene();
    sceneStart s{bullets,  missiles, playerShip, enemyShip, wingmanShip,
                 fogStart, {},       0,          0,         out.text()};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, s.clearColour);
    s.depthTest = glIsEnabled(GL_DEPTH_TEST);
    glGetIntegerv(GL_SHADE_MODEL, &s.shadeModel);
    return s;
}

} // namespace

const sceneStart& startOfScene() {
    static const sceneStart start = capture();
    return start;
}

void WorldTest::SetUp() {
    const sceneStart& start = startOfScene();
    bullets = start.bullets;
    missiles = start.missiles;
    playerShip = start.player;
    enemyShip = start.enemyShip;
    wingmanShip = start.wingmanShip;
    fogStart = start.fogStart;
}
