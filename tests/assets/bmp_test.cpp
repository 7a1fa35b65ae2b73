// The BMP reader: the lines it prints, the pixels it hands back and the files it turns away.
#include "assets/bmp.h"

#include "tools/texgen.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

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

    // Writes the file, reads it, and keeps what was printed.
    int load(const bytes& content) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()), std::streamsize(content.size()));
        img = {0, 0, &sentinel};
        testing::internal::CaptureStdout();
        const int result = loadBmp(path.c_str(), &img);
        out = testing::internal::GetCapturedStdout();
        return result;
    }

    const std::string path = testing::TempDir() + "skyhunt-" + std::to_string(getpid()) + ".bmp";
    image img{};
    std::string out;
};

} // namespace

// The generator's blue-green-red rows come back as its red-green-blue pictures, read from
// byte 54 whatever the header's own pixel offset says, and nothing read past the block.
TEST_F(BmpFile, GeneratedTexturesReadBackExactly) {
    for (std::size_t slot = 0; slot < texture::count; ++slot) {
        const picture pic = texturePicture(texture::slot(slot));
        bytes file = encodeBmp(pic);
        file[10] = 138;
        file.resize(file.size() + 100, '!');
        ASSERT_EQ(load(file), 1) << out;
        EXPECT_TRUE(img.width == pic.width && img.height == pic.height);
        EXPECT_EQ(bytes(img.data, img.data + pic.rgb.size()), pic.rgb);
        std::free(img.data);
    }
}

// Every check in its order, with its one line, and no block taken: the record keeps the
// caller's pointer, which the reader overwrites with any block it takes. Not even a file
// whose header promises more pixels than it holds gets one.
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
        // Times 3 it wraps to 32 in 64 bits, and 32 bytes follow the header.
        {bmp(1684887088, 3649452082, 32), "Image %s is too large: 1684887088 x 3649452082\n"},
        {bmp(30000, 30000, 0), readError}, // 2.7 GB promised
        {bmp(4, 2, 23), readError},
        {bmp(0, 3, 12), readError},
        {bmp(4, 0, 12), readError},
    };
    for (const auto& [file, last] : rejected) {
        SCOPED_TRACE(last);
        EXPECT_EQ(load(file), 0);
        // The two size lines as read, then the last with the path for %s.
        std::string text = "Width of %s: " + std::to_string(img.width) +
                           "\nHeight of %s: " + std::to_string(img.height) + "\n" + last;
        for (size_t at; (at = text.find("%s")) != std::string::npos;) {
            text.replace(at, 2, path);
        }
        EXPECT_EQ(out, text);
        EXPECT_EQ(img.data, &sentinel);
    }
}
