#include "web/gl/state.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace fixedgl {

namespace {

// OpenGL 1.1's least stack depths, which the game keeps within.
constexpr std::size_t modelviewDepth = 32;
constexpr std::size_t projectionDepth = 2;
constexpr std::size_t attribDepth = 16;
constexpr unsigned savedBits = GL_ENABLE_BIT | GL_LIST_BIT;
// Small enough that the pieces of the ground in view are a few hundredths of it; large
// enough that the pieces of a frame stay a handful of draws.
constexpr std::size_t trianglesPerPiece = 512;

} // namespace

void unsupported(const char* call, unsigned value) {
    std::fprintf(stderr, "skyhunt: the browser's OpenGL does not support %s(0x%x)\n", call, value);
#ifndef NDEBUG
    std::abort();
#endif
}

std::optional<cap> capOf(unsigned glCap) {
    switch (glCap) {
    case GL_LIGHTING:
        return cap::lighting;
    case GL_LIGHT0:
        return cap::light0;
    case GL_FOG:
        return cap::fog;
    case GL_TEXTURE_2D:
        return cap::texture2d;
    case GL_BLEND:
        return cap::blend;
    case GL_DEPTH_TEST:
        return cap::depthTest;
    case GL_NORMALIZE:
        return cap::normalize;
    case GL_COLOR_MATERIAL:
        return cap::colourMaterial;
    case GL_LINE_SMOOTH:
        return cap::lineSmooth;
    default:
        return std::nullopt;
    }
}

bool context::outsideList(const char* call) {
    if (recording) {
        unsupported(call, *recording);
        return false;
    }
    return true;
}

void context::enable(unsigned glCap, bool on) {
    const std::optional<cap> which = capOf(glCap);
    if (!which) {
        unsupported(on ? "glEnable" : "glDisable", glCap);
        return;
    }
    if (!outsideList("glEnable")) {
        return;
    }
    const unsigned bit = 1u << static_cast<unsigned>(*which);
    switches = on ? (switches | bit) : (switches & ~bit);
    light0.on = enabled(cap::light0);
}

std::vector<mat4>& context::stack() {
    return mode == GL_PROJECTION ? projectionStack : modelviewStack;
}

void context::matrixMode(unsigned which) {
    if (which != GL_MODELVIEW && which != GL_PROJECTION) {
        unsupported("glMatrixMode", which);
        return;
    }
    if (outsideList("glMatrixMode")) {
        mode = which;
    }
}

void context::loadIdentity() {
    if (outsideList("glLoadIdentity")) {
        stack().back() = identity();
    }
}

void context::multiply(const mat4& by) {
    if (outsideList("glMultMatrix")) {
        stack().back() = stack().back() * by;
    }
}

void context::pushMatrix() {
    std::vector<mat4>& s = stack();
    if (s.size() >= (mode == GL_PROJECTION ? projectionDepth : modelviewDepth)) {
        unsupported("glPushMatrix", mode);
        return;
    }
    if (outsideList("glPushMatrix")) {
        s.push_back(s.back());
    }
}

void context::popMatrix() {
    std::vector<mat4>& s = stack();
    if (s.size() == 1) {
        unsupported("glPopMatrix", mode);
        return;
    }
    if (outsideList("glPopMatrix")) {
        s.pop_back();
    }
}

void context::begin(unsigned primitiveMode) {
    if (inside || !assembler::supports(primitiveMode)) {
        unsupported("glBegin", primitiveMode);
        return;
    }
    inside = true;
    primitive.begin(primitiveMode);
}

// Outside a list the primitive is drawn at once; inside, it joins the list's geometry.
void context::end() {
    if (!inside) {
        unsupported("glEnd", 0);
        return;
    }
    inside = false;
    if (recording) {
        primitive.end(building.geometry);
        building.closeDraw(buildTriangles, buildEdges);
        buildTriangles = building.geometry.triangles.size();
        buildEdges = building.geometry.edges.size();
        return;
    }
    immediate = mesh{};
    primitive.end(immediate);
    target->drawImmediate(immediate, *this);
}

void context::setColour(const colour& c) {
    current.tint = c;
    if (recording) {
        building.lastColour = c;
    }
}

void context::setNormal(float x, float y, float z) {
    current.normal = {x, y, z};
    if (recording) {
        building.lastNormal = current.normal;
    }
}

