// One tick of the world with every pool slot in use, beside the motion it is built on:
// the same number of plain advance calls.
#include <climits>
#include <cmath>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/step.h"
#include "app/world.h"
#include "bench/bench.h"
#include "world/angles.h"

namespace {

// A tick advances the player, the enemy and the wingman once, each bullet once and each
// missile twice.
constexpr int advancesPerTick = 3 + 30 + 2 * 10;
static_assert(advancesPerTick == 53, "the floor's name counts the calls");

// Every slot alive and kept so: a life this long outlasts any run of the benchmark.
void fillPools() {
    for (size_t i = 0; i < bullets.size(); ++i) {
        const float h =
            2 * static_cast<float>(pi) * static_cast<float>(i) / static_cast<float>(bullets.size());
        bullets[i] = bullet(vec2(0, 0), vec2(0.05f * std::sin(h), 0.05f * std::cos(h)));
        bullets[i].life = INT_MAX;
    }
    for (size_t i = 0; i < missiles.size(); ++i) {
        missiles[i] = missile(vec2(static_cast<float>(i), 20), vec2(0.05f, 0));
        missiles[i].life = INT_MAX;
    }
}

bool allAlive() {
    for (const bullet& b : bullets) {
        if (!b.alive) {
            return false;
        }
    }
    for (const missile& m : missiles) {
        if (!m.alive) {
            return false;
        }
    }
    return true;
}

void stepWorldFullPools(benchmark::State& state) {
    resetWorld();
    playerShip.addSpeed(0.05f);
    fillPools();
    for (auto _ : state) {
        stepWorld();
    }
    if (!allAlive()) {
        state.SkipWithError("a projectile died during the run");
    }
    resetWorld();
}

void plainAdvances(benchmark::State& state) {
    std::vector<entity> objects;
    for (int i = 0; i < advancesPerTick; ++i) {
        objects.emplace_back(vec2(static_cast<float>(i), 0), static_cast<float>(i * 7));
        objects.back().setSpeed(0.05f);
    }
    for (auto _ : state) {
        for (entity& e : objects) {
            e.advance();
        }
        benchmark::DoNotOptimize(objects.data());
        benchmark::ClobberMemory();
    }
    state.counters["advance calls"] = advancesPerTick;
}

} // namespace

BENCHMARK(stepWorldFullPools)->Name(benchName::stepWorld)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(plainAdvances)->Name(benchName::advances)->Repetitions(5)->ReportAggregatesOnly();
