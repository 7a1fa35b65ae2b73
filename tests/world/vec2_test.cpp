#include "world/vec2.h"

#include <gtest/gtest.h>

TEST(Vec2Distance, IsZeroToItselfAndTheLengthToTheOrigin) {
    const vec2 v(3, -4);
    EXPECT_EQ(v.distanceTo(vec2(3, -4)), 0.0f);
    EXPECT_EQ(v.distanceTo(vec2()), 5.0f);
    EXPECT_EQ(vec2().distanceTo(v), 5.0f);
}

TEST(Vec2Chaining, SubtractThenAddOnATemporaryLeavesTheOperandsAlone) {
    const vec2 own(1, 2);
    const vec2 velocity(0.5f, -0.25f);
    vec2 target(4, 6);
    const vec2 aim = vec2(target).subtract(own).add(velocity);
    EXPECT_FLOAT_EQ(aim.x, 3.5f);
    EXPECT_FLOAT_EQ(aim.y, 3.75f);
    EXPECT_EQ(own.x, 1.0f);
    EXPECT_EQ(velocity.y, -0.25f);
    EXPECT_EQ(target.x, 4.0f);

    vec2& same = target.add(own);
    EXPECT_EQ(&same, &target);
}

TEST(Vec2Scaled, ReturnsANewVectorAndKeepsTheOriginal) {
    const vec2 unit(1, 0);
    const vec2 five = unit.scaled(5);
    EXPECT_EQ(five.x, 5.0f);
    EXPECT_EQ(five.y, 0.0f);
    EXPECT_EQ(unit.x, 1.0f);
    const vec2 none = vec2(2, -3).scaled(0);
    EXPECT_EQ(none.getX(), 0.0f);
    EXPECT_EQ(none.getY(), 0.0f);
}
