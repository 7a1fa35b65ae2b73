#pragma once

#include <gtest/gtest.h>

#include "app/world.h"

// Runs initScene once per program (the ground it builds is never freed) and puts the world
// back at its start before and after every test.
class WorldTest : public testing::Test {
  protected:
    void SetUp() override {
        static const bool once = (initScene(), true);
        (void)once;
        resetWorld();
    }
    void TearDown() override { resetWorld(); }
};
