#include "app/pacer.h"

#include <algorithm>
#include <utility>

#include "app/clock.h"
#include "platform/platform.h"

using namespace std::chrono_literals;

framePacer screenPacer;

namespace {

using nanoseconds = std::chrono::nanoseconds;

constexpr nanoseconds tick = tickClock::period;
// Drawn at once, a swap held this long was held for a retrace; no copy to the screen takes
// so long.
constexpr nanoseconds retraceHold = tick / 4;
// Aimed at a retrace, a swap that returns no earlier than this before it was held for it;
// one not held returns as its drawing ends, which the safety margin puts earlier.
constexpr nanoseconds retraceReturnSlack = 500us;
// Retraces closer than this come faster than 80 Hz: fine enough to carry the pacer's beat,
// and too fast for the display to pace the game alone at 60 frames a second.
constexpr nanoseconds fastRetrace = 12'500us;
// On the pacer's beat, a swap held most of a tick was held by a display after all, which
// then paces the game again.
constexpr nanoseconds handBackHold = tick * 3 / 4;
// Until the window is shown no display event comes, and the idle call waits for the window's
// events; at most this long, so a window shown without an event is drawn in at once too.
constexpr nanoseconds windowPoll = 1ms;

// A frame is started this much earlier than its predicted drawing time and the margin need,
// for the moment between the wait's end and the first GL call, and the copy to the screen.
constexpr nanoseconds safetyMargin = 1ms;
// The margin's controller: a late frame widens it by the step, never past the widest however
// busy the machine (a stall is not a tail). On a display that holds swaps it aims at one late
// frame in 15 s, inside the one in 10 s allowed; without sync at one in 100, where the
// 99th-percentile interval is a frame on time or one late by a hair.
constexpr nanoseconds marginStep = 1ms;
constexpr nanoseconds widestMargin = 8ms;
// Where a late frame is seen, a new game starts with the margin software renderers settle at,
// rather than none: starting from nothing, it would buy its margin with a run of late frames
// in its first seconds. Without sync such a run costs only its lateness, and it starts at none.
constexpr nanoseconds seenLateStartingMargin = 4ms;
constexpr auto seenLateEvery = 15s;
constexpr int unsyncedFramesPerLate = 100;

} // namespace

framePacer::framePacer()
    : framePacer(std::chrono::steady_clock::now, platform::sleepUntil, platform::waitForEvents) {}

framePacer::framePacer(nowSource now, sleeper sleepUntil, eventWaiter waitForEvents)
    : now(std::move(now)), sleepUntil(std::move(sleepUntil)),
      waitForEvents(std::move(waitForEvents)) {}

void framePacer::start() {
    current = mode::judging;
    taken = false;
    retraces.forget();
    lastReturn = now();
    beginJudging(lastReturn);
}

// The grid of retraces, once learnt, says the display refreshes faster than 80 Hz.
bool framePacer::retracesFast() const {
    return retraces.known() && retraces.period() < fastRetrace;
}

// When the frame taken now is to reach the screen, in the modes that aim their frames.
framePacer::time framePacer::presentTarget() const {
    switch (current) {
    case mode::retraces:
        return retraces.lastReturn() + retraces.period();
    case mode::beatOnRetraces:
        return retracesFast() ? retraces.retraceFrom(due - retraces.period() / 2) : due;
    default:
        return due;
    }
}

framePacer::time framePacer::drawDeadline() const {
    return presentTarget() - drawTime.predicted() - safetyMargin - lateMargin;
}

// One late frame in this many is what the mode's margin aims at.
int framePacer::framesPerLateFrame() const {
    switch (current) {
    case mode::retraces:
        return static_cast<int>(seenLateEvery / retraces.period());
    case mode::beatOnRetraces:
        return static_cast<int>(seenLateEvery / tick);
    default:
        return unsyncedFramesPerLate;
    }
}

// A frame taken after the last swap returned but before its deadline waited for it, and its
// lateness tells of the margin; one behind its deadline from the start does not.
bool framePacer::takeFrameIfDue() {
    if (current == mode::stopped) {
        return true;
    }
    if (taken) {
        return false;
    }
    if (current != mode::judging) {
        const time deadline = drawDeadline();
        if (now() < deadline) {
            return false;
        }
        target = presentTarget();
        waitedFor = deadline > lastReturn;
    }
    taken = true;
    return true;
}

