#include "platform/platform.h"

#include <algorithm>
#include <cerrno>

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <poll.h>

namespace platform {

// Xlib may already hold events it read from the socket, which poll would not see, so the
// queue is asked first; only an empty queue waits on the connection itself.
bool waitForEvents(time until) {
    Display* display = glXGetCurrentDisplay();
    if (display == nullptr) {
        sleepUntil(until);
        return false;
    }
    if (XPending(display) > 0) {
        return true;
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) {
            return false;
        }
        // Rounded up, so the wait never ends before its time and spins on a zero timeout.
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
        const int ready = poll(&connection, 1, static_cast<int>(std::min<long long>(ms, 1000)));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            sleepUntil(until);
            return false;
        }
    }
}

} // namespace platform
