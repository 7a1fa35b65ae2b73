#include "app/pacer.h"

#include "app/clock.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/timeline.h"

namespace {

using std::chrono::nanoseconds;
using namespace std::chrono_literals;

constexpr nanoseconds tick = tickClock::period;

// The game's frame loop on the fake time line: each frame's drawing takes `work`, then the
// pacer's wait, then a swap that a synchronised display holds until its next retrace.
class FramePacer : public testing::Test, protected timeline {
  protected:
    FramePacer() { pacer.start(); }

    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            now += work;
            pacer.awaitPresent();
            if (retrace > 0s) {
                now = origin + ((now - origin) / retrace + 1) * retrace;
            }
            presents.push_back(now);
            pacer.presented();
        }
    }

    // The intervals between the presents after the given one.
    std::vector<nanoseconds> intervals(size_t from) const {
        std::vector<nanoseconds> out;
        for (size_t i = from + 1; i < presents.size(); ++i) {
            out.push_back(presents[i] - presents[i - 1]);
        }
        return out;
    }

    const framePacer::time origin = now;
    nanoseconds work = 7ms;
    nanoseconds retrace = 0s; // none: the swap returns at once
    std::vector<framePacer::time> presents;
    std::vector<framePacer::time> sleeps;
    framePacer pacer{source(), [this](framePacer::time t) { sleeps.push_back(now = t); }};
};

} // namespace

// Unsynchronised, the first half second of frames shows the display holds nothing; from then
// on every swap lands exactly a tick after the one before, however long the drawing took.
// A frame that comes late, by a little or after a stall, moves the beat: the next one waits
// its whole tick rather than following back to back. Stopped, it never waits.
TEST_F(FramePacer, WithoutSyncItTakesOverAndPresentsEveryTick) {
    frames(30);
    EXPECT_TRUE(sleeps.empty());
    const size_t paced = presents.size() - 1;
    for (nanoseconds w : {7ms, 12ms, 1ms, 16ms, 3ms}) {
        work = w;
        frames(20);
    }
    EXPECT_EQ(intervals(paced), std::vector<nanoseconds>(100, tick));

    for (nanoseconds late : {25ms, 40ms, 500ms}) {
        work = late;
        frames(1);
        const framePacer::time shown = now;
        work = 0s;
        sleeps.clear();
        frames(1);
        EXPECT_EQ(sleeps, (std::vector<framePacer::time>{shown + tick})) << late.count();
    }

    pacer.stop();
    sleeps.clear();
    frames(10);
    EXPECT_TRUE(sleeps.empty());
}

// Displays that hold swaps at 60.02, 59.94, 50 and 30 Hz pace the game themselves: over a
// simulated minute, long enough for 60.02 Hz retraces to drift a whole frame against the
// pacer's own beat, it never waits, so no frame misses the retrace its drawing made.
TEST_F(FramePacer, ASynchronisedDisplayAtSixtyHertzOrSlowerPacesAlone) {
    for (double hz : {60.02, 59.94, 50.0, 30.0}) {
        pacer.start();
        retrace = nanoseconds(static_cast<int64_t>(1e9 / hz));
        const size_t first = presents.size();
        frames(3600);
        EXPECT_TRUE(sleeps.empty()) << hz << " Hz";
        const std::vector<nanoseconds> gaps = intervals(first + 1);
        EXPECT_EQ(std::max_element(gaps.begin(), gaps.end())->count(), retrace.count()) << hz;
    }
}

// A 144 Hz display refreshes fast enough for the pacer's own wait: its swaps then land two
// or three retraces apart, sixty a second.
TEST_F(FramePacer, AFastDisplayIsPacedToSixtyFramesASecond) {
    retrace = nanoseconds(static_cast<int64_t>(1e9 / 144));
    work = 2ms; // long enough a hold to count: only the display's speed hands the pacing over
    frames(60);
    const size_t from = presents.size() - 1;
    frames(600);
    for (nanoseconds i : intervals(from)) {
        ASSERT_TRUE(i == 2 * retrace || i == 3 * retrace) << i.count();
    }
    EXPECT_NEAR((presents.back() - presents[from]) / 600.0 / tick, 1.0, 0.01);
}

// Sync to a 65 Hz display turned on while the pacer waits: within a second a swap is held
// most of a tick, which hands the pacing back to the display, never waited on again. (On a
// display of 60 Hz or slower the swaps come no sooner than the beat, which moves with them.)
TEST_F(FramePacer, ASwapHeldMostOfATickHandsThePacingBack) {
    frames(32);
    ASSERT_FALSE(sleeps.empty());
    retrace = nanoseconds(static_cast<int64_t>(1e9 / 65));
    frames(60);
    sleeps.clear();
    frames(600);
    EXPECT_TRUE(sleeps.empty());
}
