#include "world/fighter.h"

#include <gtest/gtest.h>

TEST(FighterMove, StaysAtTheOriginUntilAKeyIsPressed) {
    fighter f;
    for (int i = 0; i < 100; ++i) {
        f.move();
    }
    EXPECT_EQ(f.x, 0.0f);
    EXPECT_EQ(f.z, 0.0f);
    EXPECT_EQ(f.heading, 0.0f);
}

TEST(FighterMove, OneSpeedUpCarriesItOneUnitInAHundredTicks) {
    fighter f;
    f.addSpeed(0.01f);
    for (int i = 0; i < 100; ++i) {
        f.move();
    }
    EXPECT_NEAR(f.z, 1.0f, 1e-5);
    EXPECT_NEAR(f.x, 0.0f, 1e-6);
}

TEST(FighterMove, BankLevelsInFortyTicksAfterATurn) {
    fighter f;
    f.turnBy(10);
    for (int i = 0; i < 40; ++i) {
        f.move();
    }
    EXPECT_EQ(f.bank, 0.0f);
    EXPECT_EQ(f.heading, 10.0f);
}

TEST(FighterMove, NegativeSpeedFliesBackwardsFacingForwards) {
    fighter f;
    f.addSpeed(-0.01f);
    f.addSpeed(-0.01f);
    EXPECT_FLOAT_EQ(f.speed, -0.02f);
    f.move();
    EXPECT_FLOAT_EQ(f.z, -0.02f);
    EXPECT_EQ(f.heading, 0.0f);
}
