// The BMP reader: the lines it prints, the pixels it hands back and the files it turns away.
#include "assets/bmp.h"

#include "assets/bmp_layout.h"
#include "tools/texgen.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using bytes = std::vector<unsigned char>;

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
        putBmpField(file, bmp::pixelOffset, 138);
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
    const struct {
        uint32_t width, height;
        std::size_t pixelBytes; // after the header
        const char* last;       // the line after the two size lines
        uint16_t planes = 1, bitsPerPixel = 24;
    } files[] = {
        {/*width=*/4, /*height=*/2, /*pixelBytes=*/24, /*last=*/"Planes from %s is not 1: 2\n",
         /*planes=*/2},
        {/*width=*/4, /*height=*/2, /*pixelBytes=*/8, /*last=*/"Bpp from %s is not 24: 8\n",
         /*planes=*/1, /*bitsPerPixel=*/8},
        {/*width=*/5, /*height=*/0, /*pixelBytes=*/0, /*last=*/"Planes from %s is not 1: 0\n",
         /*planes=*/0, /*bitsPerPixel=*/8},
        {/*width=*/5, /*height=*/2, /*pixelBytes=*/32,
         /*last=*/"Width of %s is not a multiple of 4: 5\n"},
        // A top-down bitmap's negative height.
        {/*width=*/4, /*height=*/0xFFFFFFFE, /*pixelBytes=*/24,
         /*last=*/"Image %s is too large: 4 x 4294967294\n"},
        // The length wraps to 8 in 32 bits, and 8 bytes follow the header.
        {/*width=*/4, /*height=*/0x55555556, /*pixelBytes=*/8,
         /*last=*/"Image %s is too large: 4 x 1431655766\n"},
        // Times 3 it wraps to 32 in 64 bits, and 32 bytes follow the header.
        {/*width=*/1684887088, /*height=*/3649452082, /*pixelBytes=*/32,
         /*last=*/"Image %s is too large: 1684887088 x 3649452082\n"},
        {/*width=*/30000, /*height=*/30000, /*pixelBytes=*/0, /*last=*/readError}, // 2.7 GB
        {/*width=*/4, /*height=*/2, /*pixelBytes=*/23, /*last=*/readError},
        {/*width=*/0, /*height=*/3, /*pixelBytes=*/12, /*last=*/readError},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.last);
        bytes file(bmp::headerBytes + f.pixelBytes);
        putBmpField(file, bmp::width, f.width);
        putBmpField(file, bmp::height, f.height);
        putBmpField(file, bmp::planes, f.planes);
        putBmpField(file, bmp::bitsPerPixel, f.bitsPerPixel);
        EXPECT_EQ(load(file), 0);
        std::string text = "Width of %s: " + std::to_string(f.width) +
                           "\nHeight of %s: " + std::to_string(f.height) + "\n" + f.last;
        for (size_t at; (at = text.find("%s")) != std::string::npos;) {
            text.replace(at, 2, path);
        }
        EXPECT_EQ(out, text);
        EXPECT_EQ(img.data, &sentinel);
    }
}
