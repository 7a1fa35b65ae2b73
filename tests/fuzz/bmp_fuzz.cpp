// libFuzzer harness for the BMP reader. The reader takes a path, so every input is written
// to a scratch file first. Besides the sanitizers' checks, a success must hand back exactly
// the file's pixels with red and blue exchanged, and a failure must keep no block.
#include "assets/bmp.h"

#include <cstdint>
#include <cstdlib>

#include <unistd.h>

namespace {

constexpr size_t headerBytes = 54;
constexpr size_t bytesPerPixel = 3;

// One scratch file per fuzzing process, removed when the process ends.
char scratchPath[] = "/tmp/skyhunt-fuzz-XXXXXX";

void removeScratch() {
    unlink(scratchPath);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const int fd = mkstemp(scratchPath);
    if (fd < 0) {
        std::abort();
    }
    close(fd);
    std::atexit(removeScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
    FILE* file = std::fopen(scratchPath, "wb");
    if (file == nullptr || std::fwrite(input, 1, size, file) != size) {
        std::abort();
    }
    std::fclose(file);

    image img = {0, 0, nullptr};
    if (loadBmp(scratchPath, &img) == 0) {
        if (img.data != nullptr) {
            std::abort();
        }
        return 0;
    }
    const size_t length = size_t{img.width} * img.height * bytesPerPixel;
    if (img.data == nullptr || length == 0 || headerBytes + length > size) {
        std::abort();
    }
    for (size_t i = 0; i < length; ++i) {
        const size_t channel = i % bytesPerPixel, mirrored = i - channel + 2 - channel;
        if (img.data[i] != input[headerBytes + mirrored]) {
            std::abort();
        }
    }
    std::free(img.data);
    return 0;
}
