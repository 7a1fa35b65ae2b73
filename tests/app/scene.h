#pragma once

#include <string>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/world.h"

// The world and the OpenGL state as initScene left them on its one run in this program.
struct sceneStart {
    std::vector<bullet> bullets;
    std::vector<missile> missiles;
    fighter player;
    enemy enemyShip;
    wingman wingmanShip;
    float fogStart;
    GLfloat clearColour[4];
    GLboolean depthTest;
    GLint shadeModel;
    std::string printed; // what initScene wrote on standard output
};

// Runs initScene on first use only: the ground it builds is never freed, so a second run
// would leak it.
const sceneStart& startOfScene();

// Every test of the running world starts from the state the game starts in.
class WorldTest : public testing::Test {
  protected:
    void SetUp() override;
};
