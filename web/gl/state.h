#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "web/gl/matrix.h"
#include "web/gl/primitives.h"
#include "web/gl/shading.h"

// The fixed-function state of OpenGL 1.1 that the game uses, kept on the CPU: the switches,
// the matrix stacks, the current vertex attributes, light 0, fog, the raster position, the
// display lists and the attribute stack. Its methods are the game's calls without the gl
// prefix; what they draw goes to a drawTarget (WebGL 2 in the browser, a recorder in tests).
namespace fixedgl {

class context;

class drawTarget {
  public:
    virtual ~drawTarget() = default;
    // Geometry made since the last call, drawn once as the state stands.
    virtual void drawImmediate(const mesh& geometry, const context& state) = 0;
    // A list as glEndList leaves it, then one of its draw steps when it is called.
    virtual void listCompiled(unsigned name, const displayList& list) = 0;
    virtual void drawListStep(unsigned name, const displayList::step& step,
                              const context& state) = 0;
    // The image in window pixels with its origin at the raster position.
    virtual void drawBitmap(const bitmapImage& image, const context& state) = 0;
};

// Reports a call, or a value of one, that the browser's OpenGL does not implement: on the
// console always, and a debug build stops there, so a new call in the game is noticed.
void unsupported(const char* call, unsigned value);

struct viewportBox {
    int x = 0, y = 0, width = 0, height = 0;
};

struct rasterPosition {
    double x = 0, y = 0; // window pixels from the bottom left
    colour tint{1, 1, 1, 1};
    bool valid = true;
};

// Enables the game switches, in one bit each.
enum class cap : unsigned {
    lighting,
    light0,
    fog,
    texture2d,
    blend,
    depthTest,
    normalize,
    colourMaterial,
    lineSmooth,
    count
};
std::optional<cap> capOf(unsigned glCap);

class context {
  public:
    explicit context(drawTarget& target) : target(&target) {}

    void enable(unsigned glCap, bool on);
    bool enabled(cap which) const { return (switches >> static_cast<unsigned>(which)) & 1u; }

    void matrixMode(unsigned mode);
    void loadIdentity();
    void multiply(const mat4& by); // glMultMatrix, glTranslate, glRotate, glOrtho, GLU
    void pushMatrix();
    void popMatrix();
    const mat4& modelview() const { return modelviewStack.back(); }
    const mat4& projection() const { return projectionStack.back(); }

    void begin(unsigned mode);
    void end();
    void setColour(const colour& c);
    void setNormal(float x, float y, float z);
    void setTexCoord(float s, float t);
    void addVertex(float x, float y, float z);
    const colour& currentColour() const { return current.tint; }

    unsigned genLists(int range);
    void newList(unsigned name, unsigned mode);
    void endList();
    void callList(unsigned name);
    void callLists(int n, unsigned type, const void* lists);
    void listBase(unsigned base);
    unsigned currentListBase() const { return base; }

    void pushAttrib(unsigned mask);
    void popAttrib();

    void rasterPos(double x, double y);
    void bitmap(int width, int height, float xOrigin, float yOrigin, float xMove, float yMove,
                const std::uint8_t* rows);
    const rasterPosition& raster() const { return rasterPos_; }
    void pixelStore(unsigned name, int value);

    void light(unsigned lightName, unsigned name, const float* values);
    void lightModel(unsigned name, const float* values);
    void colourMaterial(unsigned face, unsigned mode);
    const lightState& lightZero() const { return light0; }
    // The material the lit vertices take: the vertex colour under colour material.
    material surface(const colour& vertexColour) const;

    void fogMode(int mode);
    void fogValue(unsigned name, const float* values);
    float fogStart() const { return fogFrom; }
    float fogEnd() const { return fogTo; }
    const colour& fogColour() const { return fogTint; }

    void polygonMode(unsigned face, unsigned mode);
    bool wireframe() const { return lines; }
    void shadeModel(unsigned mode);
    bool flatShading() const { return flat; }
    void viewport(int x, int y, int width, int height) { view = {x, y, width, height}; }
    const viewportBox& viewportArea() const { return view; }

  private:
    std::vector<mat4>& stack();
    // Calls that are not recorded into lists must come outside them.
    bool outsideList(const char* call);

    drawTarget* target;
    unsigned switches = 0;
    unsigned mode = 0x1700; // GL_MODELVIEW
    std::vector<mat4> modelviewStack{identity()};
    std::vector<mat4> projectionStack{identity()};
    struct {
        colour tint{1, 1, 1, 1};
        std::array<float, 3> normal{0, 0, 1};
        std::array<float, 2> texCoord{0, 0};
    } current;
    bool inside = false; // between begin and end
    assembler primitive;
    mesh immediate;
    std::map<unsigned, displayList> lists;
    unsigned nextList = 1;
    std::optional<unsigned> recording;
    displayList building;
    std::size_t buildTriangles = 0, buildEdges = 0;
    unsigned base = 0;
    struct saved {
        unsigned mask;
        unsigned switches;
        unsigned base;
    };
    std::vector<saved> attribStack;
    rasterPosition rasterPos_;
    int unpackAlignment = 4;
    lightState light0;
    material plain;
    float fogFrom = 0.0f, fogTo = 1.0f;
    colour fogTint{0, 0, 0, 0};
    bool lines = false;
    bool flat = false;
    viewportBox view;
};

} // namespace fixedgl
