// Collision map layout: grid dimensions, cell numbering, triangle distribution and refused grids.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "CollisionBudget.h"
#include "CollisionMap.h"
#include "Geometry.h"
#include "Mesh.h"

namespace {
// Adds an object holding the given triangles (three corners each).
void addObject(Mesh& mesh, const std::vector<Vec3>& corners) {
    MeshObject object;
    object.vertices = corners;
    for (uint32_t i = 0; i < corners.size(); ++i) object.faces.push_back(i);
    mesh.objects.push_back(object);
}

// The distribution rule taken literally: cell n asks every object and every face.
std::vector<Vec3> cellByCell(const CollisionMap& map, const Mesh& mesh, int grid, int n) {
    const float r = float(double(length(map.cellSize)) * 0.3333333432674408);
    const int column = n % map.columns, layer = n / map.layerSize, row = n / map.columns % map.rows;
    const Vec3 o = map.gridOrigin[grid], s = map.cellSize;
    const Vec3 c{float(o.x + (column + 0.5) * s.x), float(o.y + (layer + 0.5) * s.y),
                 float(o.z + (row + 0.5) * s.z)};
    std::vector<Vec3> out;
    for (const MeshObject& ob : mesh.objects) {
        const Vec3 lo = ob.boundsMin, hi = ob.boundsMax;
        if (!(lo.x - r <= c.x && c.x <= hi.x + r && lo.y - r <= c.y && c.y <= hi.y + r &&
              lo.z - r <= c.z && c.z <= hi.z + r))
            continue;
        for (size_t f = 0; f + 2 < ob.faces.size(); f += 3) {
            const Vec3 t[3] = {ob.vertices[ob.faces[f]], ob.vertices[ob.faces[f + 1]],
                               ob.vertices[ob.faces[f + 2]]};
            if (spherePolygonCollision(t, c, 3, r)) out.insert(out.end(), t, t + 3);
        }
    }
    return out;
}

void expectCellByCellDistribution(const CollisionMap& map, const Mesh& mesh) {
    for (int grid = 0; grid < 2; ++grid) {
        for (int n = 0; n < map.cellCount[grid]; ++n) {
            const std::vector<Vec3> expected = cellByCell(map, mesh, grid, n);
            const CollisionCell& cell = map.cells[grid][n];
            std::vector<Vec3> actual;
            for (int i = 0; i < cell.triangleCount; ++i) {
                const Vec3* corners = map.cellTriangle(cell, i).corners;
                actual.insert(actual.end(), corners, corners + 3);
            }
            ASSERT_EQ(actual.size(), expected.size()) << "grid " << grid << " cell " << n;
            for (size_t i = 0; i < actual.size(); ++i) {
                ASSERT_EQ(actual[i].x, expected[i].x);
                ASSERT_EQ(actual[i].y, expected[i].y);
                ASSERT_EQ(actual[i].z, expected[i].z);
            }
        }
    }
}

float randomIn(float low, float high) {
    return low + (high - low) * float(std::rand()) / float(RAND_MAX);
}
}  // namespace

TEST(CollisionMapBuild, DimensionsAndCellNumbers) {
    Mesh mesh;
    const Vec3 low{-50, -10, -30};
    addObject(mesh, {low, low, low, {50, 30, 30}, {50, 30, 30}, {50, 30, 30}});  // 100 x 40 x 60
    mesh.computeBounds();
    CollisionMap map({20, 20, 20}, mesh);
    EXPECT_EQ(map.columns, 6);
    EXPECT_EQ(map.rows, 4);
    EXPECT_EQ(map.cellCount[0], 72);
    EXPECT_EQ(map.cellCount[1], 72);
    EXPECT_EQ(map.cellNumber(map.locateCell(add(low, {25, 45, 5}), 0), 0), 49);
    EXPECT_EQ(map.cellNumber(map.locateCell(add(low, {15, 15, 15}), 1), 1), 1 + 6 + 24)
        << "offset grid";
    EXPECT_EQ(map.cellNumber(map.locateCell(add(low, {125, 5, 25}), 0), 0), 2 * 6)
        << "past the last column: column 0 of the next row";
    EXPECT_EQ(map.cellNumber(map.locateCell(add(low, {5, -15, 5}), 0), 0), 0)
        << "truncated toward zero";
    EXPECT_EQ(map.locateCell(add(low, {5, -25, 5}), 0), nullptr);
    EXPECT_EQ(map.locateCell({NAN, 0, 0}, 0), nullptr);
    EXPECT_EQ(map.locateCell({1e30f, 0, 0}, 0), nullptr);
}

