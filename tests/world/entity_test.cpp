#include "world/entity.h"

#include <cmath>
#include <ostream>

#include <gtest/gtest.h>

namespace {

struct VelocityCase {
    vec2 v;
    float speed;
    float heading;
};

void PrintTo(const VelocityCase& c, std::ostream* os) {
    *os << "(" << c.v.x << ", " << c.v.y << ")";
}

class SetVelocity : public testing::TestWithParam<VelocityCase> {};

entity banked(float bank) {
    entity e;
    e.bank = bank;
    return e;
}

} // namespace

TEST(EntityConstruction, DefaultIsDeadAtTheOriginAndPositionedIsAliveWithLife) {
    const entity d;
    EXPECT_EQ(d.x, 0.0f);
    EXPECT_EQ(d.z, 0.0f);
    EXPECT_FALSE(d.alive);
    EXPECT_EQ(d.life, 0);
    EXPECT_EQ(d.speed, 0.0f);

    const entity p(vec2(3, -2), 45);
    EXPECT_EQ(p.x, 3.0f);
    EXPECT_EQ(p.z, -2.0f);
    EXPECT_EQ(p.position().x, 3.0f);
    EXPECT_EQ(p.position().y, -2.0f);
    EXPECT_EQ(p.heading, 45.0f);
    EXPECT_FLOAT_EQ(p.speed, 0.1f);
    EXPECT_TRUE(p.isAlive());
    EXPECT_EQ(p.life, 500);
    EXPECT_EQ(p.velocity.x, 0.0f);
    EXPECT_EQ(p.velocity.y, 0.0f);
}

TEST(EntityVelocity, GetVelocityComesFromHeadingAndSpeedNotTheCache) {
    entity e(vec2(0, 0), 90);
    const vec2 v = e.getVelocity();
    EXPECT_NEAR(v.x, 0.1f, 1e-7);
    EXPECT_NEAR(v.y, 0.0f, 1e-7);
    EXPECT_EQ(e.velocity.x, 0.0f);
    EXPECT_FLOAT_EQ(e.headingRad, 1.5707964f);
}

TEST_P(SetVelocity, DerivesSpeedAndHeadingQuadrantByQuadrant) {
    const VelocityCase c = GetParam();
    entity e;
    e.setVelocity(c.v);
    EXPECT_FLOAT_EQ(e.speed, c.speed);
    EXPECT_NEAR(e.heading, c.heading, 1e-4);
    EXPECT_EQ(e.velocity.x, c.v.x);
    EXPECT_EQ(e.velocity.y, c.v.y);
}

INSTANTIATE_TEST_SUITE_P(Quadrants, SetVelocity,
                         testing::Values(VelocityCase{vec2(0, 0), 0, 0},
                                         VelocityCase{vec2(0, 5), 5, 0},
                                         VelocityCase{vec2(0, -2), 2, 180},
                                         VelocityCase{vec2(3, 0), 3, 90},
                                         VelocityCase{vec2(-3, 0), 3, 270},
                                         VelocityCase{vec2(1, 1), std::sqrt(2.0f), 45},
                                         VelocityCase{vec2(1, -1), std::sqrt(2.0f), 135},
                                         VelocityCase{vec2(-1, -1), std::sqrt(2.0f), 225},
                                         VelocityCase{vec2(-1, 1), std::sqrt(2.0f), 315}));

TEST(EntityVelocity, SetVelocityRoundTripsEveryHeading) {
    for (int h = 0; h < 360; h += 7) {
        entity e;
        e.turnBy(static_cast<float>(h));
        e.setSpeed(0.3f);
        const vec2 v = e.getVelocity();
        entity back;
        back.setVelocity(v);
        EXPECT_NEAR(back.heading, static_cast<float>(h), 2e-3) << "heading " << h;
        EXPECT_NEAR(back.speed, 0.3f, 1e-6);
        const vec2 again = back.getVelocity();
        EXPECT_NEAR(again.x, v.x, 1e-6);
        EXPECT_NEAR(again.y, v.y, 1e-6);
    }
}

TEST(EntityVelocity, AVectorTooShortToSquareStillGivesAHeading) {
    entity e;
    e.setVelocity(vec2(1e-30f, -1e-30f));
    EXPECT_FALSE(std::isnan(e.heading));
    EXPECT_EQ(e.speed, 0.0f);
    EXPECT_GE(e.heading, 0.0f);
    EXPECT_LE(e.heading, 360.0f);
}

TEST(EntityTurn, HeadingWrapsOnceAndExactly360Stays) {
    entity e;
    e.turnBy(355);
    e.turnBy(10);
    EXPECT_FLOAT_EQ(e.heading, 5);
    e.turnBy(-10);
    EXPECT_FLOAT_EQ(e.heading, 355);
    e.turnBy(5);
    EXPECT_EQ(e.heading, 360.0f);
}

TEST(EntityTurn, TurnRefreshesTheCachedVelocity) {
    entity e;
    e.setSpeed(2);
    e.turnBy(90);
    EXPECT_NEAR(e.velocity.x, 2.0f, 1e-6);
    EXPECT_NEAR(e.velocity.y, 0.0f, 1e-6);
}

TEST(EntityBank, TurningBanksTheOtherWayWithoutClamping) {
    entity left = banked(0);
    left.turnBy(10);
    EXPECT_EQ(left.bank, -10.0f);

    entity right = banked(0);
    right.turnBy(-10);
    EXPECT_EQ(right.bank, 10.0f);

    entity leaning = banked(-50);
    leaning.turnBy(10);
    EXPECT_EQ(leaning.bank, -50.0f);
    leaning.turnBy(-10);
    EXPECT_EQ(leaning.bank, -40.0f);

    entity past = banked(44);
    past.turnBy(-10);
    EXPECT_EQ(past.bank, 54.0f);
    past.turnBy(-10);
    EXPECT_EQ(past.bank, 54.0f);
}

TEST(EntityBank, DecayLevelsTenDegreesInFortyTicksAndOvershootsSmallBanks) {
    entity e = banked(10);
    for (int i = 0; i < 40; ++i) {
        e.decayBank();
    }
    EXPECT_EQ(e.bank, 0.0f);
    e.decayBank();
    EXPECT_EQ(e.bank, 0.0f);

    entity small = banked(0.1f);
    small.decayBank();
    EXPECT_FLOAT_EQ(small.bank, -0.15f);
    small.decayBank();
    EXPECT_FLOAT_EQ(small.bank, 0.1f);
}

TEST(EntityAdvance, MovesAlongTheHeadingAndBackwardsWithNegativeSpeed) {
    entity e;
    e.speed = 1;
    e.advance();
    EXPECT_EQ(e.z, 1.0f);
    EXPECT_NEAR(e.x, 0.0f, 1e-7);

    entity east;
    east.turnBy(90);
    east.setSpeed(-0.5f);
    east.advance();
    EXPECT_NEAR(east.x, -0.5f, 1e-6);
    EXPECT_NEAR(east.z, 0.0f, 1e-6);
}
