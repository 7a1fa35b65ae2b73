#include "app/clock.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/timeline.h"

namespace {

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

} // namespace

// Ten seconds of any display run 60 ticks a second, give or take the one owed. At 60 and
// 30 Hz, with 4 ms of jitter, or at 59.94 Hz (a tick of drift every 17 s) every event gets the
// same number; at 50 and 25 Hz one or two, two or three. A 75 Hz display whose every fourth
// frame takes two retraces averages a tick a frame but is no steady pace: 0 to 2 ticks each.
TEST_F(TickClock, SixtyTicksASecondWhateverTheDisplayDelivers) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> jitterUs(-4000, 4000);
    const nanoseconds retrace(1'000'000'000 / 75);
    const struct {
        const char* name;
        std::function<nanoseconds(int)> at; // the i-th event's time after the first
        int fewest, most;                   // ticks an event after the first runs
    } displays[] = {
        {/*name=*/"60 Hz", /*at=*/[](int i) { return i * tick; }, /*fewest=*/1, /*most=*/1},
        {/*name=*/"50 Hz", /*at=*/[](int i) { return i * 20ms; }, /*fewest=*/1, /*most=*/2},
        {/*name=*/"30 Hz", /*at=*/[](int i) { return i * 2 * tick; }, /*fewest=*/2, /*most=*/2},
        {/*name=*/"25 Hz", /*at=*/[](int i) { return i * 40ms; }, /*fewest=*/2, /*most=*/3},
        {/*name=*/"59.94 Hz", /*at=*/[](int i) { return i * nanoseconds(16'683'333); },
         /*fewest=*/1, /*most=*/1},
        {/*name=*/"jitter",
         /*at=*/[&](int i) { return i * tick + (i ? jitterUs(random) : 0) * 1us; },
         /*fewest=*/1, /*most=*/1},
        {/*name=*/"75 Hz, one and two retraces",
         /*at=*/[&](int i) { return (i + i / 4) * retrace; },
         /*fewest=*/0, /*most=*/2},
    };
    for (const auto& d : displays) {
        clock.start();
        const tickClock::time origin = now;
        std::vector<int> owed;
        for (int i = 0; now - origin < 10s; ++i) {
            now = origin + d.at(i);
            owed.push_back(clock.ticksOwed());
        }
        const int ticks = std::accumulate(owed.begin() + 1, owed.end(), 0);
        EXPECT_NEAR(ticks, (now - origin) / tick, 1) << d.name;
        // Both from the start and over the last five seconds, once any pace has settled.
        for (size_t from : {size_t{1}, owed.size() / 2}) {
            const auto [fewest, most] = std::minmax_element(owed.begin() + from, owed.end());
            EXPECT_EQ(std::pair(*fewest, *most), std::pair(d.fewest, d.most)) << d.name << from;
        }
    }
}

// A minute at 59.94 Hz drifts 3.6 ticks off the beat, all but half a tick of it dropped: the
// first frame to miss a retrace runs three ticks at most, not six. A stalled process then
// catches up four ticks, not two seconds' worth, and goes on as before.
TEST_F(TickClock, DriftAndStallsRunAtMostAFewTicksThenTheBeatResumes) {
    every(nanoseconds(16'683'333), 3600);
    now += tick;
    EXPECT_LE(clock.ticksOwed(), 3);
    now += 2s;
    const std::vector<int> owed = every(tick, 101);
    EXPECT_EQ(owed[0], expected::catchUpTicks);
    EXPECT_EQ(std::vector<int>(owed.begin() + 1, owed.end()), std::vector<int>(100, 1));
}
