// The OpenGL 1.1 and GLU calls the game makes, for the browser: each keeps its state in the
// fixed-function context and draws through WebGL 2 (the emscripten_gl names, since the plain
// names are these very functions).
#include <GL/gl.h>
#include <GL/glu.h>
#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "web/gl/draw_count.h"
#include "web/gl/state.h"

using namespace fixedgl;

namespace {

constexpr GLuint positionSlot = 0, colourSlot = 1, normalSlot = 2, texCoordSlot = 3;

struct program {
    GLuint id = 0;
    std::map<std::string, GLint> slots;
    GLint at(const char* name) {
        auto found = slots.find(name);
        if (found == slots.end()) {
            found = slots.emplace(name, emscripten_glGetUniformLocation(id, name)).first;
        }
        return found->second;
    }
};

GLuint compile(GLenum kind, const char* source) {
    const GLuint shader = emscripten_glCreateShader(kind);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    GLint ok = 0;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "skyhunt: a shader did not compile: %s\n", log);
    }
    return shader;
}

program link(bool flat) {
    program p;
    p.id = emscripten_glCreateProgram();
    emscripten_glAttachShader(p.id, compile(GL_VERTEX_SHADER, vertexShader(flat)));
    emscripten_glAttachShader(p.id, compile(GL_FRAGMENT_SHADER, fragmentShader(flat)));
    emscripten_glLinkProgram(p.id);
    GLint ok = 0;
    emscripten_glGetProgramiv(p.id, GL_LINK_STATUS, &ok);
    if (!ok) {
        std::fprintf(stderr, "skyhunt: the shaders did not link\n");
    }
    return p;
}

// A vertex array with its own vertex and index buffers: triangles first, then edges.
struct geometryBuffers {
    GLuint array = 0, vertices = 0, indices = 0;
    std::size_t edgeOffset = 0; // in indices
};

void describeVertices() {
    const auto stride = static_cast<GLsizei>(sizeof(vertex));
    emscripten_glEnableVertexAttribArray(positionSlot);
    emscripten_glVertexAttribPointer(positionSlot, 3, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(vertex, position)));
    emscripten_glEnableVertexAttribArray(colourSlot);
    emscripten_glVertexAttribPointer(colourSlot, 4, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(vertex, colour)));
    emscripten_glEnableVertexAttribArray(normalSlot);
    emscripten_glVertexAttribPointer(normalSlot, 3, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(vertex, normal)));
    emscripten_glEnableVertexAttribArray(texCoordSlot);
    emscripten_glVertexAttribPointer(texCoordSlot, 2, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(vertex, texCoord)));
}

geometryBuffers makeBuffers() {
    geometryBuffers b;
    emscripten_glGenVertexArrays(1, &b.array);
    emscripten_glGenBuffers(1, &b.vertices);
    emscripten_glGenBuffers(1, &b.indices);
    emscripten_glBindVertexArray(b.array);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, b.vertices);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.indices);
    describeVertices();
    return b;
}

void fill(geometryBuffers& b, const mesh& m, GLenum usage) {
    emscripten_glBindVertexArray(b.array);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, b.vertices);
    emscripten_glBufferData(GL_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(m.vertices.size() * sizeof(vertex)),
                            m.vertices.data(), usage);
    std::vector<std::uint32_t> all(m.triangles);
    all.insert(all.end(), m.edges.begin(), m.edges.end());
    b.edgeOffset = m.triangles.size();
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(all.size() * sizeof(std::uint32_t)), all.data(),
                            usage);
}

void setMatrix(GLint slot, const mat4& m) {
    float f[16];
    for (int i = 0; i < 16; ++i) {
        f[i] = static_cast<float>(m.m[i]);
    }
    emscripten_glUniformMatrix4fv(slot, 1, GL_FALSE, f);
}

void setColourUniform(GLint slot, const colour& c) {
    emscripten_glUniform4f(slot, c[0], c[1], c[2], c[3]);
}

void toggle(GLenum cap, bool on) {
    if (on) {
        emscripten_glEnable(cap);
    } else {
        emscripten_glDisable(cap);
    }
}

