#pragma once

#include <array>

#include "web/gl/matrix.h"

// OpenGL 1.1's per-vertex lighting and its linear fog, for the one light the game uses: the
// vertex shader computes exactly these, and the desktop tests hold them to OpenGL's formulas.
namespace fixedgl {

using colour = std::array<float, 4>;

// Light 0 and the light model. The position is in eye space, as glLightfv leaves it; with no
// specular material, a cut-off of 180 degrees and no attenuation (OpenGL's defaults, which the
// game keeps) the light adds its ambient and its diffuse term alone.
struct lightState {
    colour sceneAmbient{0.2f, 0.2f, 0.2f, 1.0f};
    colour ambient{0, 0, 0, 1};
    colour diffuse{1, 1, 1, 1};
    vec4 position{0, 0, 1, 0};
    bool on = false; // GL_LIGHT0
};

// The material's ambient and diffuse colours: both the current colour under colour material
// (GL_AMBIENT_AND_DIFFUSE), OpenGL's default material otherwise.
struct material {
    colour ambient{0.2f, 0.2f, 0.2f, 1.0f};
    colour diffuse{0.8f, 0.8f, 0.8f, 1.0f};
};

// The lit colour of one vertex: scene ambient times the material's ambient, plus the light's
// ambient and diffuse terms, clamped to [0, 1]; alpha is the diffuse material's. The normal is
// in eye space and unit length (GL_NORMALIZE), the vertex in eye space.
colour litColour(const lightState& light, const material& surface, const vec3& normal,
                 const vec3& vertex);

// Linear fog's blend factor at a distance from the eye (the eye-space depth's magnitude):
// 1 before the start, 0 past the end, clamped between.
float linearFog(float start, float end, float eyeDistance);

// The fragment's colour under fog: f of its own colour and 1 - f of the fog's; alpha is kept.
colour fogged(const colour& fragment, const colour& fog, float f);

// GLSL ES 3.00 of the same equations, with the texturing (GL_MODULATE) and fog of a fragment;
// flat shading takes the provoking (last) vertex's colour.
const char* vertexShader(bool flat);
const char* fragmentShader(bool flat);

} // namespace fixedgl
