#pragma once

#include <chrono>
#include <functional>

// Presents frames on the 60 Hz cadence of the ticks: the frame is drawn and finished first,
// then the pacer waits, then the swap, so what lands on time is the swap itself.
//
// A display that holds each swap until its retrace (sync to vertical blank) paces the
// frames by itself, and waiting as well would now and then hold a frame a whole extra
// retrace. So the pacer starts by letting the display pace, and waits on its own clock only
// once it has seen that the display does not hold swaps or refreshes faster than 80 Hz; a
// swap held most of a tick while it waits hands the pacing back to the display.
class framePacer {
  public:
    using time = std::chrono::steady_clock::time_point;
    using nowSource = std::function<time()>;
    using sleeper = std::function<void(time)>; // blocks until the given time

    framePacer(); // the steady clock, really sleeping
    framePacer(nowSource now, sleeper sleepUntil);

    // Begins by letting the display pace. The game's set-up starts it, and starts it afresh
    // when the window comes back from hiding.
    void start();
    // Stopped, as it is built, it never waits and learns nothing from the swaps. Public for
    // the tests that go back to that state.
    void stop();

    // Between a frame's finished drawing and its swap: sleeps until the frame is due,
    // unless the display paces.
    void awaitPresent();
    // Straight after the swap: learns from how long the swap was held.
    void presented();

  private:
    void judgeDisplay(time t, std::chrono::nanoseconds hold);
    void beginJudging(time t);

    nowSource now;
    sleeper sleepUntil;
    bool running = false;
    bool displayPaced = true;
    time due{};           // when the next frame is to be presented, on the pacer's own clock
    time swapStartedAt{}; // when the last frame was let go to its swap
    time judgingSince{};
    int framesJudged = 0;
    bool noSwapHeld = true; // no swap judged so far was held for a retrace
};

// Paces the swaps of presentPaced. Stopped until the game's set-up starts it just before
// the event loop.
extern framePacer screenPacer;

// The game's present step: the pacer's wait, the swap, and what the pacer learns from it.
void presentPaced();
