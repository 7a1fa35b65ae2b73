#pragma once

// What the player sees: the window, the camera over the player's ship, the fog and the
// light that travels with the camera, and where the overlay's labels stand. The window's
// set-up and the frame draw with these values, and the benchmarks' floors take them from
// here too; the tests state them again as plain numbers, to catch one gone wrong.
namespace view {

// The window as it opens, in pixels; the overlay keeps this coordinate space, origin at the
// bottom left, whatever the window's size later.
constexpr int windowWidth = 800;
constexpr int windowHeight = 600;
constexpr int windowLeft = 50; // screen position in pixels
constexpr int windowTop = 50;

// A wide view, the same aspect whatever the window's shape.
constexpr double fieldOfView = 100.0; // degrees, vertical
constexpr double aspect = 1.4;
constexpr double nearPlane = 5.0; // world units
constexpr double farPlane = 50.0;
// The camera hangs this high over the player and looks straight down; screen-up is world +X.
constexpr double eyeHeight = 16.0;

constexpr float fogEnd = 20.0f; // world units from the eye
inline constexpr float fogColor[4] = {0, 0, 0, 1};
inline constexpr float ambientColor[4] = {0.2f, 0.2f, 0.2f, 1.0f};

// Light 0 sits 10 units along the eye's up axis, in eye space, so it travels with the camera;
// its spot direction needs only the first three values and its cut-off stays at 180 degrees.
inline constexpr float lightDiffuse[4] = {1, 1, 1, 1};
inline constexpr float lightAmbient[4] = {0, 0, 0, 1};
inline constexpr float lightPos0[4] = {0, 10, 0, 1};
inline constexpr float lightDir0[4] = {0, -1, 0, 1};

// Baselines of the overlay's two labels, in the overlay's coordinate space.
constexpr int labelLeft = 5;
constexpr int livesBaseline = 550;
constexpr int scoreBaseline = 570;

} // namespace view
