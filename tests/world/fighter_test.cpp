#include "world/fighter.h"

#include <gtest/gtest.h>

// One press of a turn key and one of speed-up: the ship flies 0.01 units a tick along its
// new heading of 10 degrees and levels the bank the turn gave it in forty ticks.
TEST(FighterMove, FliesAlongItsHeadingAndLevelsItsBankInFortyTicks) {
    fighter f;
    f.turnBy(10);
    f.addSpeed(0.01f);
    for (int tick = 1; tick <= 100; ++tick) {
        f.move();
        EXPECT_EQ(f.bank, tick < 40 ? 0.25f * tick - 10 : 0) << "tick " << tick;
    }
    EXPECT_NEAR(f.x, 0.17365f, 1e-5); // sin 10 degrees
    EXPECT_NEAR(f.z, 0.98481f, 1e-5); // cos 10 degrees
    f.bank = 0.1f; // off the quarter-degree steps, a bank overshoots 0 and swings for ever
    f.move();
    EXPECT_FLOAT_EQ(f.bank, -0.15f);
}
