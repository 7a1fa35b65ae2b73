// The real game on a virtual X server of its own, ten seconds on each simulated display
// ($SKYHUNT_BENCH_SECONDS to change it), twice: ticks per second, frames per second, the
// 99th-percentile and the longest interval between presented frames, the late frames (shown
// 1.5 frames or more after the one before), processor seconds per second of wall time, the
// time from start to the first drawn frame beside its floor, peak resident memory, and on a
// synchronised display the retraces by which the game's own wait held back finished frames
// and the frames that missed their retrace because drawing them took longer. A preloaded probe
// (probe.cpp) holds each swap for the simulated display's retrace, slows the renderer if asked, and
// logs every present with the camera's place; the ticks are counted from how far the player has
// flown at the speed the keys gave it.
//
// Through the measured seconds the benchmark also presses O and P by turns at random moments
// against the game's beat, each timed once the X server has it, and finds the first present
// drawn with the fog start that key gave: the key-to-screen time, beside the frames' own
// drawing times.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>

#include "app/clock.h"
#include "app/keyboard.h"
#include "app/world.h"
#include "bench/bench.h"
#include "tools/driver/proc.h"
#include "tools/driver/scratch.h"
#include "tools/driver/session.h"

namespace {

using namespace std::chrono_literals;

constexpr auto settle = 2s; // past start-up and the key presses before the window opens
constexpr int runs = 2;     // each row's figures are the median of this many
// A key every 50 to 83 ms: a run in which fewer than this many a second show lost them.
constexpr int fewestKeysPerSecond = 5;

// The player flies straight along +Z at this many presses of W.
constexpr int speedPresses = 20;

struct present {
    int64_t atNs;  // when its swap returned
    int64_t drawn; // frames drawn so far
    double eyeX, eyeZ;
    int64_t heldRetraces; // retraces the game's own wait kept a finished picture back
    double fogStart;
    int64_t drawingNs;
};

// The probe's log: when the game began its first frame, then its presents.
std::vector<present> readProbe(const std::string& path, int64_t& firstClearNs) {
    std::vector<present> out;
    std::ifstream in(path);
    in >> firstClearNs;
    present p{};
    while (in >> p.atNs >> p.drawn >> p.eyeX >> p.eyeZ >> p.heldRetraces >> p.fogStart >>
           p.drawingNs) {
        out.push_back(p);
    }
    return out;
}

int64_t nanos(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

struct keyPress {
    int64_t atNs;    // when the X server had it
    double fogAfter; // the fog start the game draws with once it has handled it
};

// Presses O and P by turns on the game's window until `end`, each 50 ms plus up to two
// frames after the last, so the presses fall on every phase of the game's beat, and each
// key shows before the next comes. The seed is fixed, so runs press alike.
std::vector<keyPress> pressFogKeys(gameSession& game, std::chrono::steady_clock::time_point end) {
    std::vector<keyPress> presses;
    Display* dpy = XOpenDisplay(game.display().c_str());
    if (dpy == nullptr || game.window() == 0) {
        return presses;
    }
    XSetInputFocus(dpy, game.window(), RevertToPointerRoot, CurrentTime);
    const KeyCode pull = XKeysymToKeycode(dpy, XK_o);
    const KeyCode push = XKeysymToKeycode(dpy, XK_p);
    std::mt19937 random(2026);
    std::uniform_int_distribution<int> pauseUs(50'000, 50'000 + 2 * 16'667);
    double fog = fogStartAtLaunch;
    for (bool pulling = true;; pulling = !pulling) {
        const auto at =
            std::chrono::steady_clock::now() + std::chrono::microseconds(pauseUs(random));
        if (at >= end) {
            break;
        }
        std::this_thread::sleep_until(at);
        const KeyCode key = pulling ? pull : push;
        XTestFakeKeyEvent(dpy, key, True, CurrentTime);
        XSync(dpy, False);
        fog += pulling ? -fogStep : fogStep;
        presses.push_back({nanos(std::chrono::steady_clock::now()), fog});
        XTestFakeKeyEvent(dpy, key, False, CurrentTime);
        XSync(dpy, False);
    }
    XCloseDisplay(dpy);
    return presses;
}

// Milliseconds from each key to the return of the first present drawn with its fog start,
// found before the next key's; a key that shows only with the next one (a stall longer
// than the pause between them) is left out.
std::vector<double> keyToScreenMs(const std::vector<keyPress>& keys,
                                  const std::vector<present>& presents) {
    std::vector<double> ms;
    for (size_t i = 0; i < keys.size(); ++i) {
        const int64_t before = i + 1 < keys.size() ? keys[i + 1].atNs : INT64_MAX;
        const auto p = std::find_if(presents.begin(), presents.end(), [&](const present& f) {
            return f.atNs > keys[i].atNs && std::abs(f.fogStart - keys[i].fogAfter) < 1e-3;
        });
        if (p != presents.end() && p->atNs < before) {
            ms.push_back((p->atNs - keys[i].atNs) / 1e6);
        }
    }
    return ms;
}

// The value below which the given percentage of the sorted values lie.
double percentile(const std::vector<double>& sorted, size_t percent) {
    return sorted[std::min(sorted.size() - 1, sorted.size() * percent / 100)];
}

// The player's speed as the game sums it, one float addition a key press.
float playerSpeed() {
    float speed = 0;
    for (int i = 0; i < speedPresses; ++i) {
        speed += speedStep;
    }
    return speed;
}

// One game on one display, measured as the file's head describes: its figures, or why it
// gave none.
struct pacedRun {
    benchmark::UserCounters counters;
    double wallSeconds = 0;
    std::string failure;
};

pacedRun measurePaced(const simulatedDisplay& display, const char* binary) {
    pacedRun run;
    scratchDir logs;
    const std::string log = logs.path() + "/presents";
    gameSession::options o;
    o.binary = binary;
    o.env = {{"LD_PRELOAD", SKYHUNT_PROBE},
             {"SKYHUNT_PROBE_LOG", log},
             {"SKYHUNT_PROBE_HZ", std::to_string(display.refreshHz)},
             {"SKYHUNT_PROBE_SLOW_MS", std::to_string(display.slowerMs)}};

    gameSession game(o);
    if (!game.awaitFirstFrame()) {
        run.failure = "the game drew no frame";
        return run;
    }
    game.press(std::vector<std::string>(speedPresses, "w"));
    std::this_thread::sleep_for(settle);
    const auto t0 = std::chrono::steady_clock::now();
    const auto before = readProcessFigures(game.pid());
    const auto end = t0 + std::chrono::seconds(measuredSeconds());
    const std::vector<keyPress> keys = pressFogKeys(game, end);
    std::this_thread::sleep_until(end);
    const auto t1 = std::chrono::steady_clock::now();
    const auto after = readProcessFigures(game.pid());
    if (!before || !after || game.quit() != 0) {
        run.failure = "the game did not run to the end and quit cleanly";
        return run;
    }
    run.wallSeconds = std::chrono::duration<double>(t1 - t0).count();

    int64_t firstClearNs = 0;
    const std::vector<present> all = readProbe(log, firstClearNs);
    std::vector<present> in;
    std::copy_if(all.begin(), all.end(), std::back_inserter(in),
                 [&](const present& p) { return p.atNs >= nanos(t0) && p.atNs <= nanos(t1); });
    const auto first =
        std::find_if(all.begin(), all.end(), [](const present& p) { return p.drawn > 0; });
    if (first == all.end() || in.size() < 3) {
        run.failure = "the probe saw no frames";
        return run;
    }

    // Each frame's flight must be a whole number of ticks, or the count below is wrong.
    const double perTick = playerSpeed();
    const double retraceMs = display.refreshHz > 0 ? 1e3 / display.refreshHz : 0;
    // The game shows at most 60 frames a second, so a frame on a faster display is late
    // only after 1.5 ticks.
    const double frameMs =
        std::max(retraceMs, std::chrono::duration<double, std::milli>(tickClock::period).count());
    std::vector<double> intervalsMs;
    int64_t held = 0;
    int overruns = 0;
    int late = 0;
    for (size_t i = 1; i < in.size(); ++i) {
        intervalsMs.push_back((in[i].atNs - in[i - 1].atNs) / 1e6);
        late += intervalsMs.back() >= 1.5 * frameMs ? 1 : 0;
        held += in[i].heldRetraces;
        // A retrace missed with no help from the game's wait: drawing took too long.
        if (retraceMs > 0 && in[i].heldRetraces == 0 && intervalsMs.back() > 1.5 * retraceMs) {
            ++overruns;
        }
        const double ticks = (in[i].eyeZ - in[i - 1].eyeZ) / perTick;
        if (std::abs(ticks - std::round(ticks)) > 0.05 || in[i].eyeX != 0) {
            run.failure = "the player did not fly straight at the speed of the keys";
            return run;
        }
    }
    std::sort(intervalsMs.begin(), intervalsMs.end());
    std::vector<double> keyMs = keyToScreenMs(keys, all);
    std::vector<double> drawingMs;
    for (const present& p : in) {
        drawingMs.push_back(p.drawingNs / 1e6);
    }
    if (keyMs.size() < static_cast<size_t>(fewestKeysPerSecond * measuredSeconds())) {
        run.failure = "too few fog keys showed on screen";
        return run;
    }
    std::sort(keyMs.begin(), keyMs.end());
    std::sort(drawingMs.begin(), drawingMs.end());
    const double keySum = std::accumulate(keyMs.begin(), keyMs.end(), 0.0);
    const double seconds = (in.back().atNs - in.front().atNs) / 1e9;
    benchmark::UserCounters& c = run.counters;
    c["ticks/s"] = std::round((in.back().eyeZ - in.front().eyeZ) / perTick) / seconds;
    c["frames/s"] = intervalsMs.size() / seconds;
    c["p99 interval ms"] = percentile(intervalsMs, 99);
    c["max interval ms"] = intervalsMs.back();
    c["held retraces"] = static_cast<double>(held);
    c["overruns"] = overruns;
    c["late frames"] = late;
    c["cpu s/s"] = (after->cpuSeconds - before->cpuSeconds) / run.wallSeconds;
    c["main thread cpu s/s"] =
        (after->mainThreadCpuSeconds - before->mainThreadCpuSeconds) / run.wallSeconds;
    c["first frame ms"] = (first->atNs - nanos(game.startedAt())) / 1e6;
    // What no loop can beat: the set-up until the window can show a frame (its first swap
    // returns, the one its first reshape makes), then the first frame's own drawing and swap.
    const int64_t shown = std::min(all.front().atNs, firstClearNs);
    c["start-up floor ms"] = (shown - nanos(game.startedAt()) + first->atNs - firstClearNs) / 1e6;
    c["peak rss MiB"] = after->peakResidentKiB / 1024.0;
    c["keys"] = static_cast<double>(keyMs.size());
    c["keys lost"] = static_cast<double>(keys.size() - keyMs.size());
    c["key mean ms"] = keySum / keyMs.size();
    c["key median ms"] = percentile(keyMs, 50);
    c["key p90 ms"] = percentile(keyMs, 90);
    c["key max ms"] = keyMs.back();
    c["draw median ms"] = percentile(drawingMs, 50);
    c["draw p90 ms"] = percentile(drawingMs, 90);
    c["draw p99 ms"] = percentile(drawingMs, 99);
    c["draw max ms"] = drawingMs.back();
    return run;
}

// With the build before named, each repetition runs it straight beside the game, first or
// second by turns, so both meet the machine in much the same state.
void pacedGame(benchmark::State& state, simulatedDisplay display, const char* baseline) {
    static std::map<std::string, int> pairsRun; // by display
    for (auto _ : state) {
        const bool baselineFirst = baseline != nullptr && pairsRun[display.name]++ % 2 == 1;
        pacedRun earlier = measurePaced(display, baselineFirst ? baseline : SKYHUNT_GAME);
        pacedRun later;
        if (earlier.failure.empty() && baseline != nullptr) {
            later = measurePaced(display, baselineFirst ? SKYHUNT_GAME : baseline);
        }
        pacedRun& game = baselineFirst ? later : earlier;
        pacedRun& before = baselineFirst ? earlier : later;
        for (const pacedRun* run : {&earlier, &later}) {
            if (!run->failure.empty()) {
                state.SkipWithError(run->failure.c_str());
                return;
            }
        }
        state.SetIterationTime(earlier.wallSeconds + later.wallSeconds);
        state.counters = game.counters;
        if (baseline != nullptr) {
            for (const auto& [name, value] : before.counters) {
                state.counters[std::string(beforePrefix) + name] = value;
            }
            state.counters[cpuRatio] = game.counters["cpu s/s"] / before.counters["cpu s/s"];
        }
    }
}

const bool registered = [] {
    const char* baseline = std::getenv(baselineVariable);
    for (const simulatedDisplay& d : simulatedDisplays) {
        benchmark::RegisterBenchmark(pacedName(d).c_str(), pacedGame, d, baseline)
            ->Iterations(1)
            ->Repetitions(runs)
            ->UseManualTime()
            ->Unit(benchmark::kSecond);
    }
    return true;
}();

} // namespace
