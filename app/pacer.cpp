#include "app/pacer.h"

#include <thread>
#include <utility>

framePacer screenPacer;

framePacer::framePacer()
    : framePacer(std::chrono::steady_clock::now, [](time t) { std::this_thread::sleep_until(t); }) {
}

framePacer::framePacer(nowSource now, sleeper sleepUntil)
    : now(std::move(now)), sleepUntil(std::move(sleepUntil)) {}

void framePacer::start() {
    running = true;
    displayPaced = true;
    const time t = now();
    due = t;
    released = t;
    beginJudging(t);
}

void framePacer::stop() {
    running = false;
}

void framePacer::awaitPresent() {
    if (!running) {
        return;
    }
    time t = now();
    if (!displayPaced) {
        if (t - due > maxLagFrames * period) {
            due = t;
        }
        if (due > t) {
            sleepUntil(due);
            t = now();
        }
        due += period;
    }
    released = t;
}

void framePacer::presented() {
    if (!running) {
        return;
    }
    const time t = now();
    const std::chrono::nanoseconds hold = t - released;
    if (displayPaced) {
        judgeDisplay(t, hold);
    } else if (hold > missedRetrace) {
        displayPaced = true;
        beginJudging(t);
    }
}

// After judgedFrames presents, the pacer takes over if no swap was held for a retrace (no
// sync to the display) or if they came faster than 80 Hz on average (a fast display, which
// its retraces then quantise finely enough).
void framePacer::judgeDisplay(time t, std::chrono::nanoseconds hold) {
    noneHeld = noneHeld && hold < retraceHold;
    if (++judged < judgedFrames) {
        return;
    }
    const bool fast = t - judgingSince < judgedFrames * missedRetrace;
    if (noneHeld || fast) {
        displayPaced = false;
        due = t + period;
    } else {
        beginJudging(t);
    }
}

void framePacer::beginJudging(time t) {
    judgingSince = t;
    judged = 0;
    noneHeld = true;
}
