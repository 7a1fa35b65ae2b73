// Light 0 and linear fog as OpenGL 1.1 computes them, for the game's light: 10 units along
// the eye's up axis, white diffuse, no light ambient, a scene ambient of 0.2.
#include "web/gl/shading.h"

#include <gtest/gtest.h>

using namespace fixedgl;

namespace {

lightState gameLight() {
    lightState light;
    light.sceneAmbient = {0.2f, 0.2f, 0.2f, 1};
    light.ambient = {0, 0, 0, 1};
    light.diffuse = {1, 1, 1, 1};
    light.position = {0, 10, 0, 1};
    light.on = true;
    return light;
}

} // namespace

// The ground straight below the eye at 16 units faces the light at cos = 16 / sqrt(356).
TEST(Shading, LitColourFollowsOpenGlsLightingEquation) {
    struct {
        const char* what;
        lightState light;
        colour material;
        vec3 normal, vertex;
        colour expected;
    } cases[] = {
        {"white ground saturates", gameLight(), {1, 1, 1, 1}, {0, 0, 1}, {0, 0, -16}, {1, 1, 1, 1}},
        {"grey ground: 0.2 ambient + 0.848 diffuse",
         gameLight(),
         {0.5f, 0.5f, 0.5f, 1},
         {0, 0, 1},
         {0, 0, -16},
         {0.523999f, 0.523999f, 0.523999f, 1}},
        {"turned away: ambient only",
         gameLight(),
         {0.5f, 0.25f, 1, 1},
         {0, 0, -1},
         {0, 0, -16},
         {0.1f, 0.05f, 0.2f, 1}},
        {"alpha is the diffuse material's",
         gameLight(),
         {0, 1, 0, 0.5f},
         {0, 1, 0},
         {0, 0, -16},
         {0, 0.2f + 10 / 18.867962f, 0, 0.5f}},
        {"light 0 off",
         [] {
             auto l = gameLight();
             l.on = false;
             return l;
         }(),
         {1, 1, 1, 1},
         {0, 0, 1},
         {0, 0, -16},
         {0.2f, 0.2f, 0.2f, 1}},
        {"directional light along its position",
         [] {
             auto l = gameLight();
             l.position = {0, 0, 2, 0};
             return l;
         }(),
         {0.5f, 0.5f, 0.5f, 1},
         {0, 0.6, 0.8},
         {100, 100, -16},
         {0.5f, 0.5f, 0.5f, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const colour got = litColour(c.light, {c.material, c.material}, c.normal, c.vertex);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(got[i], c.expected[i], 1e-5) << "component " << i;
        }
    }
}

// Without colour material, OpenGL's default material: ambient 0.2, diffuse 0.8.
TEST(Shading, LitColourTakesAmbientAndDiffuseFromTheirOwnMaterialColours) {
    const colour got = litColour(gameLight(), material{}, {0, 0, 1}, {0, 10, -16});
    const colour expected{0.84f, 0.84f, 0.84f, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(got[i], expected[i], 1e-5) << "component " << i;
    }
}

// f = (end - z) / (end - start), clamped; the colour is f of the fragment's and 1 - f of the
// fog's, the alpha the fragment's.
TEST(Shading, LinearFogBlendsOnTheEyeDistance) {
    struct {
        float start, end, distance, f;
    } cases[] = {
        {10, 20, 16, 0.4f},     {10, 20, 5, 1},  {10, 20, 25, 0},
        {5, 20, 16, 4.0f / 15}, {20, 20, 16, 1},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(linearFog(c.start, c.end, c.distance), c.f, 1e-6)
            << c.start << ".." << c.end << " at " << c.distance;
    }
    const colour got = fogged({1, 0.5f, 0, 0.7f}, {0, 0, 1, 1}, 0.4f);
    const colour expected{0.4f, 0.2f, 0.6f, 0.7f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(got[i], expected[i], 1e-6) << i;
    }
}
