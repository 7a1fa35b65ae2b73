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

// An axis-aligned world box mapped onto the whole clip volume; what lies outside is clipped.
struct worldBox {
    double centreX, centreY, centreZ, halfX, halfY, halfZ;
};

struct feedbackCapture {
    bool complete = true; // false when the buffer overflowed or held other than polygons
    std::vector<std::vector<feedbackVertex>> polygons; // only polygons are expected
};

// Runs draw in feedback mode, capacity in floats, with the box as the projection and an
// identity modelview. Leaves GL_MODELVIEW selected.
inline feedbackCapture captureFeedback(const worldBox& box, const std::function<void()>& draw,
                                       std::size_t capacity = 4096) {
    constexpr std::size_t floatsPerVertex = 11; // x y z, r g b a, s t r q
    constexpr double width = 800, height = 600;
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    glDepthRange(0, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScaled(1 / box.halfX, 1 / box.halfY, 1 / box.halfZ);
    glTranslated(-box.centreX, -box.centreY, -box.centreZ);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    std::vector<GLfloat> f(capacity);
    glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR_TEXTURE, f.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);

    feedbackCapture out;
    out.complete = used >= 0;
    const std::size_t size = out.complete ? static_cast<std::size_t>(used) : 0;
    for (std::size_t i = 0; i + 1 < size;) {
        if (f[i++] != GL_POLYGON_TOKEN) {
            out.complete = false;
            break;
        }
        auto& polygon = out.polygons.emplace_back(static_cast<std::size_t>(f[i++]));
        for (feedbackVertex& v : polygon) {
            v = {static_cast<float>(box.centreX + (f[i] * 2 / width - 1) * box.halfX),
                 static_cast<float>(box.centreY + (f[i + 1] * 2 / height - 1) * box.halfY),
                 static_cast<float>(box.centreZ + (2 * f[i + 2] - 1) * box.halfZ),
                 f[i + 3],
                 f[i + 4],
                 f[i + 5],
                 f[i + 6],
                 f[i + 7],
                 f[i + 8]};
            i += floatsPerVertex;
        }
    }
    return out;
}
