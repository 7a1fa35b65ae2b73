#pragma once

// A private virtual X server for the driver: Xvfb and one Xlib connection to it.

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>

#include <X11/Xlib.h>

#include "tools/driver/process.h"

struct xServerOptions {
    // How long Xvfb may take to accept clients: generous for tests on a busy machine.
    std::chrono::seconds startTimeout{30};
    std::string logPath; // Xvfb's standard error goes here; empty: nowhere
};

// Why a server could not be had: it stopped, it did not answer in time, or no connection.
class xServerError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Xvfb on a display number that the server picks itself, so runs in parallel never share
// a screen, and one Xlib connection to it.
class xServer {
  public:
    explicit xServer(const xServerOptions& o = xServerOptions());
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
