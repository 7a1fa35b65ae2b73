#include "app/clock.h"

#include <chrono>
#include <numeric>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/timeline.h"

namespace {

using std::chrono::nanoseconds;
using namespace std::chrono_literals;

constexpr nanoseconds tick = tickClock::period;

// Display events on the fake time line; the clock starts where the first event arrives.
class TickClock : public testing::Test, protected timeline {
  protected:
    TickClock() { clock.start(); }

    // Ticks owed to each event, the events arriving every interval from now on.
    std::vector<int> every(nanoseconds interval, int events) {
        std::vector<int> owed;
        for (int i = 0; i < events; ++i, now += interval) {
            owed.push_back(clock.ticksOwed());
        }
        return owed;
    }
    static int sum(const std::vector<int>& owed) {
        return std::accumulate(owed.begin(), owed.end(), 0);
    }

    tickClock clock{source()};
};

} // namespace

TEST_F(TickClock, StoppedEveryEventRunsOneTickAndTheGamesClockStartsStopped) {
    EXPECT_FALSE(worldClock.isRunning());
    clock.stop();
    EXPECT_EQ(every(1s, 3), (std::vector<int>{1, 1, 1}));
    clock.start();
    EXPECT_EQ(every(0s, 3), (std::vector<int>{1, 0, 0}));
}

// Ten simulated seconds at each frame time make 600 ticks, give or take the one still owed.
// At 60 and 30 frames a second every frame runs the same number; at 50 and 25 each runs
// one or two, two or three, never a frame without a tick.
TEST_F(TickClock, SixtyTicksASecondAtAnyFrameTime) {
    struct pace {
        nanoseconds frame;
        int fewest, most;
    };
    for (const pace& p :
         {pace{tick, 1, 1}, pace{20ms, 1, 2}, pace{2 * tick, 2, 2}, pace{40ms, 2, 3}}) {
        clock.start();
        const std::vector<int> owed = every(p.frame, static_cast<int>(10s / p.frame) + 1);
        EXPECT_NEAR(sum(owed) - 1, 600, 1) << p.frame.count() << " ns frames";
        const auto [fewest, most] = std::minmax_element(owed.begin() + 1, owed.end());
        EXPECT_TRUE(*fewest == p.fewest && *most == p.most) << p.frame.count() << " ns frames";
    }
}

// Events that wander up to 4 ms either side of the 60 Hz beat, and a 59.94 Hz display whose
// beat drifts a tick behind every 17 s, each get exactly one tick: the eye sees every tick.
TEST_F(TickClock, OneTickPerEventWhileTheDisplayKeepsUpWithJitterOrDrift) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> jitterUs(-4000, 4000);
    const tickClock::time origin = now;
    for (int i = 0; i < 1200; ++i) {
        now = origin + i * tick + std::chrono::microseconds(jitterUs(random));
        ASSERT_EQ(clock.ticksOwed(), 1) << "event " << i;
    }
    clock.start();
    EXPECT_EQ(every(nanoseconds(static_cast<int64_t>(1e9 * 1.001 / 60)), 1200),
              std::vector<int>(1200, 1));
}

// A 75 Hz display on which three frames in four make their retrace and the rest take two
// averages a tick a frame, but is no steady pace: rounding its short frames up to a whole
// tick each would run the game fast.
TEST_F(TickClock, AMixOfOneAndTwoRetracesIsCountedByTheTime) {
    const nanoseconds retrace(1'000'000'000 / 75);
    std::mt19937 random(3);
    std::bernoulli_distribution missed(0.25);
    const tickClock::time origin = now;
    int total = 0;
    while (now - origin < 10s) {
        total += sum(every(missed(random) ? 2 * retrace : retrace, 1));
    }
    total += clock.ticksOwed(); // the event that ends the run
    EXPECT_NEAR(total - 1, (now - origin) / tick, 1);
}

// A stalled process catches up a few ticks, not two seconds' worth, then goes on as before.
TEST_F(TickClock, AStallRunsAtMostTheHitchLimitThenTheBeatResumes) {
    every(tick, 100);
    now += 2s;
    const int afterStall = clock.ticksOwed();
    EXPECT_TRUE(afterStall >= 1 && afterStall <= tickClock::maxTicksPerEvent) << afterStall;
    now += tick;
    EXPECT_EQ(every(tick, 100), std::vector<int>(100, 1));
}
