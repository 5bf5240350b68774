// Collision map layout: grid dimensions, cell numbering, triangle distribution and refused grids.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "CollisionMap.h"
#include "Geometry.h"
#include "Mesh.h"

namespace {
const Vec3 kCell{20, 20, 20};

// Adds an object holding the given triangles (three corners each) to the mesh.
void addObject(Mesh& mesh, const std::vector<Vec3>& corners) {
    MeshObject object;
    object.vertices = corners;
    for (uint32_t i = 0; i < corners.size(); ++i) object.faces.push_back(i);
    mesh.objects.push_back(object);
}

// A mesh whose bounds span exactly the given box (two tiny marker triangles at the corners).
void addBox(Mesh& mesh, Vec3 low, Vec3 high) {
    addObject(mesh, {low, low, low, high, high, high});
}

// The distribution as written down: every cell asks every object and face.
std::vector<Vec3> referenceTriangles(const CollisionMap& map, const Mesh& mesh, int grid, int n) {
    const float r = static_cast<float>(double(length(map.cellSize)) * 0.3333333432674408);
    const int column = n % map.columns, layer = n / map.layerSize,
              row = (n / map.columns) % map.rows;
    const Vec3 o = map.gridOrigin[grid];
    const Vec3 c{float(o.x + (column + 0.5) * map.cellSize.x),
                 float(o.y + (layer + 0.5) * map.cellSize.y),
                 float(o.z + (row + 0.5) * map.cellSize.z)};
    std::vector<Vec3> out;
    for (const MeshObject& object : mesh.objects) {
        if (object.faceCount() <= 0) continue;
        const Vec3 lo = object.boundsMin, hi = object.boundsMax;
        if (!(lo.x - r <= c.x && c.x <= hi.x + r && lo.y - r <= c.y && c.y <= hi.y + r &&
              lo.z - r <= c.z && c.z <= hi.z + r))
            continue;
        for (int f = 0; f < object.faceCount(); ++f) {
            const Vec3 t[3] = {object.vertices[object.faces[f * 3]],
                               object.vertices[object.faces[f * 3 + 1]],
                               object.vertices[object.faces[f * 3 + 2]]};
            if (spherePolygonCollision(t, c, 3, r)) out.insert(out.end(), t, t + 3);
        }
    }
    return out;
}

// Exact comparison: the build must copy the very same corners.
void expectSameTriangles(const std::vector<Vec3>& actual, const std::vector<Vec3>& expected,
                         const char* where, int n) {
    ASSERT_EQ(actual.size(), expected.size()) << where << " cell " << n;
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].x, expected[i].x);
        EXPECT_EQ(actual[i].y, expected[i].y);
        EXPECT_EQ(actual[i].z, expected[i].z);
    }
}

float randomIn(float low, float high) {
    return low + (high - low) * float(std::rand()) / float(RAND_MAX);
}
}  // namespace

TEST(CollisionMapBuild, DimensionsAndCellNumbers) {
    Mesh mesh;
    addBox(mesh, {-50, -10, -30}, {50, 30, 30});  // 100 x 40 x 60
    mesh.computeBounds();
    CollisionMap map(kCell, mesh);
    EXPECT_EQ(map.columns, 6);
    EXPECT_EQ(map.rows, 4);
    EXPECT_EQ(map.layerSize, 24);
    EXPECT_EQ(map.cellCount[0], 72);
    EXPECT_EQ(map.cellCount[1], 72);
    const Vec3 o = map.gridOrigin[0];
    EXPECT_EQ(map.cellNumber(map.locateCell(add(o, {25, 45, 5}), 0), 0), 49);
    EXPECT_FLOAT_EQ(map.gridOrigin[1].x, -60);
    // The offset grid starts half a cell earlier on every axis.
    EXPECT_EQ(map.cellNumber(map.locateCell(add(o, {15, 15, 15}), 0), 0), 0);
    EXPECT_EQ(map.cellNumber(map.locateCell(add(o, {15, 15, 15}), 1), 1), 1 + 1 * 6 + 1 * 24);
    // Past the last column: column 0 of the next row, same layer.
    EXPECT_EQ(map.cellNumber(map.locateCell(add(o, {125, 5, 25}), 0), 0), 0 + 2 * 6);
    // Less than a cell below the origin truncates to index 0; more is outside.
    EXPECT_EQ(map.cellNumber(map.locateCell(add(o, {5, -15, 5}), 0), 0), 0);
    EXPECT_EQ(map.locateCell(add(o, {5, -25, 5}), 0), nullptr);
    EXPECT_EQ(map.locateCell(add(o, {5, 75, 5}), 0), nullptr);
    EXPECT_EQ(map.locateCell({NAN, 0, 0}, 0), nullptr);
    EXPECT_EQ(map.locateCell({1e30f, 0, 0}, 0), nullptr);
}

