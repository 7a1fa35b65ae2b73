#pragma once

// The values the game is described by, each stated here once as a plain number. Tests check
// the game against these and never against its own constants: an expectation computed from
// the game's constant would move with it when that constant is wrong.
namespace expected {

// The three picture files, which the game reads in this order.
constexpr const char *metalFile = "metalTexture.bmp", *sunFile = "sunTexture.bmp",
                     *grassFile = "grass.bmp";

// The window as it opens, in pixels, at its place on the screen. The overlay keeps this
// space whatever the window's size later, origin at the bottom left.
constexpr int windowWidth = 800, windowHeight = 600, windowLeft = 50, windowTop = 50;

// The camera hangs this high over the player and looks straight down, screen-up along world
// +X, with a perspective of this vertical field of view (degrees) and aspect.
constexpr double cameraHeight = 16, fieldOfView = 100, aspect = 1.4;

// Linear black fog from fogStart to fogEnd, world units from the eye; O and P move the start
// by fogStep.
constexpr float fogStart = 10, fogStep = 5, fogEnd = 20;

// Light 0 in eye space, 10 units along the eye's up axis, so it travels with the camera; the
// only other light is the ambient.
constexpr float lightPosition[4] = {0, 10, 0, 1};
constexpr double ambient = 0.2;

// The ground's cells are this many units on a side; ships are unit cubes whose top lies this
// high, the player's drawn at this alpha.
constexpr double groundCell = 8, shipTop = 5.5;
constexpr float playerAlpha = 0.4f;

// The overlay's labels start at labelLeft with these baselines; glyphs are 8 x 13 pixels in
// cells 10 wide, their bottom row 2 pixels under the baseline.
constexpr int labelLeft = 5, livesBaseline = 550, scoreBaseline = 570;
constexpr int glyphWidth = 8, glyphHeight = 13, glyphAdvance = 10, glyphDescent = 2;

// The world ticks 60 times a second; however long the game was held up, one display event
// catches up at most this many ticks.
constexpr int ticksPerSecond = 60, catchUpTicks = 4;

} // namespace expected
