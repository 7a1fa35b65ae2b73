#pragma once

#include <cstdlib>
#include <string>

// Shared by the files of the benchmark program.

// Benchmark names, which the closing summary looks up.
namespace benchName {
constexpr const char* renderFrame = "renderFrame";
constexpr const char* clearAndSwap = "floor/clear and swap";
constexpr const char* groundInView = "floor/ground in view";
constexpr const char* fixedWork = "floor/fixed work";
constexpr const char* stepWorld = "stepWorld/30 bullets, 10 missiles";
constexpr const char* advances = "floor/53 advance calls";
} // namespace benchName

// The displays the paced game is run on: refresh rate (0: the swap waits for nothing, as on
// a virtual X server), milliseconds added to each frame's drawing, and whether its late
// frames are held to the build before's: the displays near 60 Hz and 50 Hz that pace the
// game alone, where a late frame shows the picture before it twice.
struct simulatedDisplay {
    const char* name;
    double refreshHz;
    double slowerMs;
    bool lateFramesBounded;
};
constexpr simulatedDisplay simulatedDisplays[] = {
    {"no sync", 0, 0, false},
    {"60 Hz", 60, 0, true},
    {"59.94 Hz", 60 / 1.001, 0, true},
    {"60.02 Hz", 60.02, 0, true},
    {"144 Hz", 144, 0, false},
    {"75 Hz", 75, 0, false},
    {"50 Hz", 50, 0, true},
    {"30 Hz", 30, 0, false},
    {"no sync, renderer 25 ms slower", 0, 25, false},
};

// Names another build of the game, run beside this one on every display, so the summary can
// compare the two within one run. Its figures carry the prefix below, among the game's.
constexpr const char* baselineVariable = "SKYHUNT_BENCH_BASELINE";
constexpr const char* beforePrefix = "before ";
// The game's processor time over the build before's, from the runs side by side.
constexpr const char* cpuRatio = "cpu / before";

// The seconds each paced row is measured: $SKYHUNT_BENCH_SECONDS, or 10. Fewer only check
// that the benchmark runs and prints its table.
inline int measuredSeconds() {
    const char* text = std::getenv("SKYHUNT_BENCH_SECONDS");
    const int seconds = text != nullptr ? std::atoi(text) : 0;
    return seconds > 0 ? seconds : 10;
}

inline std::string pacedName(const simulatedDisplay& d) {
    return std::string("paced/") + d.name;
}
