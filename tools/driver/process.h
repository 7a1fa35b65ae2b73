#pragma once

// Child processes for the driver: started with their own environment, working directory
// and output files, and never outliving the program that started them.

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

// Environment overrides for a child: name and value.
using envList = std::vector<std::pair<std::string, std::string>>;

// One child process, killed when the object goes unless it has ended already. Every child
// also dies with the program that started it, so a crash leaves no X server behind.
class childProcess {
  public:
    struct launch {
        std::string file;                 // what to execute; a bare name is looked up in PATH
        std::vector<std::string> argv;    // argv[0] is passed exactly as given
        std::string workDir;              // empty: the caller's
        envList env;                      // on top of the caller's environment
        std::vector<std::string> dropped; // names of the caller's environment left out
        std::string outputPath;           // standard output goes here; empty: the caller's
        std::string errorPath;            // standard error likewise
        int keepFd = -1;                  // a descriptor the child inherits
    };

    explicit childProcess(const launch& how);
    ~childProcess();
    childProcess(const childProcess&) = delete;
    childProcess& operator=(const childProcess&) = delete;

    pid_t id() const { return pid; }
    bool running();
    // The exit status once the process has ended (128 + n for a signal n); nothing if it
    // is still running when the time is up.
    std::optional<int> waitExit(std::chrono::milliseconds timeout);

  private:
    bool reap(bool block);

    pid_t pid;
    std::optional<int> status;
};
