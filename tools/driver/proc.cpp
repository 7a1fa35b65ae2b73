#include "tools/driver/proc.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// User and system time from a stat file of /proc, the process's or one thread's.
std::optional<double> cpuSecondsFromStat(std::istream& stat) {
    // The command name in parentheses may hold spaces; the fields after it do not.
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = all.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(all.substr(close + 1));
    std::vector<std::string> after;
    std::string w;
    while (fields >> w) {
        after.push_back(w);
    }
    // Fields 14 and 15 of the whole line; the list starts at field 3.
    if (after.size() < 13) {
        return std::nullopt;
    }
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (std::stod(after[11]) + std::stod(after[12])) / tick;
}

} // namespace

std::optional<processFigures> readProcessFigures(pid_t pid) {
    const std::string base = "/proc/" + std::to_string(pid);
    std::ifstream status(base + "/status");
    std::ifstream stat(base + "/stat");
    if (!status || !stat) {
        return std::nullopt;
    }
    processFigures f{-1, -1, 0, 0};
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream words(line);
        std::string key;
        long value = 0;
        words >> key >> value;
        if (key == "VmRSS:") {
            f.residentKiB = value;
        } else if (key == "VmHWM:") {
            f.peakResidentKiB = value;
        }
    }
    const std::optional<double> cpu = cpuSecondsFromStat(stat);
    if (!cpu || f.residentKiB < 0) {
        return std::nullopt;
    }
    f.cpuSeconds = *cpu;
    std::ifstream own(base + "/task/" + std::to_string(pid) + "/stat");
    f.mainThreadCpuSeconds = cpuSecondsFromStat(own).value_or(0);
    return f;
}
