// loadTextures: its console text, the names it takes and the binding it leaves.
#include "assets/textures.h"

#include "tests/support/capture.h"
#include "tools/texgen.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

GLint boundTexture() {
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

// Each test runs in a fresh working directory, with no textures loaded, as the game starts.
class TextureFiles : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(dir);
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(dir);
        glDeleteTextures(3, textures);
        textures[0] = textures[1] = textures[2] = 0;
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    // Writes the files named, each an 8 x 4 grey picture, then loads what is there.
    int load(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            EXPECT_TRUE(writeBmp(name, picture{8, 4, std::vector<unsigned char>(96, 200)}));
        }
        stdoutCapture capture;
        const int result = loadTextures();
        out = capture.text();
        EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
        return result;
    }

    const fs::path home = fs::current_path();
    const fs::path dir = fs::temp_directory_path() / ("skyhunt-" + std::to_string(getpid()));
    std::string out;
};

} // namespace

TEST_F(TextureFiles, AllThreeLoadIntoDistinctTexturesWithTheGrassLeftBound) {
    ASSERT_EQ(load({"metalTexture.bmp", "sunTexture.bmp", "grass.bmp"}), 0);
    EXPECT_EQ(out, "Loading texturesWidth of metalTexture.bmp: 8\nHeight of metalTexture.bmp: 4\n"
                   ".Width of sunTexture.bmp: 8\nHeight of sunTexture.bmp: 4\n"
                   ".Width of grass.bmp: 8\nHeight of grass.bmp: 4\n..done.");
    EXPECT_EQ(boundTexture(), static_cast<GLint>(textures[2]));
    EXPECT_TRUE(textures[0] != textures[1] && textures[1] != textures[2] &&
                textures[0] != textures[2]);
    for (GLuint name : textures) {
        EXPECT_EQ(glIsTexture(name), GL_TRUE);
    }
}

TEST_F(TextureFiles, MissingMetalFailsBeforeAnyOtherFileOrNameIsTaken) {
    EXPECT_EQ(load({"sunTexture.bmp", "grass.bmp"}), 2);
    EXPECT_EQ(out, "Loading texturesFile Not Found : metalTexture.bmp\n");
    EXPECT_TRUE(textures[0] == 0 && textures[1] == 0 && textures[2] == 0);
    EXPECT_EQ(boundTexture(), 0);
}