TEST(CollisionMapBuild, FloorTriangleReachesOnlyCellsWhoseSphereItTouches) {
    Mesh mesh;
    addBox(mesh, {-100, -40, -100}, {100, 40, 100});
    addObject(mesh, {{-100, -12, -100},
                     {-100, -12, 100},
                     {100, -12, 100},
                     {-100, -12, -100},
                     {100, -12, 100},
                     {100, -12, -100}});
    mesh.computeBounds();
    CollisionMap map(kCell, mesh);
    // Grid 0 layer centres: -30, -10, 10, 30; r = 11.547 reaches the floor at -12
    // from -10 (distance 2) but not from -30 (18) or 10 (22).
    // The last column and row have their centres 10 beyond the floor's edge.
    for (int n = 0; n < map.cellCount[0]; ++n) {
        const CollisionCell& cell = map.cells[0][n];
        const int layer = n / map.layerSize, column = n % map.columns,
                  row = n / map.columns % map.rows;
        if (layer != 1) {
            EXPECT_EQ(cell.triangleCount, 0) << "cell " << n;
        } else if (column < 10 && row < 10) {
            EXPECT_GT(cell.triangleCount, 0) << "cell " << n;
        }
        EXPECT_EQ(cell.triangles.size(), size_t(cell.triangleCount) * 3);
    }
    // Each floor cell holds both floor halves, in face order.
    const CollisionCell& middle = map.cells[0][map.layerSize + 0];
    EXPECT_EQ(middle.triangleCount >= 1, true);
    EXPECT_FLOAT_EQ(middle.triangles[0].y, -12);
}

TEST(CollisionMapBuild, CellsOutsideTheObjectBoxGetNoTriangles) {
    Mesh mesh;
    addBox(mesh, {-100, -40, -100}, {100, 40, 100});
    addObject(mesh, {{-100, 0, -100}, {-100, 0, 100}, {100, 0, 0}});
    mesh.computeBounds();
    // A box that does not match the vertices: the box decides first.
    mesh.objects[1].boundsMin = {60, -1, 60};
    mesh.objects[1].boundsMax = {100, 1, 100};
    CollisionMap map(kCell, mesh);
    for (int grid = 0; grid < 2; ++grid) {
        for (int n = 0; n < map.cellCount[grid]; ++n) {
            expectSameTriangles(map.cells[grid][n].triangles,
                                referenceTriangles(map, mesh, grid, n),
                                grid == 0 ? "aligned" : "offset", n);
        }
    }
}

TEST(CollisionMapBuild, DistributionMatchesTheCellByCellRule) {
    std::srand(7);
    Mesh mesh;
    addBox(mesh, {-150, -30, -150}, {150, 50, 150});
    for (int o = 0; o < 4; ++o) {
        std::vector<Vec3> corners;
        for (int t = 0; t < 60; ++t) {
            const float size = (t % 10 == 0) ? 400.0f : randomIn(1, 60);  // some huge and thin
            const Vec3 base{randomIn(-150, 150), randomIn(-30, 50), randomIn(-150, 150)};
            corners.push_back(base);
            corners.push_back(
                add(base, {randomIn(-size, size), randomIn(-5, 5), randomIn(-size, size)}));
            corners.push_back(t % 15 == 1 ? base
                                          : add(base, {randomIn(-size, size), 0, randomIn(-2, 2)}));
        }
        addObject(mesh, corners);
    }
    mesh.computeBounds();
    CollisionMap map({17, 13, 23}, mesh);
    int filed = 0;
    for (int grid = 0; grid < 2; ++grid) {
        for (int n = 0; n < map.cellCount[grid]; ++n) {
            expectSameTriangles(map.cells[grid][n].triangles,
                                referenceTriangles(map, mesh, grid, n),
                                grid == 0 ? "aligned" : "offset", n);
            filed += map.cells[grid][n].triangleCount;
        }
    }
    EXPECT_GT(filed, 0);
}

