#include "web/gl/primitives.h"

#include <GL/gl.h>

#include <utility>

namespace fixedgl {

namespace {

using index = std::uint32_t;

void triangle(mesh& m, index base, std::size_t a, std::size_t b, std::size_t c) {
    m.triangles.insert(
        m.triangles.end(),
        {static_cast<index>(base + a), static_cast<index>(base + b), static_cast<index>(base + c)});
}

// The closed outline through the given corners, in order.
void outline(mesh& m, index base, std::initializer_list<std::size_t> corners) {
    const std::size_t* first = corners.begin();
    for (const std::size_t* at = first; at != corners.end(); ++at) {
        const std::size_t next = (at + 1 == corners.end()) ? *first : *(at + 1);
        m.edges.insert(m.edges.end(),
                       {static_cast<index>(base + *at), static_cast<index>(base + next)});
    }
}

} // namespace

bool assembler::supports(unsigned mode) {
    switch (mode) {
    case GL_TRIANGLES:
    case GL_TRIANGLE_STRIP:
    case GL_TRIANGLE_FAN:
    case GL_QUADS:
    case GL_QUAD_STRIP:
    case GL_POLYGON:
        return true;
    default:
        return false;
    }
}

void assembler::begin(unsigned primitive) {
    mode = primitive;
    pending.clear();
}

void assembler::end(mesh& m) {
    const auto base = static_cast<index>(m.vertices.size());
    const std::size_t n = pending.size();
    m.vertices.insert(m.vertices.end(), pending.begin(), pending.end());
    switch (mode) {
    case GL_TRIANGLES:
        for (std::size_t i = 0; i + 3 <= n; i += 3) {
            triangle(m, base, i, i + 1, i + 2);
            outline(m, base, {i, i + 1, i + 2});
        }
        break;
    case GL_TRIANGLE_STRIP:
        // Every other triangle is swapped to keep the strip's winding.
        for (std::size_t i = 0; i + 3 <= n; ++i) {
            if (i % 2 == 0) {
                triangle(m, base, i, i + 1, i + 2);
            } else {
                triangle(m, base, i + 1, i, i + 2);
            }
            outline(m, base, {i, i + 1, i + 2});
        }
        break;
    case GL_TRIANGLE_FAN:
        for (std::size_t i = 1; i + 2 <= n; ++i) {
            triangle(m, base, 0, i, i + 1);
            outline(m, base, {0, i, i + 1});
        }
        break;
    case GL_QUADS:
        for (std::size_t i = 0; i + 4 <= n; i += 4) {
            triangle(m, base, i, i + 1, i + 3);
            triangle(m, base, i + 1, i + 2, i + 3);
            outline(m, base, {i, i + 1, i + 2, i + 3});
        }
        break;
    case GL_QUAD_STRIP:
        // Quad i runs 2i, 2i+1, 2i+3, 2i+2 and takes its flat colour from 2i+3.
        for (std::size_t i = 0; i + 4 <= n; i += 2) {
            triangle(m, base, i, i + 1, i + 3);
            triangle(m, base, i + 2, i, i + 3);
            outline(m, base, {i, i + 1, i + 3, i + 2});
        }
        break;
    case GL_POLYGON:
        // A fan whose triangles end on the first vertex, the polygon's provoking one.
        for (std::size_t i = 1; i + 2 <= n; ++i) {
            triangle(m, base, i, i + 1, 0);
        }
        if (n >= 3) {
            for (std::size_t i = 0; i < n; ++i) {
                m.edges.insert(m.edges.end(), {static_cast<index>(base + i),
                                               static_cast<index>(base + (i + 1) % n)});
            }
        }
        break;
    default:
        break;
    }
    pending.clear();
}

std::vector<std::uint8_t> unpackBitmap(int width, int height, int alignment,
                                       const std::uint8_t* rows) {
    const int rowBytes = (width + 7) / 8;
    const int stride = (rowBytes + alignment - 1) / alignment * alignment;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t byte = rows[y * stride + x / 8];
            if (byte & (0x80 >> (x % 8))) {
                out[static_cast<std::size_t>(y) * width + x] = 255;
            }
        }
    }
    return out;
}

void displayList::closeDraw(std::size_t trianglesBefore, std::size_t edgesBefore) {
    const std::size_t triangleCount = geometry.triangles.size() - trianglesBefore;
    const std::size_t edgeCount = geometry.edges.size() - edgesBefore;
    if (!steps.empty() && steps.back().what == step::draw) {
        steps.back().triangleCount += triangleCount;
        steps.back().edgeCount += edgeCount;
        return;
    }
    steps.push_back({step::draw, trianglesBefore, triangleCount, edgesBefore, edgeCount, 0});
}

void displayList::addBitmap(bitmapImage image) {
    bitmaps.push_back(std::move(image));
    steps.push_back({step::bitmap, 0, 0, 0, 0, bitmaps.size() - 1});
}

} // namespace fixedgl
