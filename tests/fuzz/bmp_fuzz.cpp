// libFuzzer harness for the BMP reader. The reader takes a path, so every input is written
// to an in-memory file first and read back by its /proc name. Besides the sanitizers'
// checks, a success must hand back exactly the file's pixels with red and blue exchanged,
// within the largest texture's sides, and a failure must keep no block.
#include "assets/bmp.h"

#include "assets/bmp_layout.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

using bmp::bytesPerPixel, bmp::headerBytes;

constexpr uint32_t largestSide = 16384; // Mesa's software renderer's largest texture, pixels

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
    static const int fd = memfd_create("skyhunt-fuzz.bmp", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, input, size, 0) != ssize_t(size)) {
        std::abort();
    }

    image img = {0, 0, nullptr};
    if (loadBmp(path.c_str(), &img, largestSide) == 0) {
        if (img.data != nullptr) {
            std::abort();
        }
        return 0;
    }
    const size_t length = size_t{img.width} * img.height * bytesPerPixel;
    if (img.data == nullptr || length == 0 || headerBytes + length > size ||
        img.width > largestSide || img.height > largestSide) {
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