class webglTarget final : public drawTarget {
  public:
    void drawImmediate(const mesh& geometry, const context& state) override {
        ready();
        fill(stream, geometry, GL_STREAM_DRAW);
        draw(stream, 0, geometry.triangles.size(), 0, geometry.edges.size(), state);
    }

    void listCompiled(unsigned name, const displayList& list) override {
        ready();
        geometryBuffers& b = lists[name];
        if (b.array == 0) {
            b = makeBuffers();
        }
        fill(b, list.geometry, GL_STATIC_DRAW);
    }

    void drawListStep(unsigned name, const displayList::step& step, const context& state) override {
        draw(lists[name], step.triangleFirst, step.triangleCount, step.edgeFirst, step.edgeCount,
             state);
    }

    // A quad in window pixels, drawn with the bitmap as its coverage mask in the raster colour.
    void drawBitmap(const bitmapImage& image, const context& state) override {
        ready();
        if (state.enabled(cap::fog) || state.enabled(cap::texture2d)) {
            unsupported("glBitmap with fog or texturing on", 0);
        }
        const GLuint mask = maskOf(image);
        const auto x0 = static_cast<float>(state.raster().x - image.xOrigin);
        const auto y0 = static_cast<float>(state.raster().y - image.yOrigin);
        const float x1 = x0 + static_cast<float>(image.width);
        const float y1 = y0 + static_cast<float>(image.height);
        const colour& c = state.raster().tint;
        mesh quad;
        const float n[3] = {0, 0, 1};
        for (const auto& corner :
             {std::array<float, 4>{x0, y0, 0, 0}, {x1, y0, 1, 0}, {x1, y1, 1, 1}, {x0, y1, 0, 1}}) {
            quad.vertices.push_back({{corner[0], corner[1], 0},
                                     {c[0], c[1], c[2], c[3]},
                                     {n[0], n[1], n[2]},
                                     {corner[2], corner[3]}});
        }
        quad.triangles = {0, 1, 3, 1, 2, 3};
        fill(stream, quad, GL_STREAM_DRAW);
        const viewportBox& v = state.viewportArea();
        program& p = use(false);
        setMatrix(p.at("modelview"), identity());
        setMatrix(p.at("projection"), ortho(v.x, v.x + v.width, v.y, v.y + v.height, -1, 1));
        emscripten_glUniform1i(p.at("lighting"), 0);
        emscripten_glUniform1i(p.at("fog"), 0);
        emscripten_glUniform1i(p.at("texturing"), 0);
        emscripten_glUniform1i(p.at("bitmap"), 1);
        emscripten_glUniform1i(p.at("image"), 0);
        toggle(GL_BLEND, state.enabled(cap::blend));
        toggle(GL_DEPTH_TEST, state.enabled(cap::depthTest));
        emscripten_glBindTexture(GL_TEXTURE_2D, mask);
        emscripten_glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
        countDrawCall();
        emscripten_glBindTexture(GL_TEXTURE_2D, boundTexture);
    }

    GLuint boundTexture = 0;

  private:
    void ready() {
        if (smooth.id != 0) {
            return;
        }
        smooth = link(false);
        flat = link(true);
        stream = makeBuffers();
    }

    program& use(bool flatShading) {
        program& p = flatShading ? flat : smooth;
        emscripten_glUseProgram(p.id);
        return p;
    }