void context::setTexCoord(float s, float t) {
    current.texCoord = {s, t};
    if (recording) {
        building.lastTexCoord = current.texCoord;
    }
}

void context::addVertex(float x, float y, float z) {
    if (!inside) {
        unsupported("glVertex outside glBegin", 0);
        return;
    }
    const colour& c = current.tint;
    primitive.add({{x, y, z},
                   {c[0], c[1], c[2], c[3]},
                   {current.normal[0], current.normal[1], current.normal[2]},
                   {current.texCoord[0], current.texCoord[1]}});
}

unsigned context::genLists(int range) {
    if (range <= 0 || !outsideList("glGenLists")) {
        return 0;
    }
    const unsigned first = nextList;
    nextList += static_cast<unsigned>(range);
    return first;
}

void context::newList(unsigned name, unsigned listMode) {
    if (listMode != GL_COMPILE || name == 0 || !outsideList("glNewList")) {
        unsupported("glNewList", listMode);
        return;
    }
    recording = name;
    building = displayList{};
    buildTriangles = 0;
    buildEdges = 0;
}

void context::endList() {
    if (!recording || inside) {
        unsupported("glEndList", 0);
        return;
    }
    const unsigned name = *recording;
    recording.reset();
    displayList& stored = lists[name] = std::move(building);
    building = displayList{};
    stored.partition(trianglesPerPiece);
    target->listCompiled(name, stored);
}

// A name with no list does nothing, as in OpenGL.
void context::callList(unsigned name) {
    if (!outsideList("glCallList")) {
        return;
    }
    const auto found = lists.find(name);
    if (found == lists.end()) {
        return;
    }
    const displayList& list = found->second;
    const mat4 clipFromModel = projection() * modelview();
    for (const displayList::step& step : list.steps) {
        if (step.what == displayList::step::draw) {
            if (!step.bounds || mayBeInView(*step.bounds, clipFromModel)) {
                target->drawListStep(name, step, *this);
            }
        } else {
            const bitmapImage& image = list.bitmaps[step.image];
            if (rasterPos_.valid) {
                target->drawBitmap(image, *this);
                rasterPos_.x += image.xMove;
                rasterPos_.y += image.yMove;
            }
        }
    }
    if (list.lastColour) {
        current.tint = *list.lastColour;
    }
    if (list.lastNormal) {
        current.normal = *list.lastNormal;
    }
    if (list.lastTexCoord) {
        current.texCoord = *list.lastTexCoord;
    }
}

