#include "app/pacer.h"

#include <algorithm>
#include <utility>

#include <GL/glut.h>

#include "app/clock.h"
#include "platform/platform.h"

using std::chrono::nanoseconds;
using namespace std::chrono_literals;

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
// A frame is started this much earlier than its predicted drawing time needs, for the
// moment between the wait's end and the first GL call, and the copy to the screen.
constexpr nanoseconds safetyMargin = 1ms;
// A frame late for its moment adds to the margin of the frames after it, and the reserve
// melts away again while they are on time. Paced by its own beat, a late frame shows late by
// no more than its lateness: 1 ms, losing a 64th of itself a frame (half in about three
// quarters of a second). On a display that holds swaps it shows a whole retrace late, the
// picture before it twice, which a player sees: 2 ms, losing a 260th a frame (half in about
// three seconds at 60 Hz), so the margin settles where such frames are rare. The reserve
// never grows past the cap however busy the machine.
constexpr nanoseconds lateReserve = 1ms;
constexpr int reserveMelt = 64;
constexpr nanoseconds missedRetraceReserve = 2ms;
constexpr int missedRetraceMelt = 260;
constexpr nanoseconds reserveCap = 8ms;

} // namespace

framePacer::framePacer()
    : framePacer(std::chrono::steady_clock::now, platform::sleepUntil, platform::waitForEvents) {}

framePacer::framePacer(nowSource now, sleeper sleepUntil, eventWaiter waitForEvents)
    : now(std::move(now)), sleepUntil(std::move(sleepUntil)),
      waitForEvents(std::move(waitForEvents)) {}

void framePacer::start() {
    running = true;
    displayPaced = true;
    holdsSwaps = false;
    reserve = 0ns;
    taken = false;
    retraces.forget();
    beginJudging(now());
}

// The grid of retraces, once learnt, says the display refreshes faster than 80 Hz.
bool framePacer::retracesFast() const {
    return retraces.known() && retraces.period() < missedRetrace;
}

// A display that holds swaps and refreshes faster than 80 Hz shows the pacer's beat at the
// retrace nearest to it.
bool framePacer::aimsAtRetraces() const {
    return !displayPaced && holdsSwaps && retracesFast();
}

// Pacing alone, the display shows each frame at the retrace after the last one, and the
// frame is aimed there once the display is seen to hold swaps and the grid of retraces is
// known; until then it is drawn at once. (Frames drawn at once at a steady rate also return
// on a grid, of their own making, so the grid alone proves nothing.)
framePacer::time framePacer::presentTarget() const {
    if (displayPaced) {
        return holdsSwaps && retraces.known() ? retraces.lastReturn() + retraces.period()
                                              : time::min();
    }
    return aimsAtRetraces() ? retraces.retraceFrom(due - retraces.period() / 2) : due;
}

framePacer::time framePacer::drawDeadline(time aim) const {
    return aim == time::min() ? aim : aim - drawTime.predicted() - safetyMargin - reserve;
}

bool framePacer::takeFrameIfDue() {
    if (!running) {
        return true;
    }
    if (taken) {
        return false;
    }
    const time aim = presentTarget();
    if (now() < drawDeadline(aim)) {
        return false;
    }
    taken = true;
    target = aim;
    return true;
}

bool framePacer::startDrawing() {
    if (!running) {
        return true;
    }
    if (taken) {
        taken = false;
        drawingSince = now();
        return true;
    }
    waitForEvents(drawDeadline(presentTarget()));
    return false;
}

// A frame finished after its time moves the beat to now: the frames after it keep their
// spacing instead of following back to back to catch up, which would show nothing new
// (the clock, not the beat, owes the ticks). Aimed at a retrace, the swap goes out half a
// retrace before it, so the display cannot show it a retrace early.
void framePacer::awaitPresent() {
    if (!running) {
        return;
    }
    time t = now();
    drawTime.record(t - drawingSince);
    if (!displayPaced) {
        const time wake = aimsAtRetraces() ? target - retraces.period() / 2 : target;
        keepReserve(t > target);
        if (wake > t) {
            sleepUntil(wake);
            t = now();
        } else if (t > target) {
            due = t;
        }
        due += period;
    }
    swapStartedAt = t;
}

// A frame aimed at a retrace counts as held when its swap returned no earlier than that
// retrace; one drawn at once, when its swap was held long enough for a retrace.
void framePacer::presented() {
    if (!running) {
        return;
    }
    const time t = now();
    const nanoseconds hold = t - swapStartedAt;
    retraces.swapReturned(t);
    if (displayPaced) {
        const bool aimed = target != time::min();
        keepReserve(aimed && t > target + retraces.period() / 2);
        judgeDisplay(t, aimed ? t > target - safetyMargin / 2 : hold >= retraceHold);
    } else if (hold > missedRetrace) {
        displayPaced = true;
        beginJudging(t);
    }
}

void framePacer::keepReserve(bool late) {
    const nanoseconds step = displayPaced ? missedRetraceReserve : lateReserve;
    const int melt = displayPaced ? missedRetraceMelt : reserveMelt;
    reserve = late ? std::min(reserve + step, reserveCap) : reserve - reserve / melt;
}

// After judgedFrames presents, the pacer takes over if the display held fewer than half of
// them (no sync to the display) or if it refreshes faster than 80 Hz: its retraces then
// quantise the beat finely enough. The grid of retraces tells that even when most frames take
// two of them to draw, as long as one now and then takes one (a 144 Hz display would
// otherwise pass for a 72 Hz one); failing a grid, frames coming faster than 80 Hz do.
void framePacer::judgeDisplay(time t, bool held) {
    framesHeld += held ? 1 : 0;
    if (++framesJudged < judgedFrames) {
        return;
    }
    const bool fast = retracesFast() || t - judgingSince < judgedFrames * missedRetrace;
    holdsSwaps = framesHeld * 2 >= framesJudged;
    if (!holdsSwaps || fast) {
        displayPaced = false;
        due = t + period;
    } else {
        beginJudging(t);
    }
}

void framePacer::beginJudging(time t) {
    judgingSince = t;
    framesJudged = 0;
    framesHeld = 0;
}

bool startPacedDrawing() {
    return screenPacer.startDrawing();
}

// The swap of a display synchronised to its retrace may return at once and block the next GL
// call instead; finishing here keeps that wait out of the next frame's drawing time and
// dates the return by the swap's true end.
void presentPaced() {
    screenPacer.awaitPresent();
    glutSwapBuffers();
    glFinish();
    screenPacer.presented();
}
