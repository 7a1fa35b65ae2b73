#pragma once

#include <tuple>

#include <gtest/gtest.h>

#include "app/world.h"

// Runs initScene once per program (the ground it builds is never freed) and puts the world
// back as initScene left it before every test.
class WorldTest : public testing::Test {
  protected:
    void SetUp() override {
        static const auto start = [] {
            initScene();
            return std::make_tuple(bullets, missiles, playerShip, enemyShip, wingmanShip, fogStart);
        }();
        std::tie(bullets, missiles, playerShip, enemyShip, wingmanShip, fogStart) = start;
    }
};
