#include "tools/driver/xserver.h"

#include <chrono>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// Xlib's default handler ends the program on any protocol error; a window that goes away
// between two requests is an ordinary event here, not a reason to stop.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// The screen the scripts' virtual X servers have too, from cmake/SkyhuntFacts.cmake.
constexpr const char* screenSize = SKYHUNT_XVFB_SCREEN;

} // namespace

xServer::xServer(const xServerOptions& o) : dpy(nullptr) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    childProcess::launch how;
    how.file = "Xvfb";
    how.argv = {"Xvfb",      "-displayfd", std::to_string(fds[1]),
                "-screen",   "0",          screenSize,
                "-nolisten", "tcp",        "-noreset"};
    how.keepFd = fds[1];
    // Its start-up chatter, on the caller's terminal, would bury the caller's own messages.
    how.errorPath = o.logPath.empty() ? "/dev/null" : o.logPath;
    server.emplace(how);
    close(fds[1]);

    // Xvfb writes the display number it chose once it accepts connections.
    std::string number;
    const auto end = std::chrono::steady_clock::now() + o.startTimeout;
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char c;
            if (read(fds[0], &c, 1) != 1 || c == '\n') {
                break;
            }
            number += c;
        }
    }
    close(fds[0]);
    if (number.empty()) {
        // A server that closed the pipe has stopped, or is about to.
        if (const auto status = server->waitExit(200ms)) {
            // 127 is what a child that could not be started ends with.
            throw xServerError("the virtual X server (Xvfb) stopped with status " +
                               std::to_string(*status) +
                               (*status == 127 ? " (is Xvfb installed?)" : ""));
        }
        throw xServerError("the virtual X server (Xvfb) did not accept clients within " +
                           std::to_string(o.startTimeout.count()) + " s");
    }
    name = ":" + number;
    XSetErrorHandler(ignoreXError);
    dpy = XOpenDisplay(name.c_str());
    if (dpy == nullptr) {
        throw xServerError("cannot connect to the virtual X server (Xvfb) on " + name);
    }
}

xServer::~xServer() {
    if (dpy != nullptr) {
        XCloseDisplay(dpy);
    }
}
