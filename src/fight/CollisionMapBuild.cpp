// Building the collision map: grid dimensions, the build's budget and the filing of level
// triangles in cells.
#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "CollisionBudget.h"
#include "CollisionMap.h"
#include "Geometry.h"
#include "MeshData.h"

namespace {
// The single-precision value nearest to one third.
constexpr double THIRD = 0.3333333432674408;

// Cell counts along x (columns), z (rows) and y (layers).
struct GridShape {
    int columns, rows, layers;
};

// The grid over a level box, or false when the box is not a number, the cell
// edges are not positive or the grid would exceed the cell budget.
bool gridShape(Vec3 boundsMin, Vec3 boundsMax, Vec3 cellSize, GridShape& shape) {
    const Vec3 extent = subtract(boundsMax, boundsMin);
    const double x = double(extent.x) / cellSize.x;
    const double y = double(extent.y) / cellSize.y;
    const double z = double(extent.z) / cellSize.z;
    const double most = double(MAX_COLLISION_CELLS);
    const bool sane = x >= 0.0 && y >= 0.0 && z >= 0.0 && x < most && y < most && z < most &&
                      cellSize.x > 0.0f && cellSize.y > 0.0f && cellSize.z > 0.0f;
    if (!sane || (std::trunc(x) + 1) * (std::trunc(y) + 1) * (std::trunc(z) + 1) > most)
        return false;
    shape = {int(x) + 1, int(z) + 1, int(y) + 1};
    return true;
}

float testRadius(Vec3 cellSize) {
    return static_cast<float>(double(length(cellSize)) * THIRD);
}

// Indices first to last, inclusive; empty when last < first.
struct Span {
    int first = 0;
    int last = -1;
    int64_t count() const { return last < first ? 0 : int64_t(last) - first + 1; }
};

float cellCentre(float origin, int index, float size) {
    return static_cast<float>(origin + (index + 0.5) * size);
}

// The cells along one axis whose centre c has low <= c <= high. The estimate
// has a cell of slack each side; the ends are then trimmed on the computed
// centres, which grow with the index, so the result is exact.
Span axisCells(float low, float high, float origin, float size, int count) {
    Span span;
    if (!(low <= high)) return span;  // empty, or not a number
    const double first = std::floor((double(low) - origin) / size - 0.5) - 1.0;
    const double last = std::ceil((double(high) - origin) / size - 0.5) + 1.0;
    span.first = int(std::max(0.0, first));
    span.last = int(std::min(double(count - 1), last));
    const auto inside = [&](int i) {
        const float c = cellCentre(origin, i, size);
        return low <= c && c <= high;
    };
    while (span.first <= span.last && !inside(span.first)) ++span.first;
    while (span.last >= span.first && !inside(span.last)) --span.last;
    return span;
}

// The box outside which no cell centre can see a triangle: the triangle's box
// grown by the radius plus the angle-sum slack (a point the 0.99-turn sum counts
// inside lies at most 0.8 % of an edge outside the triangle; 1 % of the box
// diagonal covers it). Not bounded when a corner is not finite.
struct TriangleReach {
    Vec3 low, high;
    bool bounded = false;
};

TriangleReach reachOf(const Vec3* triangle, float radius) {
    TriangleReach reach;
    for (int i = 0; i < 3; ++i) {
        const Vec3 c = triangle[i];
        if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.z)) return reach;
    }
    Vec3 low = triangle[0], high = triangle[0];
    for (int i = 1; i < 3; ++i) {
        const Vec3 c = triangle[i];
        low = {std::min(low.x, c.x), std::min(low.y, c.y), std::min(low.z, c.z)};
        high = {std::max(high.x, c.x), std::max(high.y, c.y), std::max(high.z, c.z)};
    }
    const float margin = static_cast<float>(radius * 1.001 + 0.01 * distance(low, high) + 1e-3);
    if (!std::isfinite(margin)) return reach;
    reach.low = {low.x - margin, low.y - margin, low.z - margin};
    reach.high = {high.x + margin, high.y + margin, high.z + margin};
    reach.bounded = true;
    return reach;
}

// One grid's placement: the cells of the shape from origin on.
struct GridPlace {
    Vec3 origin;
    Vec3 cellSize;
    GridShape shape{};
};

GridPlace placeOf(const CollisionMap& map, int grid) {
    const GridShape shape{map.columns, map.rows, map.cellCount[grid] / map.layerSize};
    return {map.gridOrigin[grid], map.cellSize, shape};
}

