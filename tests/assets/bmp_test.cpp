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

constexpr size_t headerBytes = 54;
constexpr size_t planesOffset = 26;
constexpr size_t pixelOffsetField = 10;

void putU32(bytes& b, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) {
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
    }
}

// A 54-byte header with the fields the reader looks at; the rest stays zero.
bytes header(uint32_t width, uint32_t height, uint16_t planes = 1, uint16_t bpp = 24) {
    bytes b(headerBytes, 0);
    b[0] = 'B';
    b[1] = 'M';
    putU32(b, 18, width);
    putU32(b, 22, height);
    b[26] = static_cast<unsigned char>(planes);
    b[27] = static_cast<unsigned char>(planes >> 8);
    b[28] = static_cast<unsigned char>(bpp);
    b[29] = static_cast<unsigned char>(bpp >> 8);
    return b;
}

bytes prefix(const bytes& b, size_t length) {
    return bytes(b.begin(), b.begin() + static_cast<long>(length));
}

bytes withPixels(bytes b, size_t count, unsigned char fill = 0) {
    b.resize(b.size() + count, fill);
    return b;
}

// The record as the caller hands it over; the reader must leave what it does not reach.
unsigned char sentinelByte;
const image untouched = {0xAAAA, 0xBBBB, &sentinelByte};

// Each test works in its own directory of files and reads what the reader prints.
class BmpFiles : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/skyhunt-bmp-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }

    void TearDown() override {
        for (const std::string& p : written) {
            unlink(p.c_str());
        }
        rmdir(dir.c_str());
    }

    std::string write(const std::string& name, const bytes& content) {
        const std::string p = dir + "/" + name;
        FILE* f = std::fopen(p.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f != nullptr) {
            std::fwrite(content.data(), 1, content.size(), f);
            std::fclose(f);
        }
        written.push_back(p);
        return p;
    }

    // Reads the file into img; returns the result and keeps the printed text in out.
    int load(const std::string& p) {
        stdoutCapture capture;
        const int result = loadBmp(p.c_str(), &img);
        out = capture.text();
        return result;
    }

    static std::string sizeLines(const std::string& p, unsigned long w, unsigned long h) {
        return "Width of " + p + ": " + std::to_string(w) + "\nHeight of " + p + ": " +
               std::to_string(h) + "\n";
    }

    void expectReadError(const std::string& p, unsigned long w, unsigned long h) {
        EXPECT_EQ(out, sizeLines(p, w, h) + "Error reading image data from " + p + ".\n");
        EXPECT_EQ(img.data, untouched.data);
    }

    std::string dir;
    std::vector<std::string> written;
    image img = untouched;
    std::string out;
};

} // namespace

TEST(BmpLittleEndian, CombinesBytesFirstLowestWithoutSignExtension) {
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    const unsigned char data[] = {0x78, 0x56, 0x34, 0x12, 0xFC, 0xFD, 0xFE, 0xFF, 0x34, 0x92};
    std::fwrite(data, 1, sizeof data, f);
    std::rewind(f);
    EXPECT_EQ(readU32Le(f), 0x12345678u);
    EXPECT_EQ(readU32Le(f), 0xFFFEFDFCu);
    EXPECT_EQ(readU16Le(f), 0x9234u);
    std::fclose(f);
}

TEST_F(BmpFiles, ValidImageIsReadAsRedGreenBlueInFileRowOrder) {
    // 4 x 2 pixels; pixel i of the file holds blue 10i+10, green 10i+20, red 10i+30.
    bytes file = header(4, 2);
    for (unsigned char i = 0; i < 8; ++i) {
        file.insert(file.end(), {static_cast<unsigned char>(10 * i + 10),
                                 static_cast<unsigned char>(10 * i + 20),
                                 static_cast<unsigned char>(10 * i + 30)});
    }
    const std::string p = write("small.bmp", file);
    ASSERT_EQ(load(p), 1);
    EXPECT_EQ(out, sizeLines(p, 4, 2));
    EXPECT_EQ(img.width, 4u);
    EXPECT_EQ(img.height, 2u);
    ASSERT_NE(img.data, nullptr);
    for (unsigned char i = 0; i < 8; ++i) {
        EXPECT_EQ(img.data[3 * i], 10 * i + 30);
        EXPECT_EQ(img.data[3 * i + 1], 10 * i + 20);
        EXPECT_EQ(img.data[3 * i + 2], 10 * i + 10);
    }
    std::free(img.data);
}

TEST_F(BmpFiles, PixelsComeFromOffset54WhateverTheHeaderSaysAndTrailingBytesAreIgnored) {
    bytes file = withPixels(header(4, 1), 12, 7);
    putU32(file, pixelOffsetField, 138);
    file.resize(file.size() + 100, 99);
    const std::string p = write("offset.bmp", file);
    ASSERT_EQ(load(p), 1);
    EXPECT_EQ(bytes(img.data, img.data + 12), bytes(12, 7));
    std::free(img.data);
}

TEST_F(BmpFiles, MissingFilePrintsOnlyNotFoundAndLeavesTheRecord) {
    const std::string p = dir + "/absent.bmp";
    EXPECT_EQ(load(p), 0);
    EXPECT_EQ(out, "File Not Found : " + p + "\n");
    EXPECT_EQ(img.width, untouched.width);
    EXPECT_EQ(img.height, untouched.height);
    EXPECT_EQ(img.data, untouched.data);
}

