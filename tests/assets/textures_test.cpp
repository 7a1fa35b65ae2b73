#include "assets/textures.h"

#include "tests/support/capture.h"
#include "tools/texgen.h"

#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

constexpr int fileCount = 3;
const char* const fileNames[fileCount] = {"metalTexture.bmp", "sunTexture.bmp", "grass.bmp"};

GLint boundTexture() {
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

// Each test runs in a fresh working directory holding only the files it writes, and starts
// with no textures loaded, as the game does.
class TextureFiles : public testing::Test {
  protected:
    static void SetUpTestSuite() { pictures = {metalPicture(), sunPicture(), grassPicture()}; }

    void SetUp() override {
        forgetTextures();
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        home = here;
        char pattern[] = "/tmp/skyhunt-textures-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }

    void TearDown() override {
        EXPECT_EQ(chdir(home.c_str()), 0);
        for (const char* name : fileNames) {
            unlink((dir + "/" + name).c_str());
        }
        rmdir(dir.c_str());
        forgetTextures();
    }

    static void forgetTextures() {
        for (GLuint& name : textures) {
            if (name != 0) {
                glDeleteTextures(1, &name);
            }
            name = 0;
        }
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    static void writePicture(int index) {
        ASSERT_TRUE(writeBmp(fileNames[index], pictures[index]));
    }

    int load() {
        stdoutCapture capture;
        const int result = loadTextures();
        out = capture.text();
        return result;
    }

    static std::string sizeLines(int index) {
        const std::string name = fileNames[index];
        return "Width of " + name + ": " + std::to_string(pictures[index].width) + "\nHeight of " +
               name + ": " + std::to_string(pictures[index].height) + "\n";
    }

    static void expectNoTextures() {
        for (GLuint name : textures) {
            EXPECT_EQ(name, 0u);
        }
        EXPECT_EQ(boundTexture(), 0);
    }

    static std::vector<picture> pictures;
    std::string home;
    std::string dir;
    std::string out;
};

std::vector<picture> TextureFiles::pictures;

} // namespace

TEST_F(TextureFiles, AllThreeLoadIntoDistinctNamesWithTheGrassLeftBound) {
    for (int i = 0; i < fileCount; ++i) {
        writePicture(i);
    }
    ASSERT_EQ(load(), 0);
    EXPECT_EQ(out, "Loading textures" + sizeLines(0) + "." + sizeLines(1) + "." + sizeLines(2) +
                       "..done.");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    EXPECT_NE(textures[0], textures[1]);
    EXPECT_NE(textures[1], textures[2]);
    EXPECT_NE(textures[0], textures[2]);
    EXPECT_EQ(boundTexture(), static_cast<GLint>(textures[2]));

    for (int i = 0; i < fileCount; ++i) {
        SCOPED_TRACE(fileNames[i]);
        ASSERT_NE(textures[i], 0u);
        EXPECT_EQ(glIsTexture(textures[i]), GL_TRUE);
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        GLint value = 0;
        const GLenum parameters[] = {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER,
                                     GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T};
        const GLint values[] = {GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT};
        for (size_t p = 0; p < std::size(parameters); ++p) {
            glGetTexParameteriv(GL_TEXTURE_2D, parameters[p], &value);
            EXPECT_EQ(value, values[p]);
        }

        // The texels are the picture's pixels, in the picture's row order.
        const picture& pic = pictures[i];
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
        EXPECT_EQ(value, static_cast<GLint>(pic.width));
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
        EXPECT_EQ(value, static_cast<GLint>(pic.height));
        std::vector<unsigned char> texels(pic.rgb.size());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_EQ(texels, pic.rgb);
    }
}

TEST_F(TextureFiles, MissingMetalStopsBeforeTheOtherFilesAreOpened) {
    writePicture(1);
    writePicture(2);
    EXPECT_EQ(load(), 2);
    EXPECT_EQ(out, "Loading texturesFile Not Found : metalTexture.bmp\n");
    expectNoTextures();
}

TEST_F(TextureFiles, UnreadableGrassCreatesNoTextureAtAll) {
    writePicture(0);
    writePicture(1);
    FILE* empty = std::fopen(fileNames[2], "wb");
    ASSERT_NE(empty, nullptr);
    std::fclose(empty);
    EXPECT_EQ(load(), 2);
    // An empty file reads as all ones; its planes count fails first.
    EXPECT_EQ(out, "Loading textures" + sizeLines(0) + "." + sizeLines(1) + "." +
                       "Width of grass.bmp: 4294967295\nHeight of grass.bmp: 4294967295\n"
                       "Planes from grass.bmp is not 1: 65535\n");
    expectNoTextures();
}
