#pragma once

// Captures what a drawing call sends down the OpenGL pipeline with feedback mode and maps
// the vertices back from window space to world space, so tests can check geometry,
// colours and texture coordinates without looking at pixels. Needs a current context.
#include <GL/gl.h>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

struct feedbackVertex {
    GLfloat x, y, z;    // world space
    GLfloat r, g, b, a; // colour after lighting, or the current colour with lighting off
    GLfloat s, t;       // texture coordinate
};

struct feedbackPrimitive {
    GLenum token; // GL_POLYGON_TOKEN, GL_LINE_TOKEN, GL_POINT_TOKEN, ...
    std::vector<feedbackVertex> vertices;
};

// An axis-aligned world box that is mapped onto the whole clip volume; geometry outside it
// is clipped away.
struct worldBox {
    GLdouble centreX, centreY, centreZ;
    GLdouble halfX, halfY, halfZ;
};

struct feedbackCapture {
    bool overflowed = false;
    std::vector<feedbackPrimitive> primitives;

    std::size_t vertexCount() const {
        std::size_t n = 0;
        for (const feedbackPrimitive& p : primitives) {
            n += p.vertices.size();
        }
        return n;
    }
};

namespace feedbackDetail {

constexpr GLint viewportWidth = 800;
constexpr GLint viewportHeight = 600;
// x, y, z, four colour components and four texture components per vertex.
constexpr std::size_t floatsPerVertex = 11;

// Loads the world-to-clip mapping of the box into the projection and leaves an identity
// modelview for the drawing call to multiply onto.
inline void loadBoxTransform(const worldBox& box) {
    glViewport(0, 0, viewportWidth, viewportHeight);
    glDepthRange(0.0, 1.0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScaled(1.0 / box.halfX, 1.0 / box.halfY, 1.0 / box.halfZ);
    glTranslated(-box.centreX, -box.centreY, -box.centreZ);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

inline feedbackVertex toWorld(const worldBox& box, const GLfloat* f) {
    const GLdouble clipX = f[0] / (viewportWidth / 2.0) - 1.0;
    const GLdouble clipY = f[1] / (viewportHeight / 2.0) - 1.0;
    const GLdouble clipZ = 2.0 * f[2] - 1.0;
    feedbackVertex v;
    v.x = static_cast<GLfloat>(box.centreX + clipX * box.halfX);
    v.y = static_cast<GLfloat>(box.centreY + clipY * box.halfY);
    v.z = static_cast<GLfloat>(box.centreZ + clipZ * box.halfZ);
    v.r = f[3];
    v.g = f[4];
    v.b = f[5];
    v.a = f[6];
    v.s = f[7];
    v.t = f[8];
    return v;
}

// Consumes the token's header (the vertex count of a polygon, the value of a pass-through
// marker) and returns how many vertices follow it.
inline std::size_t readHeader(GLenum token, const GLfloat* f, std::size_t& i) {
    switch (token) {
    case GL_POLYGON_TOKEN:
        return static_cast<std::size_t>(f[i++]);
    case GL_PASS_THROUGH_TOKEN:
        ++i;
        return 0;
    case GL_LINE_TOKEN:
    case GL_LINE_RESET_TOKEN:
        return 2;
    default:
        return 1; // points, bitmaps and pixel rectangles
    }
}

inline std::vector<feedbackPrimitive> parse(const worldBox& box, const GLfloat* f,
                                            std::size_t size) {
    std::vector<feedbackPrimitive> out;
    std::size_t i = 0;
    while (i < size) {
        feedbackPrimitive p;
        p.token = static_cast<GLenum>(f[i++]);
        const std::size_t count = readHeader(p.token, f, i);
        for (std::size_t k = 0; k < count; ++k, i += floatsPerVertex) {
            p.vertices.push_back(toWorld(box, f + i));
        }
        out.push_back(std::move(p));
    }
    return out;
}

} // namespace feedbackDetail

// Runs draw in feedback mode through the box's mapping; capacity is in floats. Leaves the
// box's projection loaded, GL_MODELVIEW selected and the render mode back at GL_RENDER.
inline feedbackCapture captureFeedback(const worldBox& box, const std::function<void()>& draw,
                                       std::size_t capacity = 4096) {
    std::vector<GLfloat> buffer(capacity);
    feedbackDetail::loadBoxTransform(box);
    glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    feedbackCapture capture;
    capture.overflowed = used < 0;
    if (!capture.overflowed) {
        capture.primitives =
            feedbackDetail::parse(box, buffer.data(), static_cast<std::size_t>(used));
    }
    return capture;
}
