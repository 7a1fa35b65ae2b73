// Preloaded into the real game by the paced benchmark (LD_PRELOAD). It stands in front of
// these library calls and passes each on:
//   gluLookAt, where each frame puts the camera over the player: the eye's place is the
//     player's, so the benchmark counts ticks from how far the player has flown;
//   glFogf, where each frame sets the fog's start, which the O and P keys move: the
//     benchmark finds the first frame that shows a key by it;
//   glClear, each frame's first call, where its drawing starts, made
//     $SKYHUNT_PROBE_SLOW_MS milliseconds slower to stand for a slower renderer;
//   glFinish, whose first call after a glClear ends the frame's drawing: the picture is
//     ready and anything until the swap is the game's own waiting;
//   glXSwapBuffers, which GLUT calls to present a frame: with $SKYHUNT_PROBE_HZ set, held
//     until the first retrace after the swap is asked for, on a display refreshing that
//     many times a second, as a display synchronised to its vertical blank does.
//   nanosleep, clock_nanosleep and ppoll, the game's sleeps and its wait for events, whose
//     ends tell whether the game waited between a picture's end and its swap.
// It keeps the time every present returned, the eye's place and fog start it was drawn with,
// the retraces the game's own wait cost the frame (it went out that many retraces after the
// first one its picture was ready for) and how long it took to draw, in fixed arrays, so the
// game allocates nothing more, and writes them at exit to $SKYHUNT_PROBE_LOG: first the
// steady-clock ns its first frame began, then a line a present, "<steady-clock ns>
// <frames drawn so far> <eye x> <eye z> <retraces held> <fog start> <drawing ns>".
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <dlfcn.h>
#include <poll.h>

