// loadTextures: the names it takes and the binding it leaves.
#include "assets/textures.h"

#include "assets/data_path.h"

#include "tools/texgen.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

// In a fresh working directory, as the game starts: with the grass missing, two files are
// read and no name is taken; with all three, each is made and the grass left bound.
TEST(LoadTextures, TakesNamesOnlyOnceAllThreeFilesAreRead) {
    using namespace texture;
    namespace fs = std::filesystem;
    const fs::path home = fs::current_path();
    const fs::path dir = fs::temp_directory_path() / ("skyhunt-" + std::to_string(getpid()));
    fs::create_directory(dir);
    fs::current_path(dir);
    // Nor anywhere else the game looks for it: an empty variable counts as unset.
    static std::string noDataDir = std::string(dataDirVariable) + "=";
    putenv(noDataDir.data());
    const picture grey{8, 4, std::vector<unsigned char>(96, 200)};
    ASSERT_TRUE(writeBmp(fileNames[metal], grey) && writeBmp(fileNames[sun], grey));
    EXPECT_EQ(loadTextures(), 2);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_TRUE(textures[metal] == 0 && textures[sun] == 0 && textures[grass] == 0 && bound == 0);

    ASSERT_TRUE(writeBmp(fileNames[grass], grey));
    EXPECT_EQ(loadTextures(), 0);
    fs::current_path(home);
    fs::remove_all(dir);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(textures[grass]));
    EXPECT_TRUE(glIsTexture(textures[metal]) && glIsTexture(textures[sun]));
    EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
}
