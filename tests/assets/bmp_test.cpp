#include "assets/bmp.h"

#include "tests/support/capture.h"
#include "tools/texgen.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using bytes = std::vector<unsigned char>;

// Byte offsets of the header fields the reader looks at.
constexpr size_t pixelOffsetField = 10;
constexpr size_t widthOffset = 18;
constexpr size_t heightOffset = 22;
constexpr size_t planesOffset = 26;
constexpr size_t bppOffset = 28;
constexpr size_t headerBytes = 54;

void putLe(bytes& b, size_t at, uint32_t v, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
    }
}

// A header with the fields the reader looks at, followed by `pixels` bytes of `fill`.
bytes bmp(uint32_t width, uint32_t height, size_t pixels, uint16_t planes = 1, uint16_t bpp = 24,
          unsigned char fill = 0) {
    bytes b(headerBytes + pixels, fill);
    putLe(b, 0, 'B' + ('M' << 8), 2);
    putLe(b, widthOffset, width, 4);
    putLe(b, heightOffset, height, 4);
    putLe(b, planesOffset, planes, 2);
    putLe(b, bppOffset, bpp, 2);
    return b;
}

// The record as the caller hands it over; the reader must leave what it does not reach.
unsigned char sentinelByte;
const image untouched = {0xAAAA, 0xBBBB, &sentinelByte};

// Each test writes its files into a fresh directory and reads what the reader prints.
class BmpFiles : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/skyhunt-bmp-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        path = std::string(pattern) + "/image.bmp";
    }

    void TearDown() override {
        unlink(path.c_str());
        rmdir(path.substr(0, path.rfind('/')).c_str());
    }

    // Writes the file, reads it into a fresh record and keeps what was printed in `out`.
    int load(const bytes& content) {
        FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
        img = untouched;
        stdoutCapture capture;
        const int result = loadBmp(path.c_str(), &img);
        out = capture.text();
        return result;
    }

    // The two size lines, then `last` with every %s replaced by the path.
    std::string expected(unsigned long w, unsigned long h, std::string last = "") const {
        for (size_t at = last.find("%s"); at != std::string::npos; at = last.find("%s")) {
            last.replace(at, 2, path);
        }
        return "Width of " + path + ": " + std::to_string(w) + "\nHeight of " + path + ": " +
               std::to_string(h) + "\n" + last;
    }

    std::string path;
    image img = untouched;
    std::string out;
};

} // namespace

TEST_F(BmpFiles, ValidImageIsReadFromOffset54AsRedGreenBlueInFileRowOrder) {
    // 4 x 2 pixels; pixel i of the file holds blue 10i+10, green 10i+20, red 10i+30. The
    // header's pixel offset and trailing bytes must not matter.
    bytes file = bmp(4, 2, 0);
    putLe(file, pixelOffsetField, 138, 4);
    for (int i = 0; i < 8; ++i) {
        file.insert(file.end(), {static_cast<unsigned char>(10 * i + 10),
                                 static_cast<unsigned char>(10 * i + 20),
                                 static_cast<unsigned char>(10 * i + 30)});
    }
    file.resize(file.size() + 100, 99);
    ASSERT_EQ(load(file), 1);
    EXPECT_EQ(out, expected(4, 2));
    EXPECT_EQ(img.width, 4u);
    EXPECT_EQ(img.height, 2u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(
            bytes(img.data + 3 * i, img.data + 3 * i + 3),
            bytes({static_cast<unsigned char>(10 * i + 30), static_cast<unsigned char>(10 * i + 20),
                   static_cast<unsigned char>(10 * i + 10)}));
    }
    std::free(img.data);
}

TEST_F(BmpFiles, MissingFilePrintsOnlyNotFoundAndLeavesTheRecord) {
    img = untouched;
    stdoutCapture capture;
    EXPECT_EQ(loadBmp(path.c_str(), &img), 0);
    EXPECT_EQ(capture.text(), "File Not Found : " + path + "\n");
    EXPECT_EQ(img.width, untouched.width);
    EXPECT_EQ(img.height, untouched.height);
    EXPECT_EQ(img.data, untouched.data);
}

