#pragma once

#include <optional>

#include <sys/types.h>

// What the kernel reports of a running process.
struct processFigures {
    long residentKiB;     // VmRSS
    long peakResidentKiB; // VmHWM
    double cpuSeconds;    // user and system, all threads
};
std::optional<processFigures> readProcessFigures(pid_t pid);
