#include "assets/textures.h"

#include "assets/bmp.h"
#include "assets/data_path.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

GLuint textures[3] = {0, 0, 0};

namespace {

constexpr std::size_t imageCount = texture::count;
constexpr GLint rgbComponents = 3;
constexpr GLint baseLevel = 0;
constexpr GLint noBorder = 0;

void upload(GLuint name, const image& img) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, baseLevel, rgbComponents, static_cast<GLsizei>(img.width),
                 static_cast<GLsizei>(img.height), noBorder, GL_RGB, GL_UNSIGNED_BYTE, img.data);
}

// Frees every record allocated so far with its pixel block, in file order; the slots not
// yet allocated are null.
void release(image* (&records)[imageCount]) {
    for (image*& record : records) {
        if (record != nullptr) {
            std::free(record->data);
            std::free(record);
            record = nullptr;
        }
    }
}

} // namespace

// The messages carry no line breaks of their own: the dots run on after the reader's size
// lines, so a failed file shows where in the row the loading stopped.
int loadTextures() {
    std::printf("Loading textures");

    image* records[imageCount] = {nullptr, nullptr, nullptr};
    for (image*& record : records) {
        record = static_cast<image*>(std::malloc(sizeof(image)));
        if (record == nullptr) {
            std::printf("Error allocating space for image");
            release(records);
            return 1;
        }
        *record = image{0, 0, nullptr};
    }

    // Asked once, before any file is read, so a picture too large to upload is never read.
    GLint largestSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestSide);
    for (std::size_t slot = 0; slot < imageCount; ++slot) {
        if (loadBmp(findDataFile(texture::fileNames[slot]).c_str(), records[slot],
                    static_cast<uint32_t>(std::max(largestSide, GLint{0}))) == 0) {
            release(records);
            return 2;
        }
        std::printf(".");
    }
    std::printf(".done.");

    // Names are taken only now, so a failed load leaves all three at 0.
    glGenTextures(2, textures);
    upload(textures[texture::metal], *records[texture::metal]);
    upload(textures[texture::sun], *records[texture::sun]);
    glGenTextures(1, &textures[texture::grass]);
    upload(textures[texture::grass], *records[texture::grass]);

    release(records);
    return 0;
}
