// The matrices of OpenGL 1.1 and GLU, against their documented formulas.
#include "web/gl/matrix.h"

#include <gtest/gtest.h>

#include <functional>

using namespace fixedgl;

namespace {

constexpr double tolerance = 1e-5;

void expectPoint(const mat4& m, vec4 in, vec4 out) {
    const vec4 got = m * in;
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(got[i], out[i], tolerance) << "component " << i;
    }
}

} // namespace

// The camera over a player at (3, 4): 16 units up, looking down, screen-up along world +X.
TEST(Matrix, PlacesPointsAsGluAndOpenGlDo) {
    struct {
        const char* what;
        mat4 m;
        vec4 in, out;
    } cases[] = {
        {"look at: +X is up",
         lookAt({3, 16, 4}, {3, 15, 4}, {1, 0, 0}),
         {4, 0, 4, 1},
         {0, 1, -16, 1}},
        {"look at: +Z is right",
         lookAt({3, 16, 4}, {3, 15, 4}, {1, 0, 0}),
         {3, 0, 5, 1},
         {1, 0, -16, 1}},
        {"perspective near plane", perspective(100, 1.4, 5, 50), {0, 0, -5, 1}, {0, 0, -5, 5}},
        {"perspective far plane", perspective(100, 1.4, 5, 50), {0, 0, -50, 1}, {0, 0, 50, 50}},
        {"perspective x over aspect",
         perspective(100, 1.4, 5, 50),
         {1.4, 1, -10, 1},
         {0.8390996, 0.8390996, 1.1111111, 10}},
        {"ortho 2-D centre", ortho(0, 800, 0, 600, -1, 1), {400, 300, 0, 1}, {0, 0, 0, 1}},
        {"ortho 2-D label",
         ortho(0, 800, 0, 600, -1, 1),
         {5, 550, 0, 1},
         {-0.9875, 0.8333333, 0, 1}},
        {"rotate 90 about +Y", rotation(90, 0, 2, 0), {1, 0, 0, 1}, {0, 0, -1, 1}},
        {"rotate 90 about +Z", rotation(90, 0, 0, 1), {1, 0, 0, 1}, {0, 1, 0, 1}},
        {"translate then rotate",
         translation(10, 0, 0) * rotation(90, 0, 1, 0),
         {1, 0, 0, 1},
         {10, 0, -1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expectPoint(c.m, c.in, c.out);
    }
}

// Normals go through the inverse transpose: a stretch along X shrinks the X of a normal.
TEST(Matrix, NormalMatrixIsTheInverseTransposeOfTheUpperThreeByThree) {
    mat4 stretch = identity();
    stretch.m[0] = 2;
    stretch.m[12] = 7; // the translation does not touch normals
    const std::array<double, 9> n = normalMatrix(stretch);
    const std::array<double, 9> expected{0.5, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(n[i], expected[i], tolerance) << i;
    }
    const std::array<double, 9> turned = normalMatrix(rotation(30, 1, 1, 0));
    const mat4 r = rotation(30, 1, 1, 0);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            EXPECT_NEAR(turned[col * 3 + row], r.at(row, col), tolerance);
        }
    }
}
