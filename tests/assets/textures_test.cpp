// loadTextures: the names it takes and the binding it leaves.
#include "assets/textures.h"

#include "assets/data_path.h"

#include "tools/texgen.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

// A fresh working directory, as the game starts, with the data folder's variable empty (an
// empty variable counts as unset), so nothing is found anywhere else the game looks; both
// are put back after the test. putenv keeps the strings it is given, so they outlive it.
class LoadTextures : public testing::Test {
  protected:
    void SetUp() override {
        const char* was = std::getenv(dataDirVariable);
        const std::string before = std::string(dataDirVariable) + "=" + (was ? was : "");
        static std::string empty = std::string(dataDirVariable) + "=";
        putenv(empty.data());
        restored = before; // no longer in the environment, so it may be written
        home = std::filesystem::current_path();
        dir = std::filesystem::temp_directory_path() / ("skyhunt-" + std::to_string(getpid()));
        std::filesystem::create_directory(dir);
        std::filesystem::current_path(dir);
    }
    void TearDown() override {
        std::filesystem::current_path(home);
        std::filesystem::remove_all(dir);
        putenv(restored.data());
    }

    static inline std::string restored;
    std::filesystem::path home, dir;
};

// With the grass missing, two files are read and no name is taken; with all three, each is
// made and the grass left bound.
TEST_F(LoadTextures, TakesNamesOnlyOnceAllThreeFilesAreRead) {
    using namespace texture;
    const picture grey{8, 4, std::vector<unsigned char>(96, 200)};
    ASSERT_TRUE(writeBmp(fileNames[metal], grey) && writeBmp(fileNames[sun], grey));
    EXPECT_EQ(loadTextures(), 2);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_TRUE(textures[metal] == 0 && textures[sun] == 0 && textures[grass] == 0 && bound == 0);

    ASSERT_TRUE(writeBmp(fileNames[grass], grey));
    EXPECT_EQ(loadTextures(), 0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(textures[grass]));
    EXPECT_TRUE(glIsTexture(textures[metal]) && glIsTexture(textures[sun]));
    EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
}
