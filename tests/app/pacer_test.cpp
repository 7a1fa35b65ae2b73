#include "app/pacer.h"

#include <algorithm>
#include <deque>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/timeline.h"

namespace {

using moment = framePacer::time;

// The game's frame loop on the fake time line. Each pass of GLUT's loop handles the events
// that have come, then the display event asks for a frame and the idle call draws it or
// waits. A frame's drawing takes `work`, then the pacer's wait, then a swap that a
// synchronised display holds until its next retrace.
class FramePacer : public testing::Test, protected timeline {
  protected:
    FramePacer() { pacer.start(); }

    // Presents n frames; returns the time from each present to the one before.
    std::vector<nanoseconds> frames(int n) {
        std::vector<nanoseconds> gaps;
        while (static_cast<int>(gaps.size()) < n) {
            while (!events.empty() && events.front() <= now) {
                handled.push_back(now);
                events.pop_front();
            }
            pacer.takeFrameIfDue();
            if (!pacer.startDrawing()) {
                continue;
            }
            drawn.push_back(now);
            now += work;
            pacer.awaitPresent();
            if (retrace > 0s) {
                now = moment((now.time_since_epoch() / retrace + 1) * retrace);
            }
            gaps.push_back(now - shown);
            shown = now;
            pacer.presented();
        }
        return gaps;
    }

    // The window system's wait: it ends at the first event or at the time asked for.
    void waitForEvents(moment until) {
        waits.push_back(until);
        now = std::max(now, events.empty() ? until : std::min(until, events.front()));
    }

    nanoseconds work = 7ms;
    nanoseconds retrace = 0s;  // none: the swap returns at once
    moment shown = now;        // the last present
    std::deque<moment> events; // when keys reach the game, in order
    std::vector<moment> sleeps, waits, drawn, handled;
    framePacer pacer{source(), [this](moment t) { sleeps.push_back(now = t); },
                     [this](moment t) { waitForEvents(t); }};
};

} // namespace

// Unsynchronised, half a second of frames drawn slower than 80 Hz shows the display holds
// nothing; then each swap lands a tick after the last, or when its drawing is done if later.
// A frame drawn slower than predicted is late; it moves the beat: the next waits its whole
// tick.
TEST_F(FramePacer, WithoutSyncItTakesOverAndPresentsEveryTick) {
    work = 14ms;
    frames(30);
    EXPECT_TRUE(sleeps.empty() && waits.empty());
    for (nanoseconds w : {7ms, 12ms, 1ms, 16ms, 3ms, 25ms, 0ms, 40ms, 1ms, 500ms, 0ms}) {
        work = w;
        EXPECT_GE(frames(1)[0], std::max(w, tick)) << w.count();
        EXPECT_EQ(frames(5), std::vector<nanoseconds>(5, std::max(w, tick))) << w.count();
    }
}

// A frame starts when its predicted drawing time and a margin of 1.5 ms are left before it
// is due: the third longest of the last second's frames, or the longest of the last six.
// A spike of 12 ms starts the next six frames that much earlier, then the third longest
// rules again; a renderer that stays slow moves every start earlier within a second.
TEST_F(FramePacer, EachFrameStartsItsPredictedDrawingTimeAndAMarginBeforeItIsDue) {
    frames(90);
    const auto startsBeforeDue = [this](int n) {
        std::vector<nanoseconds> lead;
        for (int i = 0; i < n; ++i) {
            frames(1);
            lead.push_back(shown - drawn.back());
        }
        return lead;
    };
    EXPECT_EQ(startsBeforeDue(3), std::vector<nanoseconds>(3, 8500us));
    work = 12ms;
    frames(1);
    work = 7ms;
    EXPECT_EQ(startsBeforeDue(6), std::vector<nanoseconds>(6, 13500us));
    EXPECT_EQ(startsBeforeDue(3), std::vector<nanoseconds>(3, 8500us));
    work = 9ms;
    frames(60);
    EXPECT_EQ(startsBeforeDue(3), std::vector<nanoseconds>(3, 10500us));
}

// Keys arrive in the wait, one alone and then a burst every 0.1 ms up to the frame's start:
// each is handled as it comes, before the frame is drawn, which starts no later than it
// would with no key and is shown on its beat. The wait sleeps on the events: it ends once
// for each key and once for the frame, and never spins.
TEST_F(FramePacer, KeysAreHandledDuringTheWaitAndNeverMakeAFrameLate) {
    frames(60);
    const nanoseconds start = tick - 8500us; // after the last present
    std::vector<moment> keys{shown + start - 3ms};
    for (nanoseconds t = start - 2ms; t < start; t += 100us) {
        keys.push_back(shown + t);
    }
    events.assign(keys.begin(), keys.end());
    const size_t waited = waits.size();
    handled.clear();
    const moment from = shown;
    EXPECT_EQ(frames(1)[0], tick);
    EXPECT_EQ(handled, keys);
    EXPECT_NEAR((drawn.back() - from - start) / 1ns, 0, 1);
    EXPECT_EQ(waits.size() - waited, keys.size() + 1);
}

// Displays that hold swaps at 60.02 to 30 Hz pace the game: over a minute, in which 60.02 Hz
// drifts a whole frame against the pacer's beat, it never sleeps nor misses a retrace. Once
// it knows the retraces, each frame starts to be finished 1.5 ms before the one it is shown
// at.
TEST_F(FramePacer, ASynchronisedDisplayAtSixtyHertzOrSlowerPacesAlone) {
    for (double hz : {60.02, 59.94, 50.0, 30.0}) {
        pacer.start();
        retrace = nanoseconds(static_cast<int64_t>(1e9 / hz));
        frames(1);
        EXPECT_EQ(frames(3599), std::vector<nanoseconds>(3599, retrace)) << hz << " Hz";
        EXPECT_TRUE(sleeps.empty()) << hz << " Hz";
        EXPECT_NEAR((shown - drawn.back() - work) / 1us, 1500, 2) << hz << " Hz";
    }
}

// A 144 Hz display refreshes fast enough for the pacer's own wait: its swaps then land two
// or three retraces apart, sixty a second, each frame finished just before its retrace.
TEST_F(FramePacer, AFastDisplayIsPacedToSixtyFramesASecond) {
    retrace = nanoseconds(static_cast<int64_t>(1e9 / 144));
    work = 2ms; // long enough a hold to count: only the display's speed hands the pacing over
    frames(60);
    const moment from = now;
    for (nanoseconds i : frames(600)) {
        ASSERT_TRUE(i == 2 * retrace || i == 3 * retrace) << i.count();
    }
    EXPECT_NEAR((now - from) / 600.0 / tick, 1.0, 0.01);
    EXPECT_NEAR((shown - drawn.back() - work) / 1us, 1500, 2);
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
