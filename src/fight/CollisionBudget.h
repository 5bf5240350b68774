// Load budgets of the collision map build, and the figures of a level model checked against them.
#pragma once

#include <cstdint>

#include "Vec3.h"

struct MeshData;

// Cells per grid. A level a few hundred units across needs a few thousand
// cells of 20 units; more than this means broken bounds (a stray vertex) or a
// silly cell size. Each cell costs about 40 bytes in each of the two grids.
constexpr int64_t MAX_COLLISION_CELLS = 1000000;
// Triangle-in-cell tests of the build, both grids together: every level
// triangle is tested against the cells whose centre lies in its box grown by
// the test radius (about 11.5 units for 20-unit cells, plus a hundredth of the
// triangle's size). A test takes up to a quarter of a microsecond, and a
// triangle is filed (4 bytes) in at most the cells it is tested against, so
// this holds the build to about a second and 32 MB. The default maps need
// under 8,000; a terrain of 100,000 triangles 3 to 10 units across, 0.4 to
// 1.2 million.
constexpr int64_t MAX_COLLISION_CELL_TESTS = 4000000;

struct CollisionFigures {
    int64_t cellsPerGrid = 0;  // 0 when the level box gives no usable grid
    int64_t cellTests = 0;     // 0 without a grid
    int64_t filings = -1;      // triangles filed in cells, both grids; -1 unless within budget
};

// What building the collision map of a level mesh (bounds computed) with
// cells of this size takes, without building it and without a word on the
// console. The filings are counted by running the tests, so only when the
// grid and the tests are within budget.
CollisionFigures collisionFigures(const MeshData& level, Vec3 cellSize);
