#include "tools/driver/scratch.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <unistd.h>

scratchDir::scratchDir() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/skyhunt-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch directory");
    }
    where = pattern;
}

scratchDir::~scratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(where, ignored);
}
