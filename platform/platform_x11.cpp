#include "platform/platform.h"

#include <cerrno>

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <time.h>

namespace platform {

// Xlib may already hold events it read from the socket, which a poll would not see, so the
// queue is asked first; only an empty queue waits on the connection itself, to the
// nanosecond, since a frame's start hangs on the wait's end.
void waitForEvents(time until) {
    Display* display = glXGetCurrentDisplay();
    if (display == nullptr) {
        sleepUntil(until);
        return;
    }
    if (XPending(display) > 0) {
        return;
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) {
            return;
        }
        const auto seconds = std::chrono::floor<std::chrono::seconds>(left);
        const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds);
        const timespec timeout{static_cast<time_t>(seconds.count()),
                               static_cast<long>(nanos.count())};
        const int ready = ppoll(&connection, 1, &timeout, nullptr);
        if (ready > 0) {
            return;
        }
        if (ready < 0 && errno != EINTR) {
            sleepUntil(until);
            return;
        }
    }
}

} // namespace platform
