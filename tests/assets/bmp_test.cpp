// The BMP reader: the lines it prints, the pixels it hands back and the files it turns away.
#include "assets/bmp.h"

#include "tests/support/capture.h"
#include "tools/texgen.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

// The program is linked with --wrap=malloc: the reader's own allocations are counted here
// (the C library's, such as fopen's, are not).
static int mallocs = 0;
extern "C" void* __real_malloc(size_t size);
extern "C" void* __wrap_malloc(size_t size) {
    ++mallocs;
    return __real_malloc(size);
}

namespace {

using bytes = std::vector<unsigned char>;

// A 54-byte header holding only the fields the reader looks at, then `pixels` zero bytes.
bytes bmp(uint32_t width, uint32_t height, size_t pixels, uint32_t planes = 1, uint32_t bpp = 24) {
    bytes b(54 + pixels, 0);
    const uint32_t fields[][3] = {
        {0, 'B' + ('M' << 8), 2}, {18, width, 4}, {22, height, 4}, {26, planes, 2}, {28, bpp, 2}};
    for (const auto& [at, value, count] : fields) {
        for (uint32_t i = 0; i < count; ++i) {
            b[at + i] = static_cast<unsigned char>(value >> 8 * i);
        }
    }
    return b;
}

unsigned char sentinel; // the caller's block, which a rejected file must leave in the record

class BmpFile : public testing::Test {
  protected:
    void TearDown() override { unlink(path.c_str()); }

    // Writes the file, reads it, and keeps what was printed and how many blocks were taken.
    int load(const bytes& content) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()), std::streamsize(content.size()));
        img = {0, 0, &sentinel};
        stdoutCapture capture;
        mallocs = 0;
        const int result = loadBmp(path.c_str(), &img);
        allocations = mallocs;
        out = capture.text();
        return result;
    }

    // The two size lines as the file's header gives them, then `last` with %s as the path.
    std::string expected(const bytes& file, std::string last = "") const {
        const auto u32 = [&](size_t at) {
            return std::to_string(file[at] | file[at + 1] << 8 | file[at + 2] << 16 |
                                  uint32_t{file[at + 3]} << 24);
        };
        if (const size_t at = last.find("%s"); at != std::string::npos) {
            last.replace(at, 2, path);
        }
        return "Width of " + path + ": " + u32(18) + "\nHeight of " + path + ": " + u32(22) + "\n" +
               last;
    }

    const std::string path = testing::TempDir() + "skyhunt-" + std::to_string(getpid()) + ".bmp";
    image img{};
    std::string out;
    int allocations = 0;
};

} // namespace

TEST_F(BmpFile, PixelsAreReadFromByte54WithBlueAndRedExchanged) {
    const std::string bgr = "abcdefghijkl", rgb = "cbafedihglkj";
    bytes file = bmp(4, 1, 0);
    file[10] = 138; // the header's own pixel offset is not followed
    file.insert(file.end(), bgr.begin(), bgr.end());
    file.resize(file.size() + 100, '!'); // nor is anything read past the block
    ASSERT_EQ(load(file), 1);
    EXPECT_EQ(out, expected(file));
    EXPECT_TRUE(img.width == 4 && img.height == 1);
    EXPECT_EQ(std::string(img.data, img.data + 12), rgb);
    std::free(img.data);
}

TEST_F(BmpFile, GeneratedTexturesReadBackExactly) {
    for (const picture& pic : {metalPicture(), sunPicture(), grassPicture()}) {
        const bytes file = encodeBmp(pic);
        ASSERT_EQ(load(file), 1) << out;
        EXPECT_EQ(out, expected(file));
        EXPECT_EQ(bytes(img.data, img.data + pic.rgb.size()), pic.rgb);
        std::free(img.data);
    }
}

TEST_F(BmpFile, MissingFilePrintsOnlyNotFound) {
    stdoutCapture capture;
    EXPECT_EQ(loadBmp(path.c_str(), &img), 0);
    EXPECT_EQ(capture.text(), "File Not Found : " + path + "\n");
}

// Every check in its order, with its one line, and nothing allocated: not even for a file
// whose header promises more pixels than it holds.
TEST_F(BmpFile, FilesOutsideTheReadersRangeAreRejectedBeforeAnyAllocation) {
    const char* const readError = "Error reading image data from %s.\n";
    const std::pair<bytes, const char*> rejected[] = {
        {bmp(4, 2, 24, 2), "Planes from %s is not 1: 2\n"},
        {bmp(4, 2, 8, 1, 8), "Bpp from %s is not 24: 8\n"},
        {bmp(4, 2, 32, 1, 32), "Bpp from %s is not 24: 32\n"},
        {bmp(5, 0, 0, 0, 8), "Planes from %s is not 1: 0\n"},
        {bmp(5, 2, 32), "Width of %s is not a multiple of 4: 5\n"},
        {bmp(4, 0xFFFFFFFE, 24), "Image %s is too large: 4 x 4294967294\n"}, // top-down
        // The length wraps to 8 in 32 bits, and 8 bytes follow the header.
        {bmp(4, 0x55555556, 8), "Image %s is too large: 4 x 1431655766\n"},
        {bmp(0xFFFFFFFC, 0xFFFFFFFF, 8), "Image %s is too large: 4294967292 x 4294967295\n"},
        {bmp(30000, 30000, 0), readError}, // 2.7 GB promised
        {bmp(4, 2, 23), readError},
        {bmp(0, 3, 12), readError},
        {bmp(4, 0, 12), readError},
    };
    for (const auto& [file, last] : rejected) {
        SCOPED_TRACE(last);
        EXPECT_EQ(load(file), 0);
        EXPECT_EQ(out, expected(file, last));
        EXPECT_EQ(img.data, &sentinel);
        EXPECT_EQ(allocations, 0);
    }
}
