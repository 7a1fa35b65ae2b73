#pragma once

#include <string>

// Captures what the code under test prints on standard output (printf included), from
// construction until text() is called.
class stdoutCapture {
  public:
    stdoutCapture();
    ~stdoutCapture();
    stdoutCapture(const stdoutCapture&) = delete;
    stdoutCapture& operator=(const stdoutCapture&) = delete;

    // Stops capturing and returns everything printed since construction.
    std::string text();

  private:
    void restore();

    int savedFd;
    int fileFd;
};
