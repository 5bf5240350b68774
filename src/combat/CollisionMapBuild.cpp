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

bool insideGrownBox(Vec3 p, Vec3 low, Vec3 high, float grow) {
    return low.x - grow <= p.x && p.x <= high.x + grow && low.y - grow <= p.y &&
           p.y <= high.y + grow && low.z - grow <= p.z && p.z <= high.z + grow;
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
    const Vec3 o = gridOrigin[grid];
    const int layers = cellCount[grid] / layerSize;
    for (const MeshObject& object : level.objects) {
        if (object.faceCount() <= 0) continue;
        const uint32_t vertexCount = static_cast<uint32_t>(object.vertices.size());
        for (int f = 0; f < object.faceCount(); ++f) {
            const uint32_t* face = &object.faces[size_t(f) * 3];
            // The reader drops bad indices; a mesh made elsewhere may not have.
            if (face[0] >= vertexCount || face[1] >= vertexCount || face[2] >= vertexCount) {
                continue;
            }
            const Vec3 triangle[3] = {object.vertices[face[0]], object.vertices[face[1]],
                                      object.vertices[face[2]]};
            Vec3 low = triangle[0], high = triangle[0];
            for (const Vec3& corner : triangle) {
                low = {std::min(low.x, corner.x), std::min(low.y, corner.y),
                       std::min(low.z, corner.z)};
                high = {std::max(high.x, corner.x), std::max(high.y, corner.y),
                        std::max(high.z, corner.z)};
            }
            // A point seen inside by the 0.99-turn angle sum may lie up to
            // 0.8 % of an edge outside the triangle; 1 % of the diagonal covers it.
            const double grow = radius * 1.001 + 0.01 * distance(low, high) + 1e-3;
            const Vec3 normal = triangleNormal(triangle[0], triangle[1], triangle[2]);
            CellRange cx{0, columns - 1}, cy{0, layers - 1}, cz{0, rows - 1};
            const bool finite = std::isfinite(grow);
            if (finite) {
                cx = cellsCovering(low.x - grow, high.x + grow, o.x, cellSize.x, columns);
                cy = cellsCovering(low.y - grow, high.y + grow, o.y, cellSize.y, layers);
                cz = cellsCovering(low.z - grow, high.z + grow, o.z, cellSize.z, rows);
            }
            for (int layer = cy.first; layer <= cy.last; ++layer) {
                for (int row = cz.first; row <= cz.last; ++row) {
                    for (int column = cx.first; column <= cx.last; ++column) {
                        const Vec3 centre{cellCentre(o.x, column, cellSize.x),
                                          cellCentre(o.y, layer, cellSize.y),
                                          cellCentre(o.z, row, cellSize.z)};
                        if (!insideGrownBox(centre, object.boundsMin, object.boundsMax, radius))
                            continue;
                        if (finite && !insideGrownBox(centre, low, high, float(grow))) continue;
                        if (!spherePolygonCollision(triangle, normal, centre, 3, radius)) continue;
                        CollisionCell& cell =
                            cells[grid][column + row * columns + layer * layerSize];
                        cell.triangles.insert(cell.triangles.end(), triangle, triangle + 3);
                        cell.normals.push_back(normal);
                        ++cell.triangleCount;
                    }
                }
            }
        }
    }
}