TEST(CollisionMapBuild, TrianglesReachTheSameCellsInTheSameOrderAsCellByCell) {
    std::srand(7);
    Mesh mesh;
    for (int o = 0; o < 3; ++o) {
        std::vector<Vec3> corners = {{-150, -30, -150}, {150, 50, 150}, {150, 50, 150}};
        for (int t = 0; t < 40; ++t) {
            const float size = t % 10 == 0 ? 400.0f : randomIn(1, 60);  // some huge and thin
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
    mesh.objects[2].boundsMax = {0, 0, 0};  // a box smaller than its triangles: the box decides
    const CollisionMap built({17, 13, 23}, mesh);
    expectCellByCellDistribution(built, mesh);
    const CollisionFigures figures = collisionFigures(mesh, {17, 13, 23});
    EXPECT_EQ(figures.cellsPerGrid, built.cellCount[0]);
    EXPECT_EQ(figures.filings, int64_t(built.filings.size()));

    // Seen from 60 units beside the middle of a 40000-unit edge the angle sum is
    // within 1 % of a full turn: that cell gets the triangle although it is
    // farther than the radius.
    Mesh thin;
    const Vec3 low{-20000, -20, -100}, high{20000, 20, 100};
    addObject(thin, {low, low, low, {-20000, 0, 0}, {20000, 0, 0}, {0, 0, 1}, high, high, high});
    thin.computeBounds();
    CollisionMap map({20, 20, 20}, thin);
    ASSERT_NE(map.locateCell({0, 0, -60}, 1), nullptr);
    EXPECT_EQ(map.locateCell({0, 0, -60}, 1)->triangleCount, 1);
    expectCellByCellDistribution(map, thin);
}

TEST(CollisionMapBuild, UnusableBoxesGiveAnEmptyMap) {
    const Vec3 cases[][3] = {
        {{10, 0, 0}, {-10, 5, 5}, {20, 20, 20}},                    // negative extent
        {{NAN, 0, 0}, {10, 10, 10}, {20, 20, 20}},                  // not a number
        {{-1e9f, -1e9f, -1e9f}, {1e9f, 1e9f, 1e9f}, {20, 20, 20}},  // far too many cells
        {{0, 0, 0}, {10, 10, 10}, {0, 20, 20}},                     // zero cell edge
    };
    for (const auto& c : cases) {
        Mesh mesh;
        mesh.boundsMin = c[0];
        mesh.boundsMax = c[1];
        testing::internal::CaptureStderr();
        CollisionMap map(c[2], mesh, "box.3ds");
        EXPECT_NE(testing::internal::GetCapturedStderr().find("Collision map box.3ds: level box"),
                  std::string::npos);
        EXPECT_TRUE(map.empty());
        EXPECT_EQ(collisionFigures(mesh, c[2]).cellsPerGrid, 0);
        EXPECT_EQ(map.locateCell({0, 0, 0}, 0), nullptr);
    }
    testing::internal::CaptureStderr();
    CollisionMap missing(20, 20, 20, "no_such_level.3ds");
    const std::string err = testing::internal::GetCapturedStderr();
    if (missing.empty()) {
        EXPECT_NE(err.find("no_such_level.3ds"), std::string::npos);
    }
}

// The figure is a sum over triangles, so copies of one triangle show where the
// budget falls; a model over it is refused before anything is tested.
TEST(CollisionMapBuild, ModelsNeedingTooManyCellTestsAreRefused) {
    const std::vector<Vec3> floor = {{0, 0, 0}, {2000, 0, 0}, {0, 0, 2000}};
    Mesh one;
    addObject(one, floor);
    one.computeBounds();
    const int64_t perTriangle = collisionFigures(one, {20, 20, 20}).cellTests;
    const int64_t copies = MAX_COLLISION_CELL_TESTS / perTriangle + 1;
    ASSERT_GT(perTriangle * copies, MAX_COLLISION_CELL_TESTS);
    ASSERT_LE(perTriangle * (copies - 1), MAX_COLLISION_CELL_TESTS);

    Mesh many;
    std::vector<Vec3> corners;
    for (int64_t i = 0; i < copies; ++i) corners.insert(corners.end(), floor.begin(), floor.end());
    addObject(many, corners);
    many.computeBounds();
    testing::internal::CaptureStderr();
    CollisionMap map({20, 20, 20}, many, "floors.3ds");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Collision map floors.3ds: building needs " + std::to_string(perTriangle * copies) +
                  " triangle-in-cell tests, more than the 4000000 allowed; no collisions built\n");
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(map.locateCell({10, 0, 10}, 0), nullptr);
    EXPECT_EQ(collisionFigures(many, {20, 20, 20}).filings, -1);
}
