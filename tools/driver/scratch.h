#pragma once

#include <string>

// A directory under $TMPDIR removed with everything in it when the object goes.
class scratchDir {
  public:
    scratchDir();
    ~scratchDir();
    scratchDir(const scratchDir&) = delete;
    scratchDir& operator=(const scratchDir&) = delete;

    const std::string& path() const { return where; }

  private:
    std::string where;
};

// Everything in a file; nothing if it cannot be read.
std::string fileText(const std::string& path);
