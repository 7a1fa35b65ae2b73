// The opening of a plain file on POSIX systems, the desktop's and the browser's alike: both
// have non-blocking opens and can tell what an open file is.
#include "platform/platform.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a directory";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    return S_ISSOCK(mode) ? "a socket" : "something else";
}

} // namespace

// Opened non-blocking, a FIFO returns at once, writer or not; only a plain file gets its
// blocking reads back. A socket cannot be opened at all, so a failed open asks what is there.
openedFile openPlainFile(const char* path) {
    struct stat status {};
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int reason = errno;
        if (stat(path, &status) == 0 && !S_ISREG(status.st_mode)) {
            return {nullptr, kindOf(status.st_mode), ""};
        }
        return {nullptr, nullptr, reason == ENOENT ? "" : std::strerror(reason)};
    }
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return {nullptr, kindOf(status.st_mode), ""};
    }
    std::FILE* stream = nullptr;
    if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0) {
        stream = fdopen(fd, "rb");
    }
    if (stream == nullptr) {
        const int reason = errno;
        close(fd);
        return {nullptr, nullptr, std::strerror(reason)};
    }
    return {stream, nullptr, ""};
}

} // namespace platform