bool framePacer::startDrawing() {
    if (current == mode::stopped) {
        return true;
    }
    if (taken) {
        taken = false;
        drawingSince = now();
        return true;
    }
    waitForEvents(current == mode::judging ? now() + windowPoll : drawDeadline());
    return false;
}

// On the pacer's beat, a frame finished after its time moves the beat to now: the frames
// after it keep their spacing instead of following back to back to catch up, which would
// show nothing new (the clock, not the beat, owes the ticks). Aimed at a retrace, the swap
// goes out half a retrace before it, so the display cannot show it a retrace early.
void framePacer::awaitPresent() {
    if (current == mode::stopped) {
        return;
    }
    time t = now();
    drawTime.record(t - drawingSince);
    if (current == mode::beat || current == mode::beatOnRetraces) {
        const bool onRetraces = current == mode::beatOnRetraces && retracesFast();
        const time wake = onRetraces ? target - retraces.period() / 2 : target;
        const bool late = t > target;
        keepMargin(late);
        if (wake > t) {
            sleepUntil(wake);
            t = now();
        } else if (late) {
            due = t;
        }
        due += tick;
    }
    swapStartedAt = t;
}

// A display that paces judges each frame by its swap: drawn at once, held long enough for a
// retrace; aimed at a retrace, returned no earlier than it, or a retrace late.
void framePacer::presented() {
    if (current == mode::stopped) {
        return;
    }
    const time t = now();
    retraces.swapReturned(t);
    lastReturn = t;
    switch (current) {
    case mode::judging:
        judgeDisplay(t, t - swapStartedAt >= retraceHold);
        break;
    case mode::retraces:
        keepMargin(t > target + retraces.period() / 2);
        judgeDisplay(t, t >= target - retraceReturnSlack);
        break;
    default:
        if (t - swapStartedAt > handBackHold) {
            enter(mode::judging);
            beginJudging(t);
        }
        break;
    }
}

// A late frame that started behind its deadline says nothing of the margin, and is left out.
void framePacer::keepMargin(bool late) {
    if (!late) {
        lateMargin = std::max(0ns, lateMargin - marginStep / framesPerLateFrame());
    } else if (waitedFor) {
        lateMargin = std::min(lateMargin + marginStep, widestMargin);
    }
}

// Every half second of frames the display is judged again: one that held fewer than half of
// them holds no swap, and the pacer keeps its own beat; one whose retraces come faster than
// 80 Hz carries the beat on its retraces. The grid of retraces tells that even when most
// frames take two of them to draw, as long as one now and then takes one (a 144 Hz display
// would otherwise pass for a 72 Hz one); failing a grid, frames coming faster than 80 Hz do.
// A slower display that holds swaps paces alone, each frame aimed at its retrace once the
// grid is known.
void framePacer::judgeDisplay(time t, bool held) {
    framesHeld += held ? 1 : 0;
    if (++framesJudged < halfSecondOfFrames) {
        return;
    }
    const bool fast = retracesFast() || t - judgingSince < halfSecondOfFrames * fastRetrace;
    if (framesHeld * 2 < framesJudged) {
        keepBeat(mode::beat, t);
    } else if (fast) {
        keepBeat(mode::beatOnRetraces, t);
    } else {
        enter(retraces.known() ? mode::retraces : mode::judging);
        beginJudging(t);
    }
}

// The first mode a game aims its frames in starts the margin where that mode's frames settle.
void framePacer::enter(mode next) {
    current = next;
    if (!marginStarted && next != mode::judging) {
        lateMargin = next == mode::beat ? 0ns : seenLateStartingMargin;
        marginStarted = true;
    }
}

void framePacer::keepBeat(mode beat, time t) {
    enter(beat);
    due = t + tick;
}

void framePacer::beginJudging(time t) {
    judgingSince = t;
    framesJudged = 0;
    framesHeld = 0;
}
