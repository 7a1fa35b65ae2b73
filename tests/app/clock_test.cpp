#include "app/clock.h"

#include <chrono>
#include <ctime>
#include <vector>

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

// A clock on a fake time line: sleeping jumps the time line to the wake-up time and records
// it, so nothing really sleeps.
class TickClock : public testing::Test {
  protected:
    TickClock()
        : clock([this] { return now; },
                [this](tickClock::time t) {
                    sleeps.push_back(t);
                    now = t;
                }) {}

    tickClock::time at(int frames) const { return origin + frames * tickClock::period; }

    const tickClock::time origin = tickClock::time(milliseconds(1000));
    tickClock::time now = origin;
    std::vector<tickClock::time> sleeps;
    tickClock clock;
};

} // namespace

TEST_F(TickClock, StoppedItNeverWaits) {
    EXPECT_FALSE(clock.isRunning());
    for (int i = 0; i < 5; ++i) {
        clock.wait();
    }
    clock.start();
    clock.stop();
    clock.wait();
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(TickClock, FirstFrameIsDueAtOnceThenEverySixtiethOfASecond) {
    clock.start();
    clock.wait();
    EXPECT_TRUE(sleeps.empty());
    for (int i = 0; i < 4; ++i) {
        clock.wait();
    }
    EXPECT_EQ(sleeps, (std::vector<tickClock::time>{at(1), at(2), at(3), at(4)}));
    EXPECT_EQ(clock.nextDue(), at(5));
    const std::chrono::duration<double> sixtyFrames = at(60) - origin;
    EXPECT_NEAR(sixtyFrames.count(), 1.0, 1e-6);
}

TEST_F(TickClock, SleepsOnlyForWhatTheFrameLeftOfItsSlot) {
    clock.start();
    clock.wait();
    now += milliseconds(10);
    clock.wait();
    ASSERT_EQ(sleeps.size(), 1u);
    EXPECT_EQ(sleeps[0], at(1));
}

TEST_F(TickClock, ASlightlyLateFrameKeepsTheScheduleWithoutSleeping) {
    clock.start();
    clock.wait();
    now = at(2) + milliseconds(1); // the frame due at 1 is late, but by less than the limit
    clock.wait();
    clock.wait();
    EXPECT_TRUE(sleeps.empty());
    clock.wait();
    EXPECT_EQ(sleeps, std::vector<tickClock::time>{at(3)});
}

TEST_F(TickClock, AfterAStallItResynchronisesInsteadOfBursting) {
    clock.start();
    clock.wait();
    now = at(1) + milliseconds(500); // a stalled window: 30 frames behind
    const tickClock::time resumed = now;
    clock.wait();
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(clock.nextDue(), resumed + tickClock::period);
    clock.wait();
    EXPECT_EQ(sleeps, std::vector<tickClock::time>{resumed + tickClock::period});
}

TEST_F(TickClock, RestartingSchedulesFromTheRestart) {
    clock.start();
    clock.wait();
    clock.stop();
    now += milliseconds(200);
    const tickClock::time restarted = now;
    clock.start();
    clock.wait();
    clock.wait();
    EXPECT_EQ(sleeps, std::vector<tickClock::time>{restarted + tickClock::period});
}

TEST(FrameClock, IsStoppedUntilTheGameStartsIt) {
    EXPECT_FALSE(frameClock.isRunning());
}

TEST(FrameClock, SleepsThroughEachFrameRatherThanSpinning) {
    tickClock real;
    real.start();
    const auto wallStart = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    constexpr int frames = 12;
    for (int i = 0; i <= frames; ++i) {
        real.wait();
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    EXPECT_GE(wall.count(), 0.99 * frames / tickClock::framesPerSecond);
    EXPECT_LT(cpu, wall.count() / 2);
}
