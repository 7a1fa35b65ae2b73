#include "platform/platform.h"

#include <string>

#include <fcntl.h>
#include <io.h>
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

// Newer than the headers of Debian's mingw-w64; older Windows refuses it, and gets the
// ordinary timer.
constexpr DWORD highResolutionTimer = 0x00000002; // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

// A waitable timer ends a wait to the tenth of a microsecond where Windows has high-resolution
// ones (Windows 10 from 1803), in the raised 1 ms steps elsewhere; a frame's start hangs on it.
HANDLE waitTimer() {
    static const HANDLE timer = [] {
        const HANDLE fine =
            CreateWaitableTimerExW(nullptr, nullptr, highResolutionTimer, TIMER_ALL_ACCESS);
        return fine != nullptr ? fine : CreateWaitableTimerW(nullptr, FALSE, nullptr);
    }();
    return timer;
}

// Sets the timer to go off at the given time; false if it cannot, or the time has come.
bool armTimer(HANDLE timer, time until) {
    const auto left = until - std::chrono::steady_clock::now();
    if (timer == nullptr || left <= std::chrono::steady_clock::duration::zero()) {
        return false;
    }
    using ticks = std::chrono::duration<LONGLONG, std::ratio<1, 10'000'000>>;
    LARGE_INTEGER due;
    due.QuadPart = -std::chrono::ceil<ticks>(left).count(); // negative: relative to now
    return SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) != 0;
}

// The system's own words for an error, without the line break it ends them with.
std::string describe(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = length > 0 ? std::string(text, length) : "error " + std::to_string(error);
    LocalFree(text);
    return out.substr(0, out.find_last_not_of(" \r\n") + 1);
}

// What an open handle is when it is not a plain file, or null when it is one.
const char* kindOf(HANDLE file) {
    switch (GetFileType(file)) {
    case FILE_TYPE_DISK: {
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileInformationByHandle(file, &info) == 0) {
            return "something else";
        }
        return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? "a directory" : nullptr;
    }
    case FILE_TYPE_PIPE:
        return "a pipe";
    case FILE_TYPE_CHAR:
        return "a device";
    default:
        return "something else";
    }
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

// The timer, or Sleep's whole milliseconds where there is none, may wake a little early by the
// steady clock, whose counter is not the timer's: it sleeps again until the time has come.
void sleepUntil(time until) {
    raiseTimerResolution();
    const HANDLE timer = waitTimer();
    while (std::chrono::steady_clock::now() < until) {
        if (armTimer(timer, until)) {
            WaitForSingleObject(timer, INFINITE);
        } else {
            Sleep(millisecondsUntil(until));
        }
    }
}

// The thread's message queue and the timer together: whichever comes first ends the wait.
void waitForEvents(time until) {
    raiseTimerResolution();
    const HANDLE timer = waitTimer();
    while (std::chrono::steady_clock::now() < until) {
        const bool armed = armTimer(timer, until);
        const DWORD result = MsgWaitForMultipleObjectsEx(
            armed ? 1 : 0, armed ? &timer : nullptr, armed ? INFINITE : millisecondsUntil(until),
            QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0 + (armed ? 1 : 0)) {
            return;
        }
    }
}

// Backup semantics let a directory be opened too, so that it is told apart by its handle.
openedFile openPlainFile(const char* path) {
    const HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {nullptr, nullptr, missing ? "" : describe(error)};
    }
    if (const char* kind = kindOf(file)) {
        CloseHandle(file);
        return {nullptr, kind, ""};
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        return {nullptr, nullptr, "the C library took no descriptor for it"};
    }
    std::FILE* const stream = _fdopen(fd, "rb");
    if (stream == nullptr) {
        _close(fd); // closes the handle too
        return {nullptr, nullptr, "the C library took no stream for it"};
    }
    return {stream, nullptr, ""};
}

} // namespace platform
