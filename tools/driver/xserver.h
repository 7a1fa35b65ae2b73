#pragma once

// A private virtual X server for the driver: Xvfb and one Xlib connection to it.

#include <optional>
#include <string>

#include <X11/Xlib.h>

#include "tools/driver/process.h"

// Xvfb on a display number that the server picks itself, so runs in parallel never share
// a screen, and one Xlib connection to it.
class xServer {
  public:
    xServer();
    ~xServer();
    xServer(const xServer&) = delete;
    xServer& operator=(const xServer&) = delete;

    const std::string& display() const { return name; }
    Display* connection() const { return dpy; }

  private:
    std::string name;
    Display* dpy;
    std::optional<childProcess> server;
};
