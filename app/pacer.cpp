#include "app/pacer.h"

#include <utility>

#include <GL/glut.h>

#include "app/clock.h"
#include "platform/platform.h"

using std::chrono::nanoseconds;

framePacer screenPacer;

namespace {

constexpr nanoseconds period = tickClock::period;
// Frames judged together before the display's pacing is given up: half a second.
constexpr int judgedFrames = 30;
// A swap held this long was held for a retrace; no copy to the screen takes so long.
constexpr nanoseconds retraceHold = period / 4;
// Held this long after the pacer's own wait, the swap missed a retrace that the frame would
// have made: the display refreshes no faster than 80 Hz.
constexpr nanoseconds missedRetrace = period * 3 / 4;

} // namespace

framePacer::framePacer() : framePacer(std::chrono::steady_clock::now, platform::sleepUntil) {}

framePacer::framePacer(nowSource now, sleeper sleepUntil)
    : now(std::move(now)), sleepUntil(std::move(sleepUntil)) {}

void framePacer::start() {
    running = true;
    displayPaced = true;
    beginJudging(now());
}

void framePacer::stop() {
    running = false;
}

// A frame finished after its time moves the beat to now: the frames after it keep their
// spacing instead of following back to back to catch up, which would show nothing new
// (the clock, not the beat, owes the ticks).
void framePacer::awaitPresent() {
    if (!running) {
        return;
    }
    time t = now();
    if (!displayPaced) {
        if (due > t) {
            sleepUntil(due);
            t = now();
        } else {
            due = t;
        }
        due += period;
    }
    swapStartedAt = t;
}

void framePacer::presented() {
    if (!running) {
        return;
    }
    const time t = now();
    const nanoseconds hold = t - swapStartedAt;
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
void framePacer::judgeDisplay(time t, nanoseconds hold) {
    noSwapHeld = noSwapHeld && hold < retraceHold;
    if (++framesJudged < judgedFrames) {
        return;
    }
    const bool fast = t - judgingSince < judgedFrames * missedRetrace;
    if (noSwapHeld || fast) {
        displayPaced = false;
        due = t + period;
    } else {
        beginJudging(t);
    }
}

void framePacer::beginJudging(time t) {
    judgingSince = t;
    framesJudged = 0;
    noSwapHeld = true;
}

void presentPaced() {
    screenPacer.awaitPresent();
    glutSwapBuffers();
    screenPacer.presented();
}