// The cells a triangle is tested against: those whose centre lies inside its
// object's box grown by the radius (bounds inclusive) and inside its reach.
struct Candidates {
    Span x, y, z;
    int64_t count() const { return x.count() * y.count() * z.count(); }
};

Candidates candidatesOf(const GridPlace& g, const MeshObject& object, const Vec3* triangle,
                        float radius) {
    Vec3 low{object.boundsMin.x - radius, object.boundsMin.y - radius, object.boundsMin.z - radius};
    Vec3 high{object.boundsMax.x + radius, object.boundsMax.y + radius,
              object.boundsMax.z + radius};
    const TriangleReach reach = reachOf(triangle, radius);
    if (reach.bounded) {
        // The object's bound first: std::max and std::min return their first
        // argument when it is not a number, and such a box holds no cell.
        low = {std::max(low.x, reach.low.x), std::max(low.y, reach.low.y),
               std::max(low.z, reach.low.z)};
        high = {std::min(high.x, reach.high.x), std::min(high.y, reach.high.y),
                std::min(high.z, reach.high.z)};
    }
    const Vec3 o = g.origin, s = g.cellSize;
    return {axisCells(low.x, high.x, o.x, s.x, g.shape.columns),
            axisCells(low.y, high.y, o.y, s.y, g.shape.layers),
            axisCells(low.z, high.z, o.z, s.z, g.shape.rows)};
}

// Calls visit(object, corners) for every face of the mesh in file order; faces
// pointing past their object's vertices (the reader drops them, a mesh made
// elsewhere may not have) are left out.
template <typename Visit>
void forEachTriangle(const MeshData& level, Visit visit) {
    for (const MeshObject& object : level.objects) {
        const uint32_t vertexCount = static_cast<uint32_t>(object.vertices.size());
        for (int f = 0; f < object.faceCount(); ++f) {
            const uint32_t* face = &object.faces[size_t(f) * 3];
            if (face[0] >= vertexCount || face[1] >= vertexCount || face[2] >= vertexCount)
                continue;
            const Vec3 corners[3] = {object.vertices[face[0]], object.vertices[face[1]],
                                     object.vertices[face[2]]};
            visit(object, corners);
        }
    }
}

// The tests of the build in both grids: a product of cell spans per triangle,
// counted without testing anything.
int64_t countCellTests(const MeshData& level, const GridPlace (&grids)[GRID_COUNT], float radius) {
    int64_t tests = 0;
    forEachTriangle(level, [&](const MeshObject& object, const Vec3* corners) {
        for (const GridPlace& g : grids) tests += candidatesOf(g, object, corners, radius).count();
    });
    return tests;
}

// Calls hit(cell number) for every cell of the grid whose centre sphere the
// triangle touches, cell numbers rising.
template <typename Hit>
void forEachTouchedCell(const GridPlace& g, const MeshObject& object, const Vec3* corners,
                        Vec3 normal, float radius, Hit hit) {
    const Candidates c = candidatesOf(g, object, corners, radius);
    const Vec3 o = g.origin, s = g.cellSize;
    const int layerSize = g.shape.columns * g.shape.rows;
    for (int layer = c.y.first; layer <= c.y.last; ++layer) {
        for (int row = c.z.first; row <= c.z.last; ++row) {
            for (int column = c.x.first; column <= c.x.last; ++column) {
                const Vec3 centre{cellCentre(o.x, column, s.x), cellCentre(o.y, layer, s.y),
                                  cellCentre(o.z, row, s.z)};
                if (spherePolygonCollision(corners, normal, centre, 3, radius))
                    hit(column + row * g.shape.columns + layer * layerSize);
            }
        }
    }
}

}  // namespace

CollisionFigures collisionFigures(const MeshData& level, Vec3 cellSize) {
    CollisionFigures figures;
    GridShape shape{};
    if (!gridShape(level.boundsMin, level.boundsMax, cellSize, shape)) return figures;
    figures.cellsPerGrid = int64_t(shape.columns) * shape.rows * shape.layers;
    const GridPlace grids[GRID_COUNT] = {
        {level.boundsMin, cellSize, shape},
        {subtract(level.boundsMin, scale(cellSize, 0.5f)), cellSize, shape}};
    const float radius = testRadius(cellSize);
    figures.cellTests = countCellTests(level, grids, radius);
    if (figures.cellTests > MAX_COLLISION_CELL_TESTS) return figures;
    figures.filings = 0;
    forEachTriangle(level, [&](const MeshObject& object, const Vec3* corners) {
        const Vec3 normal = triangleNormal(corners[0], corners[1], corners[2]);
        for (const GridPlace& g : grids)
            forEachTouchedCell(g, object, corners, normal, radius, [&](int) { ++figures.filings; });
    });
    return figures;
}

