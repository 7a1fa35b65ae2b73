// Preloaded into the real game by the paced benchmark (LD_PRELOAD). It stands in front of
// two library calls and passes each on unchanged: glutPostRedisplay, which the game calls
// once at the end of every tick, and glXSwapBuffers, which GLUT calls to present a frame.
// It keeps the time of every present and the tick count at that moment in fixed arrays,
// so the game allocates nothing more, and writes them at exit to $SKYHUNT_PROBE_LOG as
// lines "<steady-clock nanoseconds> <ticks so far>".
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <dlfcn.h>

namespace {

constexpr int maxFrames = 1 << 17; // half an hour at 60 frames a second

int64_t presentedAt[maxFrames];
int64_t ticksAt[maxFrames];
int frames = 0;
int64_t ticks = 0;

// The clock std::chrono::steady_clock reads on Linux, so the benchmark can compare.
int64_t nowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

template <typename function>
function real(const char* name) {
    return reinterpret_cast<function>(dlsym(RTLD_NEXT, name));
}

struct logWriter {
    ~logWriter() {
        const char* path = std::getenv("SKYHUNT_PROBE_LOG");
        FILE* out = path != nullptr ? std::fopen(path, "w") : nullptr;
        if (out == nullptr) {
            return;
        }
        for (int i = 0; i < frames; ++i) {
            std::fprintf(out, "%lld %lld\n", static_cast<long long>(presentedAt[i]),
                         static_cast<long long>(ticksAt[i]));
        }
        std::fclose(out);
    }
} writer;

} // namespace

// The X types reduced to what crosses the call: a display pointer and an XID.
extern "C" void glXSwapBuffers(void* display, unsigned long drawable) {
    static const auto next = real<void (*)(void*, unsigned long)>("glXSwapBuffers");
    next(display, drawable);
    if (frames < maxFrames) {
        presentedAt[frames] = nowNs();
        ticksAt[frames] = ticks;
        ++frames;
    }
}

extern "C" void glutPostRedisplay() {
    static const auto next = real<void (*)()>("glutPostRedisplay");
    ++ticks;
    next();
}
