#include "app/clock.h"

#include <chrono>
#include <vector>

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

// A clock on a fake time line: sleeping jumps the time to the wake-up and records it.
class TickClock : public testing::Test {
  protected:
    tickClock::time frame(int n) const { return origin + n * tickClock::period; }

    const tickClock::time origin = tickClock::time(milliseconds(1000));
    tickClock::time now = origin;
    std::vector<tickClock::time> sleeps;
    tickClock clock{[this] { return now; },
                    [this](tickClock::time t) { sleeps.push_back(now = t); }};
};

} // namespace

// The first frame is due at once and each next one 1/60 s after the last, so a frame that ran
// 10 ms sleeps only for the rest of its slot. Stopped, it never waits; the game's clock
// starts stopped.
TEST_F(TickClock, SleepsUntilEachFrameIsDueSixtyTimesASecondUntilStopped) {
    EXPECT_FALSE(frameClock.isRunning());
    clock.start();
    clock.wait();
    now += milliseconds(10);
    clock.wait();
    clock.wait();
    clock.stop();
    clock.wait(); // running, this one would sleep until frame 3
    EXPECT_EQ(sleeps, (std::vector<tickClock::time>{frame(1), frame(2)}));
    EXPECT_EQ(tickClock::period.count(), 16'666'666);
}

// A frame a little late keeps the schedule, catching up without sleeping; after a stall the
// schedule starts afresh from now rather than running a burst of frames.
TEST_F(TickClock, CatchesUpASlightDelayButResynchronisesAfterAStall) {
    clock.start();
    clock.wait();
    now = frame(2) + milliseconds(1);
    clock.wait();
    clock.wait();
    EXPECT_TRUE(sleeps.empty());
    clock.wait();
    EXPECT_EQ(sleeps.back(), frame(3));
    now += milliseconds(500);
    const tickClock::time resumed = now;
    clock.wait();
    clock.wait();
    EXPECT_EQ(sleeps, (std::vector<tickClock::time>{frame(3), resumed + tickClock::period}));
}
