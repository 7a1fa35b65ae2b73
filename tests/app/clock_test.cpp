#include "app/clock.h"

#include <chrono>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using namespace std::chrono_literals;

constexpr nanoseconds tick = tickClock::period;

// Display events on a fake time line: the clock is started at the origin and the first
// event arrives there.
class TickClock : public testing::Test {
  protected:
    TickClock() { clock.start(); }

    // Ticks owed to each event, the events arriving every interval from now on.
    std::vector<int> every(nanoseconds interval, int events) {
        std::vector<int> owed;
        for (int i = 0; i < events; ++i) {
            owed.push_back(clock.ticksOwed());
            now += interval;
        }
        return owed;
    }

    static int sum(const std::vector<int>& owed) {
        int total = 0;
        for (int n : owed) {
            total += n;
        }
        return total;
    }

    tickClock::time now = tickClock::time(1000s);
    tickClock clock{[this] { return now; }};
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
        for (size_t i = 1; i < owed.size(); ++i) {
            ASSERT_GE(owed[i], p.fewest) << p.frame.count() << " ns frames, event " << i;
            ASSERT_LE(owed[i], p.most) << p.frame.count() << " ns frames, event " << i;
        }
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
    const nanoseconds ntscFrame(static_cast<int64_t>(1e9 * 1.001 / 60));
    for (int n : every(ntscFrame, 1200)) {
        ASSERT_EQ(n, 1);
    }
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
    EXPECT_GE(afterStall, 1);
    EXPECT_LE(afterStall, tickClock::maxTicksPerEvent);
    now += tick;
    for (int n : every(tick, 100)) {
        ASSERT_EQ(n, 1);
    }
}
