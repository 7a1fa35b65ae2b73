#include "web/gl/primitives.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
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
    steps.push_back(
        {step::draw, trianglesBefore, triangleCount, edgesBefore, edgeCount, 0, std::nullopt});
}

void displayList::addBitmap(bitmapImage image) {
    bitmaps.push_back(std::move(image));
    steps.push_back({step::bitmap, 0, 0, 0, 0, bitmaps.size() - 1, std::nullopt});
}

namespace {

void include(box& b, const float* p, bool& empty) {
    for (int i = 0; i < 3; ++i) {
        b.low[i] = empty ? p[i] : std::min(b.low[i], p[i]);
        b.high[i] = empty ? p[i] : std::max(b.high[i], p[i]);
    }
    empty = false;
}

// The grid of pieces over a draw's box: its two widest axes cut into equal columns.
struct grid {
    box whole;
    int axes[2] = {0, 2};
    int cells = 1; // along each axis
    int cellOf(const mesh& m, const std::uint32_t* indices, std::size_t count) const {
        int at[2];
        for (int a = 0; a < 2; ++a) {
            const int axis = axes[a];
            float sum = 0;
            for (std::size_t i = 0; i < count; ++i) {
                sum += m.vertices[indices[i]].position[axis];
            }
            const float span = whole.high[axis] - whole.low[axis];
            const float t = span > 0 ? (sum / count - whole.low[axis]) / span : 0;
            at[a] = std::clamp(static_cast<int>(t * cells), 0, cells - 1);
        }
        return at[0] * cells + at[1];
    }
};

} // namespace

void displayList::partition(std::size_t trianglesPerPiece) {
    std::vector<step> cut;
    std::vector<std::uint32_t> triangles, edges;
    for (const step& s : steps) {
        step moved = s;
        if (s.what != step::draw || s.triangleCount / 3 <= trianglesPerPiece) {
            moved.triangleFirst = triangles.size();
            moved.edgeFirst = edges.size();
            triangles.insert(triangles.end(), geometry.triangles.begin() + s.triangleFirst,
                             geometry.triangles.begin() + s.triangleFirst + s.triangleCount);
            edges.insert(edges.end(), geometry.edges.begin() + s.edgeFirst,
                         geometry.edges.begin() + s.edgeFirst + s.edgeCount);
            cut.push_back(moved);
            continue;
        }
        grid g;
        bool empty = true;
        for (std::size_t i = 0; i < s.triangleCount; ++i) {
            include(g.whole, geometry.vertices[geometry.triangles[s.triangleFirst + i]].position,
                    empty);
        }
        int order[3] = {0, 1, 2};
        std::sort(order, order + 3, [&](int a, int b) {
            return g.whole.high[a] - g.whole.low[a] > g.whole.high[b] - g.whole.low[b];
        });
        g.axes[0] = order[0];
        g.axes[1] = order[1];
        g.cells = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(s.triangleCount / 3) /
                                                         trianglesPerPiece)));
        const int pieces = g.cells * g.cells;
        std::vector<std::vector<std::uint32_t>> pieceTriangles(pieces), pieceEdges(pieces);
        for (std::size_t i = s.triangleFirst; i < s.triangleFirst + s.triangleCount; i += 3) {
            auto& into = pieceTriangles[g.cellOf(geometry, &geometry.triangles[i], 3)];
            into.insert(into.end(), &geometry.triangles[i], &geometry.triangles[i] + 3);
        }
        for (std::size_t i = s.edgeFirst; i < s.edgeFirst + s.edgeCount; i += 2) {
            auto& into = pieceEdges[g.cellOf(geometry, &geometry.edges[i], 2)];
            into.insert(into.end(), &geometry.edges[i], &geometry.edges[i] + 2);
        }
        for (int p = 0; p < pieces; ++p) {
            box bounds;
            bool none = true;
            for (std::uint32_t v : pieceTriangles[p]) {
                include(bounds, geometry.vertices[v].position, none);
            }
            for (std::uint32_t v : pieceEdges[p]) {
                include(bounds, geometry.vertices[v].position, none);
            }
            if (none) {
                continue;
            }
            cut.push_back({step::draw, triangles.size(), pieceTriangles[p].size(), edges.size(),
                           pieceEdges[p].size(), 0, bounds});
            triangles.insert(triangles.end(), pieceTriangles[p].begin(), pieceTriangles[p].end());
            edges.insert(edges.end(), pieceEdges[p].begin(), pieceEdges[p].end());
        }
    }
    steps = std::move(cut);
    geometry.triangles = std::move(triangles);
    geometry.edges = std::move(edges);
}

bool mayBeInView(const box& b, const mat4& clipFromModel) {
    int outside[6] = {};
    for (int corner = 0; corner < 8; ++corner) {
        const vec4 p = clipFromModel * vec4{(corner & 1) ? b.high[0] : b.low[0],
                                            (corner & 2) ? b.high[1] : b.low[1],
                                            (corner & 4) ? b.high[2] : b.low[2], 1.0};
        for (int axis = 0; axis < 3; ++axis) {
            outside[axis * 2] += p[axis] < -p[3];
            outside[axis * 2 + 1] += p[axis] > p[3];
        }
    }
    return std::none_of(outside, outside + 6, [](int n) { return n == 8; });
}

} // namespace fixedgl
