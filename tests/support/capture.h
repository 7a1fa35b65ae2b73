#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

#include <unistd.h>

// Captures what the code under test prints on standard output (printf included), from
// construction until text() is called.
class stdoutCapture {
  public:
    stdoutCapture() : file(std::tmpfile()), savedFd(-1) {
        if (file == nullptr) {
            throw std::runtime_error("cannot create a file to capture standard output");
        }
        std::fflush(stdout);
        savedFd = dup(STDOUT_FILENO);
        dup2(fileno(file), STDOUT_FILENO);
    }
    ~stdoutCapture() {
        text();
        std::fclose(file);
    }
    stdoutCapture(const stdoutCapture&) = delete;
    stdoutCapture& operator=(const stdoutCapture&) = delete;

    // Stops capturing and returns everything printed since construction.
    std::string text() {
        if (savedFd >= 0) {
            std::fflush(stdout);
            dup2(savedFd, STDOUT_FILENO);
            close(savedFd);
            savedFd = -1;
        }
        std::string out;
        std::rewind(file);
        for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
            out += static_cast<char>(c);
        }
        return out;
    }

  private:
    std::FILE* file; // anonymous, gone when closed
    int savedFd;
};