    GLuint maskOf(const bitmapImage& image) {
        GLuint& name = masks[&image];
        if (name != 0) {
            return name;
        }
        emscripten_glGenTextures(1, &name);
        emscripten_glBindTexture(GL_TEXTURE_2D, name);
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, image.width, image.height, 0, GL_RED,
                                GL_UNSIGNED_BYTE, image.coverage.data());
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
        return name;
    }

    // Polygons in GL_LINE mode are drawn as their edges.
    void draw(geometryBuffers& b, std::size_t triangleFirst, std::size_t triangleCount,
              std::size_t edgeFirst, std::size_t edgeCount, const context& state) {
        const bool lines = state.wireframe();
        const GLenum primitive = lines ? GL_LINES : GL_TRIANGLES;
        const std::size_t first = lines ? b.edgeOffset + edgeFirst : triangleFirst;
        const std::size_t count = lines ? edgeCount : triangleCount;
        program& p = use(state.flatShading());
        setMatrix(p.at("modelview"), state.modelview());
        setMatrix(p.at("projection"), state.projection());
        const std::array<double, 9> n = normalMatrix(state.modelview());
        float nf[9];
        for (int i = 0; i < 9; ++i) {
            nf[i] = static_cast<float>(n[i]);
        }
        emscripten_glUniformMatrix3fv(p.at("normalMatrix"), 1, GL_FALSE, nf);
        const lightState& light = state.lightZero();
        const material plain = state.surface({0, 0, 0, 0});
        emscripten_glUniform1i(p.at("lighting"), state.enabled(cap::lighting));
        emscripten_glUniform1i(p.at("lightOn"), light.on);
        emscripten_glUniform1i(p.at("colourMaterial"), state.enabled(cap::colourMaterial));
        emscripten_glUniform1i(p.at("normalise"), state.enabled(cap::normalize));
        setColourUniform(p.at("sceneAmbient"), light.sceneAmbient);
        setColourUniform(p.at("lightAmbient"), light.ambient);
        setColourUniform(p.at("lightDiffuse"), light.diffuse);
        emscripten_glUniform4f(p.at("lightPosition"), static_cast<float>(light.position[0]),
                               static_cast<float>(light.position[1]),
                               static_cast<float>(light.position[2]),
                               static_cast<float>(light.position[3]));
        setColourUniform(p.at("materialAmbient"), plain.ambient);
        setColourUniform(p.at("materialDiffuse"), plain.diffuse);
        emscripten_glUniform1i(p.at("texturing"), state.enabled(cap::texture2d));
        emscripten_glUniform1i(p.at("bitmap"), 0);
        emscripten_glUniform1i(p.at("image"), 0);
        emscripten_glUniform1i(p.at("fog"), state.enabled(cap::fog));
        emscripten_glUniform1f(p.at("fogStart"), state.fogStart());
        emscripten_glUniform1f(p.at("fogEnd"), state.fogEnd());
        setColourUniform(p.at("fogColour"), state.fogColour());
        toggle(GL_BLEND, state.enabled(cap::blend));
        toggle(GL_DEPTH_TEST, state.enabled(cap::depthTest));
        emscripten_glBindVertexArray(b.array);
        if (count == 0) {
            return;
        }
        emscripten_glDrawElements(primitive, static_cast<GLsizei>(count), GL_UNSIGNED_INT,
                                  reinterpret_cast<void*>(first * sizeof(std::uint32_t)));
        countDrawCall();
    }

  public:
    int unpackAlignment = 4;

  private:
    program smooth, flat;
    geometryBuffers stream;
    std::map<unsigned, geometryBuffers> lists;
    std::map<const bitmapImage*, GLuint> masks;
};

webglTarget webgl;
context gl{webgl};

} // namespace

namespace fixedgl {

namespace {
int drawCalls = 0;
} // namespace

void countDrawCall() {
    ++drawCalls;
}

int takeDrawCalls() {
    const int calls = drawCalls;
    drawCalls = 0;
    return calls;
}

} // namespace fixedgl

extern "C" {

// ---- Switches, matrices and the calls WebGL takes as they are ---------------------------

void glEnable(GLenum cap) {
    gl.enable(cap, true);
}

void glDisable(GLenum cap) {
    gl.enable(cap, false);
}

void glHint(GLenum, GLenum) {}

void glMatrixMode(GLenum mode) {
    gl.matrixMode(mode);
}

void glLoadIdentity() {
    gl.loadIdentity();
}

void glPushMatrix() {
    gl.pushMatrix();
}

void glPopMatrix() {
    gl.popMatrix();
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    gl.multiply(translation(x, y, z));
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    gl.multiply(rotation(angle, x, y, z));
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near,
             GLdouble far) {
    gl.multiply(ortho(left, right, bottom, top, near, far));
}

void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
    gl.multiply(ortho(left, right, bottom, top, -1, 1));
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble near, GLdouble far) {
    gl.multiply(perspective(fovy, aspect, near, far));
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
               GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    gl.multiply(lookAt({eyeX, eyeY, eyeZ}, {centreX, centreY, centreZ}, {upX, upY, upZ}));
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    gl.viewport(x, y, width, height);
    emscripten_glViewport(x, y, width, height);
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    emscripten_glClearColor(r, g, b, a);
}

