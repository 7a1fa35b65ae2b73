#pragma once

#include <optional>

#include <sys/types.h>

// What the kernel reports of a running process.
struct processFigures {
    long residentKiB;     // VmRSS
    long peakResidentKiB; // VmHWM
    double cpuSeconds;    // user and system, all threads
    // The same of the main thread alone, without the threads a software renderer draws on.
    double mainThreadCpuSeconds;
};
std::optional<processFigures> readProcessFigures(pid_t pid);
