// The BMP reader: the lines it prints, the pixels it hands back and the files it turns away.
#include "assets/bmp.h"

#include "assets/bmp_layout.h"
#include "tools/texgen.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>
#if __has_include(<sys/resource.h>) // POSIX's; elsewhere the address space is not capped
#include <sys/resource.h>
#endif

namespace {

namespace fs = std::filesystem;
using bytes = std::vector<unsigned char>;

unsigned char sentinel; // the caller's block, which a rejected file must leave in the record

// From now on the process may map only 256 MiB more than it has: a reader that took the
// block of a 2 GiB picture fails at once rather than read it.
void capAddressSpace() {
#if __has_include(<sys/resource.h>)
    unsigned long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit cap{};
    getrlimit(RLIMIT_AS, &cap);
    cap.rlim_cur = pages * static_cast<unsigned long>(sysconf(_SC_PAGESIZE)) + (256ul << 20);
    EXPECT_EQ(setrlimit(RLIMIT_AS, &cap), 0);
#endif
}

class BmpFile : public testing::Test {
  protected:
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, ignored);
        fs::remove_all(path, ignored);
    }

    // Writes the file, grown to the length given with a hole, reads it, and keeps what was
    // printed.
    int load(const bytes& content, uint32_t largestSide = UINT32_MAX, uintmax_t length = 0) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()), std::streamsize(content.size()));
        fs::resize_file(path, std::max<uintmax_t>(length, content.size()));
        return read(largestSide);
    }
    int read(uint32_t largestSide = UINT32_MAX) {
        img = {0, 0, &sentinel};
        testing::internal::CaptureStdout();
        const int result = loadBmp(path.c_str(), &img, largestSide);
        out = testing::internal::GetCapturedStdout();
        return result;
    }
    std::string withPath(std::string text) const {
        for (size_t at; (at = text.find("%s")) != std::string::npos;) {
            text.replace(at, 2, path);
        }
        return text;
    }

    const std::string path = testing::TempDir() + "skyhunt-" + std::to_string(getpid()) + ".bmp";
    image img{};
    std::string out;
};

} // namespace

// The generator's blue-green-red rows come back as its red-green-blue pictures, read from
// byte 54 whatever the header's own pixel offset says, and nothing read past the block. A
// side as long as the largest texture is read.
TEST_F(BmpFile, GeneratedTexturesReadBackExactly) {
    for (std::size_t slot = 0; slot < texture::count; ++slot) {
        const picture pic = texturePicture(texture::slot(slot));
        bytes file = encodeBmp(pic);
        putBmpField(file, bmp::pixelOffset, 138);
        file.resize(file.size() + 100, '!');
        ASSERT_EQ(load(file, pic.width), 1) << out;
        EXPECT_TRUE(img.width == pic.width && img.height == pic.height);
        EXPECT_EQ(bytes(img.data, img.data + pic.rgb.size()), pic.rgb);
        std::free(img.data);
    }
}

// Every check in its order, with its one line, and no block taken: the record keeps the
// caller's pointer, which the reader overwrites with any block it takes. Not even a file
// promising more than it holds gets one, nor 2 GiB larger than a texture (under the cap).
TEST_F(BmpFile, FilesOutsideTheReadersRangeAreRejectedBeforeAnyAllocation) {
    capAddressSpace();
    const char* const readError = "Error reading image data from %s.\n";
    const struct {
        uint32_t width, height;
        uint64_t pixelBytes; // after the header, all in a hole
        const char* last;    // the line after the two size lines
        uint16_t planes = 1, bitsPerPixel = 24;
        uint32_t largestSide = UINT32_MAX;
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
        {/*width=*/4, /*height=*/65, /*pixelBytes=*/0,
         /*last=*/"Image %s is larger than a texture can be: 4 x 65, sides at most 64\n",
         /*planes=*/1, /*bitsPerPixel=*/24, /*largestSide=*/64},
        // 2 GiB, as long as its header says.
        {/*width=*/43692, /*height=*/16384, /*pixelBytes=*/2147549184,
         /*last=*/"Image %s is larger than a texture can be: 43692 x 16384, sides at most 16384\n",
         /*planes=*/1, /*bitsPerPixel=*/24, /*largestSide=*/16384},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.last);
        bytes file(bmp::headerBytes);
        putBmpField(file, bmp::width, f.width);
        putBmpField(file, bmp::height, f.height);
        putBmpField(file, bmp::planes, f.planes);
        putBmpField(file, bmp::bitsPerPixel, f.bitsPerPixel);
        EXPECT_EQ(load(file, f.largestSide, bmp::headerBytes + f.pixelBytes), 0);
        EXPECT_EQ(out, withPath("Width of %s: " + std::to_string(f.width) +
                                "\nHeight of %s: " + std::to_string(f.height) + "\n" + f.last));
        EXPECT_EQ(img.data, &sentinel);
    }
}

// Only a plain file is opened, and nothing waits on what is not one: a FIFO with no writer
// holds an ordinary open for good, so a reader that waits fails here after 10 s.
TEST_F(BmpFile, WhatIsNotAFileIsRefusedAtOnceSayingWhatItIs) {
    const struct {
        bool (*make)(const std::string& path); // false where the system has none
        const char* printed;
    } paths[] = {
        {/*make=*/[](const std::string& p) { return fs::create_directory(p); },
         /*printed=*/"%s is not a file: it is a directory\n"},
        {/*make=*/[](const std::string& p) { return std::system(("mkfifo " + p).c_str()) == 0; },
         /*printed=*/"%s is not a file: it is a FIFO\n"},
    };
    for (const auto& p : paths) {
        SCOPED_TRACE(p.printed);
        TearDown();
        if (!p.make(path)) {
            continue;
        }
        auto reading = std::async(std::launch::async, [this] { return read(); });
        if (reading.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
            std::ofstream{path}; // a writer lets the open go on
            ADD_FAILURE() << "the reader waited on " << path;
        }
        EXPECT_EQ(reading.get(), 0);
        EXPECT_EQ(out, withPath(p.printed));
        EXPECT_EQ(img.data, &sentinel);
    }
}

// A file there but closed to the player keeps the missing file's line and adds the reason.
// Root reads any file, and Windows reads a read-only one: there the case is skipped.
TEST_F(BmpFile, AnUnreadableFileIsRefusedWithTheSystemsReason) {
    std::ofstream{path};
    fs::permissions(path, fs::perms::none);
    if (std::ifstream(path).is_open()) {
        GTEST_SKIP() << "permissions do not bind here (root, or Windows): run as another user";
    }
    EXPECT_EQ(read(), 0);
    EXPECT_EQ(out, "File Not Found : " + path + "\nPermission denied\n");
    EXPECT_EQ(img.data, &sentinel);
}