TEST_F(BmpFiles, UnservedFilesAreRejectedWithOneLineAndNoAllocation) {
    const char* const readError = "Error reading image data from %s.\n";
    struct variant {
        const char* what;
        bytes file;
        uint32_t width, height;
        std::string last;
    };
    const variant variants[] = {
        {"two planes", bmp(4, 2, 24, 2), 4, 2, "Planes from %s is not 1: 2\n"},
        {"8 bits", bmp(4, 2, 8, 1, 8), 4, 2, "Bpp from %s is not 24: 8\n"},
        {"32 bits", bmp(4, 2, 32, 1, 32), 4, 2, "Bpp from %s is not 24: 32\n"},
        // Planes come first, and both before the range of the width.
        {"every check fails", bmp(5, 0, 0, 0, 8), 5, 0, "Planes from %s is not 1: 0\n"},
        {"padded rows", bmp(5, 2, 32), 5, 2, "Width of %s is not a multiple of 4: 5\n"},
        {"top-down", bmp(4, 0xFFFFFFFE, 24), 4, 0xFFFFFFFE,
         "Image %s is too large: 4 x 4294967294\n"},
        // The 32-bit length wraps to 8, and 8 bytes follow the header.
        {"length wraps", bmp(4, 0x55555556, 8), 4, 0x55555556,
         "Image %s is too large: 4 x 1431655766\n"},
        {"both sides huge", bmp(0xFFFFFFFC, 0xFFFFFFFF, 8), 0xFFFFFFFC, 0xFFFFFFFF,
         "Image %s is too large: 4294967292 x 4294967295\n"},
        // The largest block that fits, 0xFFFFFFFC bytes: only the file's length refuses it.
        {"largest block", bmp(4, 0x15555555, 8), 4, 0x15555555, readError},
        // 2.7 GB promised by a 54-byte file.
        {"huge promise", bmp(30000, 30000, 0), 30000, 30000, readError},
        {"one byte short", bmp(4, 2, 23), 4, 2, readError},
        {"no columns", bmp(0, 3, 12), 0, 3, readError},
        {"no rows", bmp(4, 0, 12), 4, 0, readError},
    };
    for (const variant& v : variants) {
        SCOPED_TRACE(v.what);
        EXPECT_EQ(load(v.file), 0);
        EXPECT_EQ(out, expected(v.width, v.height, v.last));
        EXPECT_EQ(img.data, untouched.data);
    }
}

TEST_F(BmpFiles, HeaderCutShortFailsThePlanesOrDepthTest) {
    const bytes full = bmp(4, 1, 12);
    for (size_t length : {0, 1, 18, 21, 26, 27, 28, 29, 30}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(load(bytes(full.begin(), full.begin() + static_cast<long>(length))), 0);
        const char* const failed = length < planesOffset + 2 ? "Planes from "
                                   : length < bppOffset + 2  ? "Bpp from "
                                                             : "Error reading image data";
        EXPECT_NE(out.find(failed), std::string::npos) << out;
        EXPECT_EQ(img.data, untouched.data);
    }
}

TEST_F(BmpFiles, GeneratedTexturesReadBackExactly) {
    for (const picture& pic : {metalPicture(), sunPicture(), grassPicture()}) {
        // Power-of-two sides that OpenGL 1.1 takes, and no row padding in the file.
        EXPECT_TRUE(pic.width == 64 || pic.width == 128);
        EXPECT_EQ(pic.height, pic.width);
        const bytes file = encodeBmp(pic);
        EXPECT_EQ(file.size(), headerBytes + pic.rgb.size());
        ASSERT_EQ(load(file), 1) << out;
        EXPECT_EQ(out, expected(pic.width, pic.height));
        EXPECT_EQ(bytes(img.data, img.data + pic.rgb.size()), pic.rgb);
        std::free(img.data);
    }
}
