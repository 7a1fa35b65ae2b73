#pragma once

#include <chrono>
#include <functional>

#include "app/draw_time.h"
#include "app/retrace.h"

// When each frame is drawn and shown, in the frame loop described at the top of
// app/game.cpp. The game waits first, handling the player's keys the whole time, and starts
// a frame only when there is just time left to draw it before it is due: the predicted
// drawing time, 1 ms and a margin before the moment it reaches the screen. A key pressed during
// the wait thus shows in the very next frame.
//
// A steady picture comes first, the lowest latency that keeps it second. The margin is a
// controller that aims at a share of late frames: each late frame widens it by a step, each
// frame on time narrows it by the step times that share, so it settles where frames are late
// at that rate whatever the tail of the drawing times, and never below nothing.
class framePacer {
  public:
    using time = std::chrono::steady_clock::time_point;
    using nanoseconds = std::chrono::nanoseconds;
    using nowSource = std::function<time()>;
    using sleeper = std::function<void(time)>; // blocks until the given time
    // Blocks until the window system has an event waiting or until the given time.
    using eventWaiter = std::function<void(time)>;

    // How frames are paced: when each is due on screen, and how often the margin lets one
    // come late.
    enum class mode {
        // Not started: every display event takes a frame and every idle call draws it.
        stopped,
        // Each frame drawn at once and the display left to pace them, while half a second
        // of swaps shows whether it holds them until its retrace. Where start begins, so the
        // first frame is shown as soon as the window can show it.
        judging,
        // A display that holds swaps, 80 Hz or slower: each frame is due at the retrace after
        // the last. A late frame shows the picture before it twice, which a player sees: the
        // margin aims at one in 15 s.
        retraces,
        // No sync: the pacer's own 60 Hz beat. A late frame costs only its lateness: the
        // margin aims at one in 100, so the 99th-percentile interval stays near a frame.
        beat,
        // A display that holds swaps, faster than 80 Hz: the pacer's beat, each frame shown
        // at the retrace nearest it. A late frame is seen, as under `retraces`.
        beatOnRetraces,
    };

    // Built stopped.
    framePacer(); // the steady clock, the system's sleep and the window system's events
    // Seam for the tests: time, sleep and events of their own.
    framePacer(nowSource now, sleeper sleepUntil, eventWaiter waitForEvents);

    // Begins judging the display afresh. The game's set-up starts it, and starts it again
    // when the window comes back from hiding; what it learnt of the drawing times stays.
    void start();

    // The display event: true if the next frame is to be drawn now, which takes it, so the
    // world is ticked for it and the idle call that follows draws it.
    bool takeFrameIfDue();
    // The idle call: true if a frame was taken, whose drawing starts now; otherwise waits
    // for the window system's events until the next frame's time to start.
    bool startDrawing();
    // Between a frame's finished drawing and its swap: sleeps until the frame is due on the
    // pacer's beat.
    void awaitPresent();
    // Straight after the swap: learns from when the swap returned.
    void presented();

    // Added to the predicted drawing time and a fixed 1 ms when a frame is started.
    nanoseconds margin() const { return lateMargin; }

  private:
    time presentTarget() const;
    time drawDeadline() const;
    int framesPerLateFrame() const;
    bool retracesFast() const;
    void keepMargin(bool late);
    void judgeDisplay(time t, bool held);
    void beginJudging(time t);
    void enter(mode next);
    void keepBeat(mode beat, time t);

    nowSource now;
    sleeper sleepUntil;
    eventWaiter waitForEvents;
    drawTimePredictor drawTime;
    retraceGrid retraces;
    mode current = mode::stopped;
    nanoseconds lateMargin{0};
    bool marginStarted = false; // by the first mode that aims its frames
    bool taken = false;         // a frame is taken and not yet drawn
    bool waitedFor = false;     // the frame taken started on its deadline, not behind it
    time target{};              // when the frame being drawn is due on screen (aimed modes)
    time due{};                 // the pacer's beat: when the next frame is to be presented
    time drawingSince{};        // the first GL call of the frame being drawn
    time swapStartedAt{};       // when the last frame was let go to its swap
    time lastReturn{};          // when the last swap returned
    time judgingSince{};
    int framesJudged = 0;
    int framesHeld = 0; // of those judged, the frames whose swap the display held
};

// Paces the frames of the game. Stopped until the game's set-up starts it just before the
// event loop.
extern framePacer screenPacer;