void context::callLists(int n, unsigned type, const void* names) {
    if (type != GL_UNSIGNED_BYTE) {
        unsupported("glCallLists", type);
        return;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(names);
    for (int i = 0; i < n; ++i) {
        callList(base + bytes[i]);
    }
}

void context::listBase(unsigned listBase) {
    if (outsideList("glListBase")) {
        base = listBase;
    }
}

void context::pushAttrib(unsigned mask) {
    if ((mask & ~savedBits) != 0 || attribStack.size() >= attribDepth) {
        unsupported("glPushAttrib", mask);
        return;
    }
    if (outsideList("glPushAttrib")) {
        attribStack.push_back({mask, switches, base});
    }
}

void context::popAttrib() {
    if (attribStack.empty()) {
        unsupported("glPopAttrib", 0);
        return;
    }
    if (!outsideList("glPopAttrib")) {
        return;
    }
    const saved top = attribStack.back();
    attribStack.pop_back();
    if (top.mask & GL_ENABLE_BIT) {
        switches = top.switches;
        light0.on = enabled(cap::light0);
    }
    if (top.mask & GL_LIST_BIT) {
        base = top.base;
    }
}

// The point goes through both matrices and the viewport; outside the clip volume the raster
// position is invalid and bitmaps draw nothing. Its colour is the current one, lit if
// lighting is on.
void context::rasterPos(double x, double y) {
    if (!outsideList("glRasterPos")) {
        return;
    }
    const vec4 eye = modelview() * vec4{x, y, 0, 1};
    const vec4 clip = projection() * eye;
    const double w = clip[3];
    rasterPos_.valid = w > 0;
    for (int i = 0; i < 3 && rasterPos_.valid; ++i) {
        rasterPos_.valid = clip[i] >= -w && clip[i] <= w;
    }
    if (!rasterPos_.valid) {
        return;
    }
    rasterPos_.x = view.x + (clip[0] / w + 1) * view.width / 2;
    rasterPos_.y = view.y + (clip[1] / w + 1) * view.height / 2;
    rasterPos_.tint = current.tint;
    if (enabled(cap::lighting)) {
        const std::array<double, 9> n = normalMatrix(modelview());
        const auto& c = current.normal;
        const vec3 normal{n[0] * c[0] + n[3] * c[1] + n[6] * c[2],
                          n[1] * c[0] + n[4] * c[1] + n[7] * c[2],
                          n[2] * c[0] + n[5] * c[1] + n[8] * c[2]};
        rasterPos_.tint =
            litColour(light0, surface(current.tint), normal, {eye[0], eye[1], eye[2]});
    }
}

void context::bitmap(int width, int height, float xOrigin, float yOrigin, float xMove, float yMove,
                     const std::uint8_t* rows) {
    if (width < 0 || height < 0) {
        unsupported("glBitmap", 0);
        return;
    }
    bitmapImage image{width,
                      height,
                      xOrigin,
                      yOrigin,
                      xMove,
                      yMove,
                      unpackBitmap(width, height, unpackAlignment, rows)};
    if (recording) {
        building.addBitmap(std::move(image));
        return;
    }
    if (rasterPos_.valid) {
        target->drawBitmap(image, *this);
        rasterPos_.x += xMove;
        rasterPos_.y += yMove;
    }
}

void context::pixelStore(unsigned name, int value) {
    if (name != GL_UNPACK_ALIGNMENT || (value != 1 && value != 2 && value != 4 && value != 8)) {
        unsupported("glPixelStorei", name);
        return;
    }
    unpackAlignment = value;
}

// The position is taken into eye space by the modelview matrix of the moment, as OpenGL does.
void context::light(unsigned lightName, unsigned name, const float* v) {
    if (lightName != GL_LIGHT0 || !outsideList("glLightfv")) {
        unsupported("glLightfv", lightName);
        return;
    }
    switch (name) {
    case GL_AMBIENT:
        light0.ambient = {v[0], v[1], v[2], v[3]};
        break;
    case GL_DIFFUSE:
        light0.diffuse = {v[0], v[1], v[2], v[3]};
        break;
    case GL_POSITION:
        light0.position = modelview() * vec4{v[0], v[1], v[2], v[3]};
        break;
    case GL_SPOT_DIRECTION:
        // With the cut-off left at 180 degrees the direction has no effect.
        break;
    default:
        unsupported("glLightfv", name);
        break;
    }
}

void context::lightModel(unsigned name, const float* v) {
    if (name != GL_LIGHT_MODEL_AMBIENT || !outsideList("glLightModelfv")) {
        unsupported("glLightModelfv", name);
        return;
    }
    light0.sceneAmbient = {v[0], v[1], v[2], v[3]};
}

void context::colourMaterial(unsigned face, unsigned materialMode) {
    if ((face != GL_FRONT && face != GL_FRONT_AND_BACK) || materialMode != GL_AMBIENT_AND_DIFFUSE) {
        unsupported("glColorMaterial", materialMode);
    }
}

material context::surface(const colour& vertexColour) const {
    if (enabled(cap::colourMaterial)) {
        return {vertexColour, vertexColour};
    }
    return plain;
}

void context::fogMode(int fogModeValue) {
    if (fogModeValue != GL_LINEAR) {
        unsupported("glFogi", static_cast<unsigned>(fogModeValue));
    }
}

void context::fogValue(unsigned name, const float* v) {
    switch (name) {
    case GL_FOG_START:
        fogFrom = v[0];
        break;
    case GL_FOG_END:
        fogTo = v[0];
        break;
    case GL_FOG_COLOR:
        fogTint = {v[0], v[1], v[2], v[3]};
        break;
    default:
        unsupported("glFog", name);
        break;
    }
}

void context::polygonMode(unsigned face, unsigned fill) {
    if (face != GL_FRONT_AND_BACK || (fill != GL_LINE && fill != GL_FILL)) {
        unsupported("glPolygonMode", fill);
        return;
    }
    lines = fill == GL_LINE;
}

void context::shadeModel(unsigned shading) {
    if (shading != GL_FLAT && shading != GL_SMOOTH) {
        unsupported("glShadeModel", shading);
        return;
    }
    flat = shading == GL_FLAT;
}

} // namespace fixedgl
