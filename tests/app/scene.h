#pragma once

#include <gtest/gtest.h>

#include "app/world.h"

// Runs initScene once per program (the ground it builds is never freed) and puts the world
// back as initScene left it before every test.
class WorldTest : public testing::Test {
  protected:
    static void SetUpTestSuite();
    void SetUp() override;
};
