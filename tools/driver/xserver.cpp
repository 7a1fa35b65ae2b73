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

xServer::xServer() : dpy(nullptr) {
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
    how.errorPath = "/dev/null"; // its start-up chatter would bury the caller's own messages
    server.emplace(how);
    close(fds[1]);

    // Xvfb writes the display number it chose once it accepts connections.
    std::string number;
    const auto end = std::chrono::steady_clock::now() + 30s;
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
        throw std::runtime_error("Xvfb did not start (is it installed?)");
    }
    name = ":" + number;
    XSetErrorHandler(ignoreXError);
    dpy = XOpenDisplay(name.c_str());
    if (dpy == nullptr) {
        throw std::runtime_error("cannot connect to Xvfb on " + name);
    }
}

xServer::~xServer() {
    if (dpy != nullptr) {
        XCloseDisplay(dpy);
    }
}
