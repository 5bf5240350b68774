// One cell of a collision grid: the objects whose centre lies in it and the level triangles near
// it.
#pragma once

#include <cstdint>
#include <vector>

class Entity;

// The collision map's grids: the aligned one and the one offset by half a cell.
constexpr int GRID_COUNT = 2;

struct CollisionCell {
    std::vector<Entity*> objects;  // filing order; not owned; length == objectCount
    int32_t objectCount = 0;
    // The cell's level triangles are the map's filings firstFiling to
    // firstFiling + triangleCount - 1 (indices into its triangles), in file order.
    int32_t triangleCount = 0;
    uint32_t firstFiling = 0;
};
