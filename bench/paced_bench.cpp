// The real game, paced by its own clock, on a virtual X server of its own for ten seconds:
// ticks per second, the 99th-percentile interval between presented frames, processor
// seconds per second of wall time, the time from start to the first drawn frame, and peak
// resident memory. A preloaded probe (probe.cpp) times every present and counts ticks.
#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/bench.h"
#include "tools/driver/driver.h"

namespace {

using namespace std::chrono_literals;

constexpr auto settle = 2s; // past start-up before the window opens
constexpr auto window = 10s;

struct present {
    int64_t atNs;
    int64_t ticks;
};

std::vector<present> readProbe(const std::string& path) {
    std::vector<present> out;
    std::ifstream in(path);
    present p{};
    while (in >> p.atNs >> p.ticks) {
        out.push_back(p);
    }
    return out;
}

int64_t nanos(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

void pacedGame(benchmark::State& state) {
    scratchDir logs;
    const std::string log = logs.path() + "/presents";
    gameSession::options o;
    o.binary = SKYHUNT_GAME;
    o.env = {{"LD_PRELOAD", SKYHUNT_PROBE}, {"SKYHUNT_PROBE_LOG", log}};

    for (auto _ : state) {
        gameSession game(o);
        if (!game.awaitFirstFrame()) {
            state.SkipWithError("the game drew no frame");
            return;
        }
        std::this_thread::sleep_for(settle);
        const auto t0 = std::chrono::steady_clock::now();
        const auto before = readProcessFigures(game.pid());
        std::this_thread::sleep_for(window);
        const auto t1 = std::chrono::steady_clock::now();
        const auto after = readProcessFigures(game.pid());
        if (!before || !after || game.quit() != 0) {
            state.SkipWithError("the game did not run to the end and quit cleanly");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());

        const auto presents = readProbe(log);
        // The first drawn frame is the first present after a tick: reshape presents
        // once before anything is drawn.
        const auto first = std::find_if(presents.begin(), presents.end(),
                                        [](const present& p) { return p.ticks > 0; });
        std::vector<double> intervalsMs;
        const present* from = nullptr;
        const present* to = nullptr;
        for (size_t i = 0; i < presents.size(); ++i) {
            if (presents[i].atNs < nanos(t0) || presents[i].atNs > nanos(t1)) {
                continue;
            }
            if (from == nullptr) {
                from = &presents[i];
            } else {
                intervalsMs.push_back((presents[i].atNs - to->atNs) / 1e6);
            }
            to = &presents[i];
        }
        if (first == presents.end() || intervalsMs.size() < 2) {
            state.SkipWithError("the probe saw no frames");
            return;
        }
        std::sort(intervalsMs.begin(), intervalsMs.end());
        const double wall = std::chrono::duration<double>(t1 - t0).count();
        state.counters["ticks/s"] =
            static_cast<double>(to->ticks - from->ticks) / ((to->atNs - from->atNs) / 1e9);
        state.counters["frames/s"] = intervalsMs.size() / ((to->atNs - from->atNs) / 1e9);
        state.counters["p99 interval ms"] = intervalsMs[intervalsMs.size() * 99 / 100];
        state.counters["cpu s/s"] = (after->cpuSeconds - before->cpuSeconds) / wall;
        state.counters["first frame ms"] = (first->atNs - nanos(game.startedAt())) / 1e6;
        state.counters["peak rss MiB"] = after->peakResidentKiB / 1024.0;
    }
}

} // namespace

BENCHMARK(pacedGame)
    ->Name(benchName::paced)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
