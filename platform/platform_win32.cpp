#include "platform/platform.h"

#include <string>

#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

namespace platform {

namespace {

// Windows sleeps in steps of its timer's resolution, about 15.6 ms unless raised: a sleep
// until the next 16.7 ms beat could overshoot by most of a frame. The game raises it to
// 1 ms from its first wait to its exit.
class finerTimer {
  public:
    finerTimer() : raised(timeBeginPeriod(1) == TIMERR_NOERROR) {}
    ~finerTimer() {
        if (raised) {
            timeEndPeriod(1);
        }
    }
    finerTimer(const finerTimer&) = delete;
    finerTimer& operator=(const finerTimer&) = delete;

  private:
    bool raised;
};

void raiseTimerResolution() {
    static const finerTimer timer;
}

DWORD millisecondsUntil(time until) {
    const auto left = until - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
        return 0;
    }
    return static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

} // namespace

std::filesystem::path executableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

// Sleep takes whole milliseconds and may wake a little early by the steady clock, whose
// counter is not the timer's: it sleeps again until the time has come.
void sleepUntil(time until) {
    raiseTimerResolution();
    while (std::chrono::steady_clock::now() < until) {
        Sleep(millisecondsUntil(until));
    }
}

bool waitForEvents(time until) {
    raiseTimerResolution();
    for (;;) {
        const DWORD result = MsgWaitForMultipleObjectsEx(0, nullptr, millisecondsUntil(until),
                                                         QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= until) {
            return false;
        }
    }
}

} // namespace platform
