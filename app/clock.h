#pragma once

#include <chrono>
#include <functional>

// Counts the world's ticks from real time, 60 a second whatever the display delivers, in the
// frame loop described at the top of app/game.cpp: each ticking display event runs as many
// ticks as the time since the last one owes (0, 1 or more).
// A display that keeps a steady pace near a whole number of ticks per event gets exactly
// that number every event, so a 60 Hz screen shows every tick once and never a 0-then-2
// stutter from a millisecond of jitter.
class tickClock {
  public:
    using time = std::chrono::steady_clock::time_point;
    using nowSource = std::function<time()>;

    static constexpr int ticksPerSecond = 60;
    static constexpr std::chrono::nanoseconds period{1'000'000'000 / ticksPerSecond};
    // However long the game was held up (window dragged, process stopped), one display
    // event runs at most this many ticks, so the world never lurches forward.
    static constexpr int maxTicksPerEvent = 4;

    // Built stopped: until start, every event runs one tick, so tests and benchmarks step
    // the world by hand.
    tickClock(); // reads the steady clock
    // Seam for the tests: time read from their own source.
    explicit tickClock(nowSource now);

    // Starting forgets every event before: the first event after it runs one tick and
    // starts the count. The game's set-up starts the clock, and starts it afresh when the
    // window comes back from hiding, so no tick is owed for the time it was away.
    void start();

    // The ticks owed to the display event that calls it.
    int ticksOwed();

  private:
    // Intervals that must keep one pace before it counts as steady: about half a second.
    static constexpr int paceIntervals = 31;
    // A pace counts as steady within one part in this many of a whole number of ticks,
    // which keeps the game within 0.4 ticks a second of 60.
    static constexpr int paceTolerance = 150;

    void judgePace(std::chrono::nanoseconds interval);
    int steadyTicksPerEvent() const;

    nowSource now;
    bool running = false;
    bool counting = false; // an event has come since start
    time last{};
    // Time owed but not yet ticked, kept within half a tick either way, so arrival jitter
    // of up to half a tick never moves a tick to a neighbouring event.
    std::chrono::nanoseconds residual{0};
    // The latest run of intervals that each lie within half a tick of paceTicks ticks, and
    // their sum.
    int paceTicks = 0;
    int runLength = 0;
    std::chrono::nanoseconds runSum{0};
};

// Counts the ticks stepWorld runs. Stopped until the game's set-up starts it just before
// the event loop.
extern tickClock worldClock;
