#pragma once

#include <chrono>
#include <functional>

#include "app/draw_time.h"
#include "app/retrace.h"

// When each frame is drawn and shown, in the frame loop described at the top of
// app/game.cpp. The game waits first, handling the player's keys the whole time, and starts
// a frame only when there is just time left to draw it before it is due: the predicted
// drawing time and a small margin before the moment it reaches the screen. A key pressed
// during the wait thus shows in the very next frame.
//
// That moment is a beat of 60 frames a second on the pacer's own clock, or, on a display
// that holds each swap until its retrace (sync to vertical blank), the next retrace, learned
// from when the swaps return. The pacer starts by letting the display pace, drawing each
// frame at once, and keeps its own beat only once it has seen that the display holds no
// swap, or refreshes faster than 80 Hz (then each frame is aimed at the retrace nearest its
// beat); a swap held most of a tick while it keeps the beat hands the pacing back.
class framePacer {
  public:
    using time = std::chrono::steady_clock::time_point;
    using nowSource = std::function<time()>;
    using sleeper = std::function<void(time)>; // blocks until the given time
    // Blocks until the window system has an event waiting or until the given time.
    using eventWaiter = std::function<void(time)>;

    // Built stopped: until start, it never waits, and every display event ticks and every
    // idle call draws.
    framePacer(); // the steady clock, the system's sleep and the window system's events
    // Seam for the tests: time, sleep and events of their own.
    framePacer(nowSource now, sleeper sleepUntil, eventWaiter waitForEvents);

    // Begins by letting the display pace. The game's set-up starts it, and starts it afresh
    // when the window comes back from hiding.
    void start();

    // The display event: true if the next frame is to be drawn now, which takes it, so the
    // world is ticked for it and the idle call that follows draws it.
    bool takeFrameIfDue();
    // The idle call: true if a frame was taken, whose drawing starts now; otherwise waits
    // for the window system's events until the next frame's time to start.
    bool startDrawing();
    // Between a frame's finished drawing and its swap: sleeps until the frame is due, unless
    // the display paces.
    void awaitPresent();
    // Straight after the swap: learns from how long the swap was held.
    void presented();

  private:
    time presentTarget() const;
    time drawDeadline(time target) const;
    bool retracesFast() const;
    bool aimsAtRetraces() const;
    void keepReserve(bool late);
    void judgeDisplay(time t, bool held);
    void beginJudging(time t);

    nowSource now;
    sleeper sleepUntil;
    eventWaiter waitForEvents;
    drawTimePredictor drawTime;
    retraceGrid retraces;
    bool running = false;
    bool displayPaced = true;
    bool holdsSwaps = false;             // the last half second judged, the display held most swaps
    std::chrono::nanoseconds reserve{0}; // added to the margin after late frames
    bool taken = false;                  // a frame is taken and not yet drawn
    time target{};        // when the frame being drawn is to reach the screen; min: at once
    time due{};           // the pacer's own beat: when the next frame is to be presented
    time drawingSince{};  // the first GL call of the frame being drawn
    time swapStartedAt{}; // when the last frame was let go to its swap
    time judgingSince{};
    int framesJudged = 0;
    int framesHeld = 0; // of those judged, the frames whose swap the display held
};

// Paces the frames of the game. Stopped until the game's set-up starts it just before the
// event loop.
extern framePacer screenPacer;

// The game's hooks into the frame: whether the idle call draws, and its present step (the
// pacer's wait, the swap, and what the pacer learns from it).
bool startPacedDrawing();
void presentPaced();
