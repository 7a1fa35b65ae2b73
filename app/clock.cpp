#include "app/clock.h"

#include <thread>
#include <utility>

tickClock frameClock;

tickClock::tickClock()
    : tickClock(std::chrono::steady_clock::now, [](time t) { std::this_thread::sleep_until(t); }) {}

tickClock::tickClock(nowSource now, sleeper sleepUntil)
    : now(std::move(now)), sleepUntil(std::move(sleepUntil)), running(false), due() {}

void tickClock::start() {
    running = true;
    due = now();
}

void tickClock::stop() {
    running = false;
}

void tickClock::wait() {
    if (!running) {
        return;
    }
    const time t = now();
    if (t - due > maxLagFrames * period) {
        due = t;
    }
    if (due > t) {
        sleepUntil(due);
    }
    due += period;
}