namespace {

constexpr int maxFrames = 1 << 17; // half an hour at 60 frames a second

struct present {
    int64_t atNs;
    int64_t drawn;
    double eyeX, eyeZ;
    int64_t heldRetraces;
    double fogStart;
    int64_t drawingNs;
};
present presents[maxFrames];
int frames = 0;
int64_t drawn = 0;
double lastEyeX = 0, lastEyeZ = 0;
double lastFogStart = 0;
int64_t startedNs = 0;    // when the frame being drawn made its first call
bool drawing = false;     // between a frame's glClear and the end of its drawing
int64_t finishedNs = 0;   // when the game's last glFinish returned
int64_t drawingNs = 0;    // how long the last frame took to draw
int64_t firstClearNs = 0; // when its first frame made its first call
int64_t waitedNs = 0;     // when the game's last sleep or wait for events ended

// The clock std::chrono::steady_clock reads on Linux, so the benchmark can compare.
int64_t nowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

double envNumber(const char* name) {
    const char* text = std::getenv(name);
    return text != nullptr ? std::atof(text) : 0;
}

const double refreshHz = envNumber("SKYHUNT_PROBE_HZ");
const int64_t slowNs = static_cast<int64_t>(envNumber("SKYHUNT_PROBE_SLOW_MS") * 1e6);
const int64_t retraceOrigin = nowNs();

// Retraces are numbered from the start of the game; this is the first one strictly after
// the given time, and when it comes.
int64_t retraceAfter(int64_t ns) {
    return static_cast<int64_t>((ns - retraceOrigin) / (1e9 / refreshHz)) + 1;
}
int64_t retraceNs(int64_t retrace) {
    return retraceOrigin + static_cast<int64_t>(retrace * (1e9 / refreshHz));
}

template <typename function>
function real(const char* name) {
    return reinterpret_cast<function>(dlsym(RTLD_NEXT, name));
}

using clockNanosleep = int (*)(clockid_t, int, const timespec*, timespec*);

// The probe's own sleeps go straight to the C library, past the watch on the game's below.
void sleepUntilNs(int64_t ns) {
    static const auto sleep = real<clockNanosleep>("clock_nanosleep");
    const timespec t{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    while (sleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
    }
}

struct logWriter {
    ~logWriter() {
        const char* path = std::getenv("SKYHUNT_PROBE_LOG");
        FILE* out = path != nullptr ? std::fopen(path, "w") : nullptr;
        if (out == nullptr) {
            return;
        }
        std::fprintf(out, "%lld\n", static_cast<long long>(firstClearNs));
        for (int i = 0; i < frames; ++i) {
            const present& p = presents[i];
            std::fprintf(out, "%lld %lld %.9g %.9g %lld %.9g %lld\n",
                         static_cast<long long>(p.atNs), static_cast<long long>(p.drawn), p.eyeX,
                         p.eyeZ, static_cast<long long>(p.heldRetraces), p.fogStart,
                         static_cast<long long>(p.drawingNs));
        }
        std::fclose(out);
    }
} writer;

} // namespace

extern "C" void glFinish() {
    static const auto next = real<void (*)()>("glFinish");
    next();
    finishedNs = nowNs();
    if (drawing) {
        drawing = false;
        drawingNs = finishedNs - startedNs;
    }
}

// The X types reduced to what crosses the call: a display pointer and an XID.
extern "C" void glXSwapBuffers(void* display, unsigned long drawable) {
    static const auto next = real<void (*)(void*, unsigned long)>("glXSwapBuffers");
    static const auto finish = real<void (*)()>("glFinish");
    int64_t held = 0;
    if (refreshHz > 0) {
        // A picture the game did not finish itself is ready once it is finished here.
        finish();
        // Only a sleep or a wait for events between the end of its drawing and the swap holds
        // a finished picture back; the calls in between take microseconds.
        const int64_t asked = nowNs();
        const bool finishedHere = finishedNs <= (frames > 0 ? presents[frames - 1].atNs : 0);
        const int64_t ready = finishedHere || waitedNs < finishedNs ? asked : finishedNs;
        const int64_t shown = retraceAfter(asked);
        held = shown - retraceAfter(ready);
        sleepUntilNs(retraceNs(shown));
    }
    next(display, drawable);
    if (frames < maxFrames) {
        presents[frames++] = {nowNs(), drawn, lastEyeX, lastEyeZ, held, lastFogStart, drawingNs};
    }
}

extern "C" void glClear(unsigned int mask) {
    static const auto next = real<void (*)(unsigned int)>("glClear");
    startedNs = nowNs();
    drawing = true;
    if (firstClearNs == 0) {
        firstClearNs = startedNs;
    }
    if (slowNs > 0) {
        sleepUntilNs(nowNs() + slowNs);
    }
    next(mask);
}

extern "C" void gluLookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY,
                          double centreZ, double upX, double upY, double upZ) {
    static const auto next =
        real<void (*)(double, double, double, double, double, double, double, double, double)>(
            "gluLookAt");
    ++drawn;
    lastEyeX = eyeX;
    lastEyeZ = eyeZ;
    next(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
}

extern "C" void glFogf(unsigned int name, float value) {
    static const auto next = real<void (*)(unsigned int, float)>("glFogf");
    constexpr unsigned int fogStartName = 0x0B63; // GL_FOG_START
    if (name == fogStartName) {
        lastFogStart = value;
    }
    next(name, value);
}

// The game's waits, timed as they end: std::this_thread's sleeps and the wait for the window
// system's events.
extern "C" int nanosleep(const timespec* length, timespec* left) {
    static const auto next = real<int (*)(const timespec*, timespec*)>("nanosleep");
    const int result = next(length, left);
    waitedNs = nowNs();
    return result;
}

extern "C" int clock_nanosleep(clockid_t clock, int flags, const timespec* until, timespec* left) {
    static const auto next = real<clockNanosleep>("clock_nanosleep");
    const int result = next(clock, flags, until, left);
    waitedNs = nowNs();
    return result;
}

extern "C" int ppoll(pollfd* fds, nfds_t count, const timespec* timeout, const sigset_t* mask) {
    static const auto next =
        real<int (*)(pollfd*, nfds_t, const timespec*, const sigset_t*)>("ppoll");
    const int result = next(fds, count, timeout, mask);
    waitedNs = nowNs();
    return result;
}