bool CollisionMap::setDimensions(Vec3 boundsMin, Vec3 boundsMax, const char* name) {
    GridShape shape{};
    if (!gridShape(boundsMin, boundsMax, cellSize, shape)) {
        const Vec3 extent = subtract(boundsMax, boundsMin);
        std::fprintf(stderr,
                     "Collision map %s: level box (%g, %g, %g) with cells (%g, %g, %g) "
                     "gives no usable grid, no collisions built\n",
                     name, extent.x, extent.y, extent.z, cellSize.x, cellSize.y, cellSize.z);
        return false;
    }
    columns = shape.columns;
    rows = shape.rows;
    layerSize = columns * rows;
    cellCount[0] = cellCount[1] = shape.layers * layerSize;
    return true;
}

void CollisionMap::build(const MeshData& level, Vec3 boundsMin, Vec3 boundsMax, const char* name) {
    gridOrigin[0] = boundsMin;
    gridOrigin[1] = subtract(boundsMin, scale(cellSize, 0.5f));
    maxCorner = boundsMax;
    if (!setDimensions(boundsMin, boundsMax, name)) return;  // no cells, no grid
    const float radius = testRadius(cellSize);
    const GridPlace grids[GRID_COUNT] = {placeOf(*this, ALIGNED_GRID), placeOf(*this, OFFSET_GRID)};
    // Refused before anything is tested or stored: a few kilobytes of huge
    // triangles would otherwise cost minutes and gigabytes.
    const int64_t tests = countCellTests(level, grids, radius);
    if (tests > MAX_COLLISION_CELL_TESTS) {
        std::fprintf(stderr,
                     "Collision map %s: building needs %" PRId64
                     " triangle-in-cell tests, more than the %" PRId64
                     " allowed; no collisions built\n",
                     name, tests, MAX_COLLISION_CELL_TESTS);
        columns = rows = layerSize = 0;
        cellCount[0] = cellCount[1] = 0;
        return;
    }
    forEachTriangle(level, [&](const MeshObject&, const Vec3* corners) {
        triangles.push_back({{corners[0], corners[1], corners[2]},
                             triangleNormal(corners[0], corners[1], corners[2])});
    });
    fillGrid(ALIGNED_GRID, level, radius);
    fillGrid(OFFSET_GRID, level, radius);
}

// Every triangle goes into each cell whose centre sphere of the given radius it
// touches, provided the cell centre lies in its object's box grown by the
// radius. Walking triangles in file order and visiting only the cells near
// each one gives every cell the same triangles, in the same order, as testing
// every triangle from every cell. The hits are gathered first, then laid out
// cell after cell in the filings, so each cell's triangles lie together.
void CollisionMap::fillGrid(int grid, const MeshData& level, float radius) {
    const GridPlace g = placeOf(*this, grid);
    CollisionCell* gridCells = new CollisionCell[cellCount[grid]];
    cells[grid].reset(gridCells);
    std::vector<uint32_t> hitCells;    // cell numbers, triangle after triangle
    std::vector<size_t> triangleEnds;  // end of each triangle's hits in hitCells
    triangleEnds.reserve(triangles.size());
    size_t t = 0;
    forEachTriangle(level, [&](const MeshObject& object, const Vec3* corners) {
        forEachTouchedCell(g, object, corners, triangles[t].normal, radius, [&](int n) {
            hitCells.push_back(uint32_t(n));
            ++gridCells[n].triangleCount;
        });
        triangleEnds.push_back(hitCells.size());
        ++t;
    });
    uint32_t next = static_cast<uint32_t>(filings.size());
    for (int n = 0; n < cellCount[grid]; ++n) {
        gridCells[n].firstFiling = next;
        next += static_cast<uint32_t>(gridCells[n].triangleCount);
        gridCells[n].triangleCount = 0;  // counts again as the filings are laid out
    }
    filings.resize(next);
    size_t hit = 0;
    for (size_t triangle = 0; triangle < triangleEnds.size(); ++triangle) {
        for (; hit < triangleEnds[triangle]; ++hit) {
            CollisionCell& cell = gridCells[hitCells[hit]];
            filings[cell.firstFiling + uint32_t(cell.triangleCount++)] = uint32_t(triangle);
        }
    }
}