void glClear(GLbitfield mask) {
    emscripten_glClear(mask);
}

void glBlendFunc(GLenum source, GLenum destination) {
    emscripten_glBlendFunc(source, destination);
}

void glFlush() {
    emscripten_glFlush();
}

// The browser shows the frame when the loop's function returns; waiting here would only stall.
void glFinish() {}

void glShadeModel(GLenum mode) {
    gl.shadeModel(mode);
}

void glPolygonMode(GLenum face, GLenum mode) {
    gl.polygonMode(face, mode);
}

// ---- Immediate mode ---------------------------------------------------------------------

void glBegin(GLenum mode) {
    gl.begin(mode);
}

void glEnd() {
    gl.end();
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    gl.setColour({r, g, b, 1.0f});
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    gl.setColour({r, g, b, a});
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    gl.setNormal(x, y, z);
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    gl.setTexCoord(s, t);
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    gl.addVertex(x, y, z);
}

void glVertex3i(GLint x, GLint y, GLint z) {
    gl.addVertex(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

// ---- Display lists, raster text and the attribute stack ---------------------------------

GLuint glGenLists(GLsizei range) {
    return gl.genLists(range);
}

void glNewList(GLuint list, GLenum mode) {
    gl.newList(list, mode);
}

void glEndList() {
    gl.endList();
}

void glCallList(GLuint list) {
    gl.callList(list);
}

void glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    gl.callLists(n, type, lists);
}

void glListBase(GLuint base) {
    gl.listBase(base);
}

void glPushAttrib(GLbitfield mask) {
    gl.pushAttrib(mask);
}

void glPopAttrib() {
    gl.popAttrib();
}

void glRasterPos2i(GLint x, GLint y) {
    gl.rasterPos(x, y);
}

void glBitmap(GLsizei width, GLsizei height, GLfloat xOrigin, GLfloat yOrigin, GLfloat xMove,
              GLfloat yMove, const GLubyte* bitmap) {
    gl.bitmap(width, height, xOrigin, yOrigin, xMove, yMove, bitmap);
}

void glPixelStorei(GLenum name, GLint value) {
    gl.pixelStore(name, value);
    webgl.unpackAlignment = value;
    emscripten_glPixelStorei(name, value);
}

// ---- Light and fog ----------------------------------------------------------------------

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
    gl.light(light, name, values);
}

void glLightModelfv(GLenum name, const GLfloat* values) {
    gl.lightModel(name, values);
}

void glColorMaterial(GLenum face, GLenum mode) {
    gl.colourMaterial(face, mode);
}

void glFogi(GLenum name, GLint value) {
    if (name != GL_FOG_MODE) {
        unsupported("glFogi", name);
        return;
    }
    gl.fogMode(value);
}

void glFogf(GLenum name, GLfloat value) {
    gl.fogValue(name, &value);
}

void glFogfv(GLenum name, const GLfloat* values) {
    gl.fogValue(name, values);
}

// ---- Textures ---------------------------------------------------------------------------

void glGenTextures(GLsizei n, GLuint* names) {
    emscripten_glGenTextures(n, names);
}

void glBindTexture(GLenum target, GLuint name) {
    webgl.boundTexture = name;
    emscripten_glBindTexture(target, name);
}

void glTexParameteri(GLenum target, GLenum name, GLint value) {
    emscripten_glTexParameteri(target, name, value);
}

// OpenGL 1.1's component counts become WebGL's unsized formats.
void glTexImage2D(GLenum target, GLint level, GLint components, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    GLint internal = components;
    if (components == 3) {
        internal = GL_RGB;
    } else if (components == 4) {
        internal = GL_RGBA;
    }
    if (border != 0 || internal != static_cast<GLint>(format)) {
        unsupported("glTexImage2D", static_cast<unsigned>(components));
    }
    emscripten_glTexImage2D(target, level, internal, width, height, 0, format, type, pixels);
}

} // extern "C"
