#pragma once

#include <chrono>
#include <functional>

#include "app/clock.h"

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
    using time = tickClock::time;
    using nowSource = tickClock::nowSource;
    using sleeper = std::function<void(time)>; // blocks until the given time

    static constexpr std::chrono::nanoseconds period = tickClock::period;
    // Fallen further behind than this, the schedule starts afresh from now rather than
    // presenting a burst of frames to catch up.
    static constexpr int maxLagFrames = 3;

    framePacer(); // the steady clock, really sleeping
    framePacer(nowSource now, sleeper sleepUntil);

    // Off, it never waits; on, it begins by letting the display pace.
    void start();
    void stop();
    bool isRunning() const { return running; }
    bool displayPaces() const { return displayPaced; }

    // Between a frame's finished drawing and its swap: sleeps until the frame is due,
    // unless the display paces.
    void awaitPresent();
    // Straight after the swap: learns from how long the swap was held.
    void presented();

  private:
    // Frames judged together before the display's pacing is given up: half a second.
    static constexpr int judgedFrames = 30;
    // A swap held this long was held for a retrace; no copy to the screen takes so long.
    static constexpr std::chrono::nanoseconds retraceHold = period / 4;
    // Held this long after the pacer's own wait, the swap missed a retrace that the frame
    // would have made: the display refreshes no faster than 80 Hz.
    static constexpr std::chrono::nanoseconds missedRetrace = period * 3 / 4;

    void judgeDisplay(time t, std::chrono::nanoseconds hold);
    void beginJudging(time t);

    nowSource now;
    sleeper sleepUntil;
    bool running = false;
    bool displayPaced = true;
    time due{};      // when the next frame is to be presented, on the pacer's own clock
    time released{}; // when the last frame was let go to its swap
    time judgingSince{};
    int judged = 0;
    bool noneHeld = true; // no swap judged so far was held for a retrace
};

// Paces renderFrame's swaps. Stopped until the game's set-up starts it just before the
// event loop, so tests and benchmarks draw unpaced.
extern framePacer screenPacer;
