#include "app/clock.h"

#include <algorithm>
#include <chrono>
#include <numeric>
#include <random>
#include <string>
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

    tickClock clock{source()};
};

// Ten seconds of arrivals: the i-th event comes at(i) after the first.
struct arrivals {
    std::string name;
    std::vector<nanoseconds> at;
    int fewest, most; // ticks a single event may run after the first
};

arrivals steady(const std::string& name, nanoseconds frame, int fewest, int most) {
    arrivals a{name, {}, fewest, most};
    for (nanoseconds t{0}; t <= 10s; t += frame) {
        a.at.push_back(t);
    }
    return a;
}

} // namespace

// Stopped, every event runs one tick, however much time passes; the game's own clock starts
// so, and two events at once would otherwise owe the second nothing. Started, the first
// event runs one tick and starts the count.
TEST_F(TickClock, StoppedEveryEventRunsOneTickAndTheGamesClockStartsStopped) {
    EXPECT_EQ((std::vector<int>{worldClock.ticksOwed(), worldClock.ticksOwed()}),
              (std::vector<int>{1, 1}));
    clock.stop();
    EXPECT_EQ(every(1s, 3), (std::vector<int>{1, 1, 1}));
    clock.start();
    EXPECT_EQ(every(0s, 3), (std::vector<int>{1, 0, 0}));
}

// Whatever the display delivers, the ticks follow the time, 60 a second, give or take the
// one still owed. At 60 and 30 frames a second, with 4 ms of jitter either side of the 60 Hz
// beat, or on a 59.94 Hz display whose beat drifts a tick behind every 17 s, every event gets
// the same number; at 50 and 25 each runs one or two, two or three. A 75 Hz display on which
// one frame in four takes two retraces averages a tick a frame, but is no steady pace:
// rounding its short frames up to a whole tick each would run the game fast.
TEST_F(TickClock, SixtyTicksASecondWhateverTheDisplayDelivers) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> jitterUs(-4000, 4000);
    arrivals jitter{"4 ms of jitter", {}, 1, 1};
    for (int i = 0; i <= 600; ++i) {
        jitter.at.push_back(i * tick + std::chrono::microseconds(i == 0 ? 0 : jitterUs(random)));
    }
    std::bernoulli_distribution missed(0.25);
    const nanoseconds retrace(1'000'000'000 / 75);
    arrivals mixed{"75 Hz, one and two retraces", {nanoseconds(0)}, 0, 2};
    while (mixed.at.back() < 10s) {
        mixed.at.push_back(mixed.at.back() + (missed(random) ? 2 : 1) * retrace);
    }
    for (const arrivals& a : {steady("60 Hz", tick, 1, 1), steady("50 Hz", 20ms, 1, 2),
                              steady("30 Hz", 2 * tick, 2, 2), steady("25 Hz", 40ms, 2, 3),
                              steady("59.94 Hz", nanoseconds(16'683'333), 1, 1), jitter, mixed}) {
        clock.start();
        const tickClock::time origin = now;
        std::vector<int> owed;
        for (nanoseconds t : a.at) {
            now = origin + t;
            owed.push_back(clock.ticksOwed());
        }
        const int ticks = std::accumulate(owed.begin() + 1, owed.end(), 0);
        EXPECT_NEAR(ticks, a.at.back() / tick, 1) << a.name;
        const auto [fewest, most] = std::minmax_element(owed.begin() + 1, owed.end());
        EXPECT_TRUE(*fewest >= a.fewest && *most <= a.most) << a.name;
    }
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
