// Building the collision map: grid dimensions and the distribution of level triangles to cells.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "CollisionMap.h"
#include "Geometry.h"
#include "Mesh.h"

namespace {
// Refuse grids beyond this many cells: a level a few hundred units across
// needs a few thousand; more means broken bounds or a silly cell size.
constexpr double MAX_CELLS = 1000000.0;
// The single-precision value nearest to one third.
constexpr double THIRD = 0.3333333432674408;

struct CellRange {
    int first = 0;
    int last = -1;  // inclusive; empty when last < first
};

// Cells along one axis whose centre, origin + (i + 0.5) * size, may lie in [low, high].
// One cell of slack each side; the exact test is made on the computed centre.
CellRange cellsCovering(double low, double high, double origin, double size, int count) {
    CellRange range;
    const double first = std::floor((low - origin) / size - 0.5) - 1.0;
    const double last = std::ceil((high - origin) / size - 0.5) + 1.0;
    if (!(first <= last)) return range;  // not-a-number bounds
    range.first = int(std::max(0.0, first));
    range.last = int(std::min(double(count - 1), last));
    return range;
}

float cellCentre(float origin, int index, float size) {
    return static_cast<float>(origin + (index + 0.5) * size);
}

Vec3 grow(Vec3 corner, float by) {
    return {corner.x + by, corner.y + by, corner.z + by};
}

// Bounds inclusive.
bool insideBox(Vec3 p, Vec3 low, Vec3 high) {
    return low.x <= p.x && p.x <= high.x && low.y <= p.y && p.y <= high.y && low.z <= p.z &&
           p.z <= high.z;
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
    reach.low = grow(low, -margin);
    reach.high = grow(high, margin);
    reach.bounded = true;
    return reach;
}
}  // namespace

bool CollisionMap::setDimensions(Vec3 boundsMin, Vec3 boundsMax) {
    const Vec3 extent = subtract(boundsMax, boundsMin);
    const double x = double(extent.x) / cellSize.x;
    const double y = double(extent.y) / cellSize.y;
    const double z = double(extent.z) / cellSize.z;
    // Also catches not-a-number extents and zero, negative or tiny cells.
    const bool sane = x >= 0.0 && y >= 0.0 && z >= 0.0 && x < MAX_CELLS && y < MAX_CELLS &&
                      z < MAX_CELLS && cellSize.x > 0.0f && cellSize.y > 0.0f && cellSize.z > 0.0f;
    if (!sane || (std::trunc(x) + 1) * (std::trunc(y) + 1) * (std::trunc(z) + 1) > MAX_CELLS) {
        std::fprintf(stderr,
                     "Collision map: level box (%g, %g, %g) with cells (%g, %g, %g) "
                     "gives no usable grid, no collisions built\n",
                     extent.x, extent.y, extent.z, cellSize.x, cellSize.y, cellSize.z);
        return false;
    }
    columns = int(x) + 1;
    rows = int(z) + 1;
    const int layers = int(y) + 1;
    layerSize = columns * rows;
    cellCount[0] = cellCount[1] = layers * layerSize;
    return true;
}

void CollisionMap::build(const Mesh& level, Vec3 boundsMin, Vec3 boundsMax) {
    gridOrigin[0] = boundsMin;
    gridOrigin[1] = subtract(boundsMin, scale(cellSize, 0.5f));
    maxCorner = boundsMax;
    if (!setDimensions(boundsMin, boundsMax)) {
        columns = rows = layerSize = 0;
        cellCount[0] = cellCount[1] = 0;
        return;
    }
    const float radius = static_cast<float>(double(length(cellSize)) * THIRD);
    fillGrid(ALIGNED_GRID, level, radius);
    fillGrid(OFFSET_GRID, level, radius);
}

// Every triangle goes into each cell whose centre sphere of the given radius it
// touches, provided the cell centre lies in its object's box grown by the
// radius. Walking triangles (objects and faces in file order) and visiting
// only the cells near each one gives every cell the same triangles, in the same
// order, as testing every triangle from every cell.
void CollisionMap::fillGrid(int grid, const Mesh& level, float radius) {
    cells[grid].reset(new CollisionCell[cellCount[grid]]);
    for (const MeshObject& object : level.objects) {
        const uint32_t vertexCount = static_cast<uint32_t>(object.vertices.size());
        for (int f = 0; f < object.faceCount(); ++f) {
            const uint32_t* face = &object.faces[size_t(f) * 3];
            // The reader drops bad indices; a mesh made elsewhere may not have.
            if (face[0] >= vertexCount || face[1] >= vertexCount || face[2] >= vertexCount) {
                continue;
            }
            const Vec3 triangle[3] = {object.vertices[face[0]], object.vertices[face[1]],
                                      object.vertices[face[2]]};
            fileTriangle(grid, object, triangle, radius);
        }
    }
}

void CollisionMap::fileTriangle(int grid, const MeshObject& object, const Vec3* triangle,
                                float radius) {
    const Vec3 o = gridOrigin[grid];
    const int layers = cellCount[grid] / layerSize;
    const TriangleReach reach = reachOf(triangle, radius);
    CellRange cx{0, columns - 1}, cy{0, layers - 1}, cz{0, rows - 1};
    if (reach.bounded) {
        cx = cellsCovering(reach.low.x, reach.high.x, o.x, cellSize.x, columns);
        cy = cellsCovering(reach.low.y, reach.high.y, o.y, cellSize.y, layers);
        cz = cellsCovering(reach.low.z, reach.high.z, o.z, cellSize.z, rows);
    }
    const Vec3 normal = triangleNormal(triangle[0], triangle[1], triangle[2]);
    for (int layer = cy.first; layer <= cy.last; ++layer) {
        for (int row = cz.first; row <= cz.last; ++row) {
            for (int column = cx.first; column <= cx.last; ++column) {
                const Vec3 centre{cellCentre(o.x, column, cellSize.x),
                                  cellCentre(o.y, layer, cellSize.y),
                                  cellCentre(o.z, row, cellSize.z)};
                if (!insideBox(centre, grow(object.boundsMin, -radius),
                               grow(object.boundsMax, radius)))
                    continue;
                if (reach.bounded && !insideBox(centre, reach.low, reach.high)) continue;
                if (!spherePolygonCollision(triangle, normal, centre, 3, radius)) continue;
                CollisionCell& cell = cells[grid][column + row * columns + layer * layerSize];
                cell.triangles.insert(cell.triangles.end(), triangle, triangle + 3);
                cell.normals.push_back(normal);
                ++cell.triangleCount;
            }
        }
    }
}
