#include "app/pacer.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/timeline.h"

namespace {

// The game's frame loop on the fake time line: each frame's drawing takes `work`, then the
// pacer's wait, then a swap that a synchronised display holds until its next retrace.
class FramePacer : public testing::Test, protected timeline {
  protected:
    FramePacer() { pacer.start(); }

    // Presents n frames; returns the time from each present to the one before.
    std::vector<nanoseconds> frames(int n) {
        std::vector<nanoseconds> gaps;
        for (int i = 0; i < n; ++i) {
            now += work;
            pacer.awaitPresent();
            if (retrace > 0s) {
                now = framePacer::time((now.time_since_epoch() / retrace + 1) * retrace);
            }
            gaps.push_back(now - shown);
            shown = now;
            pacer.presented();
        }
        return gaps;
    }

    nanoseconds work = 7ms;
    nanoseconds retrace = 0s;     // none: the swap returns at once
    framePacer::time shown = now; // the last present
    std::vector<framePacer::time> sleeps;
    framePacer pacer{source(), [this](framePacer::time t) { sleeps.push_back(now = t); }};
};

} // namespace

// Unsynchronised, half a second of frames drawn slower than 80 Hz shows the display holds
// nothing; then each swap lands a tick after the last, or when its drawing is done if later.
// A late frame moves the beat: the next waits its whole tick. Stopped, it never waits.
TEST_F(FramePacer, WithoutSyncItTakesOverAndPresentsEveryTick) {
    work = 14ms;
    frames(30);
    EXPECT_TRUE(sleeps.empty());
    for (nanoseconds w : {7ms, 12ms, 1ms, 16ms, 3ms, 25ms, 0ms, 40ms, 1ms, 500ms, 0ms}) {
        work = w;
        EXPECT_EQ(frames(5), std::vector<nanoseconds>(5, std::max(w, tick))) << w.count();
    }
    pacer.stop();
    sleeps.clear();
    frames(10);
    EXPECT_TRUE(sleeps.empty());
}

// Displays that hold swaps at 60.02 to 30 Hz pace the game: over a minute, in which 60.02 Hz
// drifts a whole frame against the pacer's beat, it never waits nor misses a retrace.
TEST_F(FramePacer, ASynchronisedDisplayAtSixtyHertzOrSlowerPacesAlone) {
    for (double hz : {60.02, 59.94, 50.0, 30.0}) {
        pacer.start();
        retrace = nanoseconds(static_cast<int64_t>(1e9 / hz));
        frames(1);
        EXPECT_EQ(frames(3599), std::vector<nanoseconds>(3599, retrace)) << hz << " Hz";
        EXPECT_TRUE(sleeps.empty()) << hz << " Hz";
    }
}

// A 144 Hz display refreshes fast enough for the pacer's own wait: its swaps then land two
// or three retraces apart, sixty a second.
TEST_F(FramePacer, AFastDisplayIsPacedToSixtyFramesASecond) {
    retrace = nanoseconds(static_cast<int64_t>(1e9 / 144));
    work = 2ms; // long enough a hold to count: only the display's speed hands the pacing over
    frames(60);
    const framePacer::time from = now;
    for (nanoseconds i : frames(600)) {
        ASSERT_TRUE(i == 2 * retrace || i == 3 * retrace) << i.count();
    }
    EXPECT_NEAR((now - from) / 600.0 / tick, 1.0, 0.01);
}

// Sync to a 65 Hz display turned on while the pacer waits: within a second a swap is held
// most of a tick, which hands the pacing back for good. (At 60 Hz or slower the moved beat
// never waits.)
TEST_F(FramePacer, ASwapHeldMostOfATickHandsThePacingBack) {
    frames(32);
    ASSERT_FALSE(sleeps.empty());
    retrace = nanoseconds(static_cast<int64_t>(1e9 / 65));
    frames(60);
    sleeps.clear();
    frames(600);
    EXPECT_TRUE(sleeps.empty());
}
