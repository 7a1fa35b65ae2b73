#pragma once

#include <chrono>
#include <functional>

// Paces the game at a fixed 60 frames a second: GLUT runs one tick and one frame per turn
// of its loop, so waiting once per frame also fixes the tick rate, whatever the machine.
class tickClock {
  public:
    using time = std::chrono::steady_clock::time_point;
    using nowSource = std::function<time()>;
    using sleeper = std::function<void(time)>; // blocks until the given time

    static constexpr int framesPerSecond = 60;
    static constexpr std::chrono::nanoseconds period{1'000'000'000 / framesPerSecond};
    // Fallen further behind than this, the clock starts afresh from now rather than
    // running a burst of frames to catch up (a stalled window, a slow frame).
    static constexpr int maxLagFrames = 3;

    // Uses the steady clock and really sleeps.
    tickClock();
    // For tests: any time source and any way of waiting.
    tickClock(nowSource now, sleeper sleepUntil);

    // Off, wait() returns at once; on, the first frame is due at once.
    void start();
    void stop();
    bool isRunning() const { return running; }

    // Sleeps until the next frame is due, never spinning; a no-op while stopped.
    void wait();

  private:
    nowSource now;
    sleeper sleepUntil;
    bool running;
    time due;
};

// Paces renderFrame. Stopped until the game's set-up starts it just before the event loop,
// so tests and benchmarks run the step and the frame unpaced.
extern tickClock frameClock;
