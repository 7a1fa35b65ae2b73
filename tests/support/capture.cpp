#include "tests/support/capture.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <unistd.h>

stdoutCapture::stdoutCapture() : savedFd(-1), fileFd(-1) {
    char path[] = "/tmp/skyhunt-stdout-XXXXXX";
    fileFd = mkstemp(path);
    if (fileFd < 0) {
        throw std::runtime_error("cannot create a file to capture standard output");
    }
    unlink(path);
    std::fflush(stdout);
    savedFd = dup(STDOUT_FILENO);
    dup2(fileFd, STDOUT_FILENO);
}

stdoutCapture::~stdoutCapture() {
    restore();
    if (fileFd >= 0) {
        close(fileFd);
    }
}

void stdoutCapture::restore() {
    if (savedFd >= 0) {
        std::fflush(stdout);
        dup2(savedFd, STDOUT_FILENO);
        close(savedFd);
        savedFd = -1;
    }
}

std::string stdoutCapture::text() {
    restore();
    std::string out;
    char buf[4096];
    lseek(fileFd, 0, SEEK_SET);
    ssize_t n;
    while ((n = read(fileFd, buf, sizeof buf)) > 0) {
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}
