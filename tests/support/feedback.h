#pragma once

// Captures the polygons a drawing call sends down the OpenGL pipeline (feedback mode) and
// maps their vertices back to world space, so tests check geometry, colours and texture
// coordinates without looking at pixels. Needs a current context.
#include <GL/gl.h>

#include <cstddef>
#include <functional>
#include <vector>

struct feedbackVertex {
    float x, y, z;    // world units
    float r, g, b, a; // the current colour, as lighting is off in the tests
    float s, t;
};

// A world cube around (x, y, z) mapped onto the whole clip volume; the rest is clipped.
struct worldBox {
    double x, y, z, half;
};

struct feedbackCapture {
    bool complete = true; // false when the buffer overflowed or held other than polygons
    std::vector<std::vector<feedbackVertex>> polygons;
};

// Runs draw in feedback mode, capacity in floats, with the box as the projection and an
// identity modelview. Leaves GL_MODELVIEW selected.
inline feedbackCapture captureFeedback(const worldBox& box, const std::function<void()>& draw,
                                       std::size_t capacity = 4096) {
    glViewport(0, 0, 800, 600);
    glDepthRange(0, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScaled(1 / box.half, 1 / box.half, 1 / box.half);
    glTranslated(-box.x, -box.y, -box.z);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<GLfloat> f(capacity);
    glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR_TEXTURE, f.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);

    feedbackCapture out;
    out.complete = used >= 0;
    const double centre[3] = {box.x, box.y, box.z}, scale[3] = {1.0 / 400, 1.0 / 300, 2};
    for (std::size_t i = 0; out.complete && i < static_cast<std::size_t>(used);) {
        out.complete = f[i++] == GL_POLYGON_TOKEN;
        auto& polygon = out.polygons.emplace_back(out.complete ? std::size_t(f[i++]) : 0);
        for (feedbackVertex& v : polygon) {
            float world[3];
            for (int axis = 0; axis < 3; ++axis) {
                world[axis] = float(centre[axis] + (f[i + axis] * scale[axis] - 1) * box.half);
            }
            v = {world[0], world[1], world[2], f[i + 3], f[i + 4],
                 f[i + 5], f[i + 6], f[i + 7], f[i + 8]};
            i += 11; // x y z, r g b a, s t r q
        }
    }
    return out;
}
