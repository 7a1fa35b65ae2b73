#include "tools/driver/process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace std::chrono_literals;

namespace {

// The caller's environment less the dropped names, with the overrides replacing or adding
// entries.
std::vector<std::string> mergedEnvironment(const envList& overrides,
                                           const std::vector<std::string>& dropped) {
    std::vector<std::string> out;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = std::find(dropped.begin(), dropped.end(), name) != dropped.end();
        for (const auto& o : overrides) {
            replaced = replaced || o.first == name;
        }
        if (!replaced) {
            out.push_back(entry);
        }
    }
    for (const auto& o : overrides) {
        out.push_back(o.first + "=" + o.second);
    }
    return out;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings) {
        out.push_back(s.data());
    }
    out.push_back(nullptr);
    return out;
}

int decodeStatus(int raw) {
    if (WIFEXITED(raw)) {
        return WEXITSTATUS(raw);
    }
    return 128 + WTERMSIG(raw);
}

} // namespace

childProcess::childProcess(const launch& how) : pid(-1) {
    std::vector<std::string> args = how.argv;
    std::vector<std::string> env = mergedEnvironment(how.env, how.dropped);
    std::vector<char*> argp = pointers(args);
    std::vector<char*> envp = pointers(env);
    const pid_t parent = getpid();

    pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed: " + std::string(std::strerror(errno)));
    }
    if (pid == 0) {
        // Only async-signal-safe calls from here to exec.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(127);
        }
        if (!how.workDir.empty() && chdir(how.workDir.c_str()) != 0) {
            _exit(127);
        }
        const std::pair<const std::string*, int> redirects[] = {{&how.outputPath, STDOUT_FILENO},
                                                                {&how.errorPath, STDERR_FILENO}};
        for (const auto& r : redirects) {
            if (!r.first->empty()) {
                const int fd = open(r.first->c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (fd < 0 || dup2(fd, r.second) < 0) {
                    _exit(127);
                }
                close(fd);
            }
        }
        if (how.keepFd >= 0) {
            fcntl(how.keepFd, F_SETFD, 0);
        }
        execvpe(how.file.c_str(), argp.data(), envp.data());
        _exit(127);
    }
}

childProcess::~childProcess() {
    if (running()) {
        kill(pid, SIGTERM);
        if (!waitExit(5s)) {
            kill(pid, SIGKILL);
            reap(true);
        }
    }
}

bool childProcess::reap(bool block) {
    if (status) {
        return true;
    }
    int raw = 0;
    const pid_t r = waitpid(pid, &raw, block ? 0 : WNOHANG);
    if (r == pid) {
        status = decodeStatus(raw);
        return true;
    }
    return false;
}

bool childProcess::running() {
    return !reap(false);
}

std::optional<int> childProcess::waitExit(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!reap(false)) {
        if (std::chrono::steady_clock::now() >= end) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(10ms);
    }
    return status;
}
