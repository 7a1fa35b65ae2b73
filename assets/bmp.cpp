#include "assets/bmp.h"

#include <cstdlib>

#include "assets/bmp_layout.h"
#include "platform/platform.h"

namespace {

using bmp::bytesPerPixel;
using bmp::headerBytes;

// The four fields the reader looks at follow each other, so one forward pass reads them.
static_assert(bmp::height.at == bmp::width.at + 4 && bmp::planes.at == bmp::height.at + 4 &&
              bmp::bitsPerPixel.at == bmp::planes.at + 2);
constexpr uint64_t largestBlockBytes = UINT32_MAX;
constexpr unsigned byteMask = 0xFF;
constexpr unsigned bitsPerByte = 8;

// Closes the stream on every way out of the reader.
class closingFile {
  public:
    explicit closingFile(const char* path) : opened(platform::openPlainFile(path)) {}
    ~closingFile() {
        if (opened.stream != nullptr) {
            std::fclose(opened.stream);
        }
    }
    closingFile(const closingFile&) = delete;
    closingFile& operator=(const closingFile&) = delete;

    const platform::openedFile opened;
};

// Length of the whole file in bytes, or -1 when the stream cannot tell (a pipe).
long fileLength(FILE* stream) {
    if (std::fseek(stream, 0, SEEK_END) != 0) {
        return -1;
    }
    return std::ftell(stream);
}

int rejectRead(const char* path) {
    std::printf("Error reading image data from %s.\n", path);
    return 0;
}

} // namespace

// A byte past the end of the file reads as 0xFF, so a header cut short never passes the
// planes or bits-per-pixel test.
uint32_t readU32Le(FILE* stream) {
    uint32_t value = 0;
    for (unsigned i = 0; i < sizeof value; ++i) {
        const auto byte = static_cast<uint32_t>(std::getc(stream)) & byteMask;
        value += byte << (i * bitsPerByte);
    }
    return value;
}

uint16_t readU16Le(FILE* stream) {
    const auto low = static_cast<unsigned>(std::getc(stream)) & byteMask;
    const auto high = static_cast<unsigned>(std::getc(stream)) & byteMask;
    return static_cast<uint16_t>(low + (high << bitsPerByte));
}

int loadBmp(const char* path, image* img) {
    return loadBmp(path, img, UINT32_MAX);
}

int loadBmp(const char* path, image* img, uint32_t largestSide) {
    const closingFile file(path);
    if (file.opened.notAFile != nullptr) {
        std::printf("%s is not a file: it is %s\n", path, file.opened.notAFile);
        return 0;
    }
    if (file.opened.stream == nullptr) {
        std::printf("File Not Found : %s\n", path);
        if (!file.opened.failure.empty()) {
            std::printf("%s\n", file.opened.failure.c_str());
        }
        return 0;
    }
    FILE* const stream = file.opened.stream;
    std::fseek(stream, static_cast<long>(bmp::width.at), SEEK_CUR);

    img->width = readU32Le(stream);
    std::printf("Width of %s: %lu\n", path, static_cast<unsigned long>(img->width));
    img->height = readU32Le(stream);
    std::printf("Height of %s: %lu\n", path, static_cast<unsigned long>(img->height));

    const uint16_t planes = readU16Le(stream);
    if (planes != bmp::requiredPlanes) {
        std::printf("Planes from %s is not 1: %u\n", path, static_cast<unsigned>(planes));
        return 0;
    }
    const uint16_t bitsPerPixel = readU16Le(stream);
    if (bitsPerPixel != bmp::requiredBitsPerPixel) {
        std::printf("Bpp from %s is not 24: %u\n", path, static_cast<unsigned>(bitsPerPixel));
        return 0;
    }

    // Everything below guards the allocation: padded rows, a length past 32 bits (a
    // top-down bitmap's height reads as about four billion), an empty block, or a file too
    // short to hold what its header promises are all turned away before malloc is asked.
    // Rows come unpadded only when the width is a multiple of 4 pixels; such rows also meet
    // OpenGL's default unpack alignment of 4.
    if (uint64_t{img->width} * bytesPerPixel % bmp::rowAlignment != 0) {
        std::printf("Width of %s is not a multiple of 4: %lu\n", path,
                    static_cast<unsigned long>(img->width));
        return 0;
    }
    // Width times height fits in 64 bits; times 3 it might not, so compare before it.
    const uint64_t pixels = uint64_t{img->width} * img->height;
    if (pixels > largestBlockBytes / bytesPerPixel) {
        std::printf("Image %s is too large: %lu x %lu\n", path,
                    static_cast<unsigned long>(img->width),
                    static_cast<unsigned long>(img->height));
        return 0;
    }
    // A picture OpenGL cannot take is not worth reading: a 2 GiB file whose header matches its
    // length would otherwise be read whole, only for the upload to fail.
    if (img->width > largestSide || img->height > largestSide) {
        std::printf("Image %s is larger than a texture can be: %lu x %lu, sides at most %lu\n",
                    path, static_cast<unsigned long>(img->width),
                    static_cast<unsigned long>(img->height),
                    static_cast<unsigned long>(largestSide));
        return 0;
    }
    const uint64_t blockBytes = pixels * bytesPerPixel;
    if (blockBytes == 0) {
        return rejectRead(path);
    }
    const long length = fileLength(stream);
    if (length < 0 || static_cast<uint64_t>(length) < headerBytes + blockBytes) {
        return rejectRead(path);
    }
    std::fseek(stream, static_cast<long>(headerBytes), SEEK_SET);

    const auto blockLength = static_cast<size_t>(blockBytes);
    img->data = static_cast<unsigned char*>(std::malloc(blockLength));
    if (img->data == nullptr) {
        std::printf("Error allocating memory for color-corrected image data");
        return 0;
    }
    if (std::fread(img->data, blockLength, 1, stream) != 1) {
        std::free(img->data);
        img->data = nullptr;
        return rejectRead(path);
    }

    // The file stores blue, green, red; OpenGL wants red, green, blue.
    for (size_t i = 0; i < blockLength; i += bytesPerPixel) {
        const unsigned char blue = img->data[i];
        img->data[i] = img->data[i + 2];
        img->data[i + 2] = blue;
    }
    return 1;
}