TEST(CollisionMapBuild, HugeThinTriangleReachesCellsTheAngleSumCountsInside) {
    // Seen from 60 units beside the middle of a 40000-unit edge the angle sum is
    // within 1 % of a full turn: cells there get the triangle although their
    // centre is farther than the radius from it (the object's box, spanning the
    // level, lets the cell through).
    Mesh mesh;
    const Vec3 low{-20000, -20, -100}, high{20000, 20, 100};
    addObject(mesh, {low, low, low, {-20000, 0, 0}, {20000, 0, 0}, {0, 0, 1}, high, high, high});
    mesh.computeBounds();
    CollisionMap map(kCell, mesh);
    const CollisionCell* beside = map.locateCell({0, 0, -60}, 1);
    ASSERT_NE(beside, nullptr);
    EXPECT_EQ(beside->triangleCount, 1);
    for (int grid = 0; grid < 2; ++grid) {
        for (int n = 0; n < map.cellCount[grid]; ++n) {
            expectSameTriangles(map.cells[grid][n].triangles,
                                referenceTriangles(map, mesh, grid, n),
                                grid == 0 ? "aligned" : "offset", n);
        }
    }
}

TEST(CollisionMapBuild, FacesWithBadIndicesAreSkipped) {
    Mesh mesh;
    addBox(mesh, {-20, -20, -20}, {20, 20, 20});
    mesh.objects[0].faces = {0, 1, 99, 3, 4, 5};
    mesh.computeBounds();
    CollisionMap map(kCell, mesh);
    EXPECT_EQ(map.cellCount[0], 27);  // built, the bad face simply ignored
}

TEST(CollisionMapBuild, UnusableBoxesGiveAnEmptyMap) {
    struct Case {
        Vec3 low, high, cell;
    };
    const Case cases[] = {
        {{10, 0, 0}, {-10, 5, 5}, kCell},                    // negative extent
        {{NAN, 0, 0}, {10, 10, 10}, kCell},                  // not a number
        {{-1e9f, -1e9f, -1e9f}, {1e9f, 1e9f, 1e9f}, kCell},  // far too many cells
        {{0, 0, 0}, {10, 10, 10}, {0, 20, 20}},              // zero cell edge
    };
    for (const Case& c : cases) {
        Mesh mesh;
        mesh.boundsMin = c.low;
        mesh.boundsMax = c.high;
        testing::internal::CaptureStderr();
        CollisionMap map(c.cell, mesh);
        EXPECT_NE(testing::internal::GetCapturedStderr(), "");
        EXPECT_TRUE(map.empty());
        EXPECT_EQ(map.cellCount[0], 0);
        EXPECT_EQ(map.locateCell({0, 0, 0}, 0), nullptr);
    }
}

TEST(CollisionMapBuild, MissingLevelModelGivesAnEmptyMapWithAMessage) {
    testing::internal::CaptureStderr();
    CollisionMap map(20, 20, 20, "no_such_level.3ds");
    const std::string err = testing::internal::GetCapturedStderr();
    if (map.empty()) {
        EXPECT_NE(err.find("no_such_level.3ds"), std::string::npos);
    } else {
        // A store that turns a missing file into an empty loaded mesh gives a
        // single-cell grid at the origin with no triangles.
        EXPECT_EQ(map.cells[0][0].triangleCount, 0);
    }
}