TEST_F(BmpFiles, WrongPlanesOrDepthIsRejectedAfterTheSizeLines) {
    struct variant {
        uint16_t planes, bpp;
        std::string message;
    };
    const variant variants[] = {
        {2, 24, "Planes from %s is not 1: 2\n"},
        {1, 8, "Bpp from %s is not 24: 8\n"},
        {1, 32, "Bpp from %s is not 24: 32\n"},
        // Planes are checked first, and both before the width's range.
        {0, 8, "Planes from %s is not 1: 0\n"},
    };
    for (const variant& v : variants) {
        const std::string p = write("depth.bmp", withPixels(header(5, 2, v.planes, v.bpp), 64));
        img = untouched;
        EXPECT_EQ(load(p), 0);
        std::string message = v.message;
        message.replace(message.find("%s"), 2, p);
        EXPECT_EQ(out, sizeLines(p, 5, 2) + message);
        EXPECT_EQ(img.width, 5u);
        EXPECT_EQ(img.height, 2u);
        EXPECT_EQ(img.data, untouched.data);
    }
}

TEST_F(BmpFiles, HeaderCutShortFailsThePlanesOrDepthTest) {
    const bytes full = header(4, 1);
    for (size_t length : {0, 1, 18, 21, 26, 27, 28, 29}) {
        const std::string p = write("cut.bmp", prefix(full, length));
        img = untouched;
        EXPECT_EQ(load(p), 0) << length << " bytes";
        const bool planesKnown = length >= planesOffset + 2;
        EXPECT_NE(out.find(planesKnown ? "Bpp from " : "Planes from "), std::string::npos) << out;
        EXPECT_EQ(img.data, untouched.data);
    }

    // A directory opens but reads as nothing at all.
    img = untouched;
    EXPECT_EQ(load(dir), 0);
    EXPECT_NE(out.find("Planes from " + dir + " is not 1: "), std::string::npos) << out;
}

TEST_F(BmpFiles, ShortOrEmptyPixelBlockIsAReadErrorWithNothingAllocated) {
    struct variant {
        const char* what;
        bytes file;
        uint32_t width, height;
    };
    const variant variants[] = {
        {"one byte short", withPixels(header(4, 2), 23), 4, 2},
        {"header ends after the depth", prefix(header(4, 2), 30), 4, 2},
        // 2.7 GB promised by a 54-byte file: rejected without asking for the memory.
        {"huge promise", header(30000, 30000), 30000, 30000},
        {"no columns", withPixels(header(0, 3), 12), 0, 3},
        {"no rows", withPixels(header(4, 0), 12), 4, 0},
    };
    for (const variant& v : variants) {
        SCOPED_TRACE(v.what);
        const std::string p = write("short.bmp", v.file);
        img = untouched;
        EXPECT_EQ(load(p), 0);
        expectReadError(p, v.width, v.height);
    }
}

TEST_F(BmpFiles, PaddedRowsAreRejected) {
    const std::string p = write("padded.bmp", withPixels(header(5, 1), 16));
    EXPECT_EQ(load(p), 0);
    EXPECT_EQ(out, sizeLines(p, 5, 1) + "Width of " + p + " is not a multiple of 4: 5\n");
    EXPECT_EQ(img.data, untouched.data);
}

TEST_F(BmpFiles, BlockPast32BitsIsRejectedEvenWhenItsLengthWrapsSmall) {
    struct variant {
        const char* what;
        uint32_t width, height;
    };
    const variant variants[] = {
        {"top-down, height -2", 4, 0xFFFFFFFEu},
        // 4 x 0x55555556 x 3 wraps to 8 bytes in 32 bits, and 8 bytes follow the header.
        {"length wraps to 8", 4, 0x55555556u},
        {"both sides huge", 0xFFFFFFFCu, 0xFFFFFFFFu},
    };
    for (const variant& v : variants) {
        SCOPED_TRACE(v.what);
        const std::string p = write("large.bmp", withPixels(header(v.width, v.height), 8));
        img = untouched;
        EXPECT_EQ(load(p), 0);
        EXPECT_EQ(out, sizeLines(p, v.width, v.height) + "Image " + p + " is too large: " +
                           std::to_string(v.width) + " x " + std::to_string(v.height) + "\n");
        EXPECT_EQ(img.data, untouched.data);
    }

    // The largest block that fits, 0xFFFFFFFC bytes, is in range: only the file's length
    // turns it away.
    const std::string p = write("edge.bmp", withPixels(header(4, 0x15555555u), 8));
    img = untouched;
    EXPECT_EQ(load(p), 0);
    expectReadError(p, 4, 0x15555555u);
}

TEST_F(BmpFiles, GeneratedTexturesReadBackExactly) {
    for (const picture& pic : {metalPicture(), sunPicture(), grassPicture()}) {
        const std::string p = dir + "/texture.bmp";
        ASSERT_TRUE(writeBmp(p, pic));
        written.push_back(p);
        ASSERT_EQ(load(p), 1) << out;
        EXPECT_EQ(out, sizeLines(p, pic.width, pic.height));
        // Power-of-two sides that OpenGL 1.1 takes, and no row padding in the file.
        EXPECT_TRUE(pic.width == 64 || pic.width == 128);
        EXPECT_EQ(pic.height, pic.width);
        EXPECT_EQ(encodeBmp(pic).size(), headerBytes + pic.rgb.size());
        EXPECT_EQ(bytes(img.data, img.data + pic.rgb.size()), pic.rgb);
        std::free(img.data);
        img = untouched;
    }
}
