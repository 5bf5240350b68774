// Two cubic-cell grids over the level box (the second shifted by half a cell):
// level triangles filed once at build time, moving objects filed as they move;
// resolveMove reports contacts and undoes blocked moves.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "CollisionCell.h"
#include "CollisionTriangle.h"
#include "ModelKey.h"
#include "Vec3.h"

class Entity;
struct MeshData;
class Model;

class CollisionMap {
public:
    static constexpr int ALIGNED_GRID = 0;
    static constexpr int OFFSET_GRID = 1;
    // Sphere radius of a moving object against the level, world units.
    static constexpr float OBJECT_RADIUS = 1.0f;

    // Takes the level model from the global ModelStore, builds both grids from
    // its first frame and releases it. A model that cannot be had gives an
    // empty map: every position lies outside and every move is undone. So
    // does a level beyond the load budgets (CollisionBudget.h), with a message
    // naming the file.
    CollisionMap(float cellSizeX, float cellSizeY, float cellSizeZ, const char* modelFile);
    // GL-free build from a mesh held in memory (bounds already computed); name
    // is for messages.
    CollisionMap(Vec3 cellSize, const MeshData& level, const char* name = "(level mesh)");
    // Builds nothing: no cells.
    explicit CollisionMap(Vec3 cellSize);
    CollisionMap(const CollisionMap&) = delete;
    CollisionMap& operator=(const CollisionMap&) = delete;
    // Objects still filed here forget their cells.
    ~CollisionMap();

    // Null when the point's cell number lies outside the grid.
    CollisionCell* locateCell(Vec3 point, int grid);
    const CollisionCell* locateCell(Vec3 point, int grid) const;
    // The level test of resolveMove: a triangle filed in the cell comes within
    // OBJECT_RADIUS of an object centred here.
    bool touchesLevel(const CollisionCell& cell, Vec3 centre) const;
    // What the level tests of resolveMove make of an object centred here that
    // meets no other object: outside either grid, or touching a level triangle
    // of its cell in either grid, the move is undone.
    enum class Standing { Free, Outside, Touching };
    Standing standingAt(Vec3 centre) const;
    // The first axis (0 x, 1 y, 2 z) on which the centre lies beyond the
    // columns, layers or rows of either grid, or -1 when it lies within both.
    // locateCell compares only the cell's number with the grid's count, so a
    // centre beyond the last column (or row) still gets a cell when the
    // number stays in range: one at the box's other side, in the next row
    // (or layer), whose level triangles lie far from it. Only a number out of
    // range (beyond the layers, or far out) finds no cell.
    int axisBeyondGrids(Vec3 centre) const;
    void insertObject(Entity* object);
    void removeObject(Entity* object);
    void resolveMove(Entity* object);

    void fileInCell(Entity* object, CollisionCell* cell, int grid);
    void unfileFromCell(Entity* object, int grid);

    // Cell number of a cell of this map's grid, or -1.
    int cellNumber(const CollisionCell* cell, int grid) const;
    bool empty() const { return cells[0] == nullptr; }
    // Level triangle i (0 to triangleCount - 1) of a cell of this map.
    const CollisionTriangle& cellTriangle(const CollisionCell& cell, int i) const {
        return triangles[filings[cell.firstFiling + uint32_t(i)]];
    }

    // Scratch of one resolveMove call.
    uint8_t contactFlag = 0;
    uint8_t exchangeDone = 0;
    CollisionCell* foundCells[GRID_COUNT] = {};

    Vec3 cellSize;
    Vec3 gridOrigin[GRID_COUNT];
    Vec3 maxCorner;
    std::unique_ptr<CollisionCell[]> cells[GRID_COUNT];
    int32_t cellCount[GRID_COUNT] = {};
    int32_t columns = 0;                       // cells along x
    int32_t rows = 0;                          // cells along z
    int32_t layerSize = 0;                     // columns * rows
    std::vector<CollisionTriangle> triangles;  // every level triangle, in file order
    // Indices into triangles: each cell's run (both grids' cells, grid 0 first).
    std::vector<uint32_t> filings;

private:
    void build(const MeshData& level, Vec3 boundsMin, Vec3 boundsMax, const char* name);
    bool setDimensions(Vec3 boundsMin, Vec3 boundsMax, const char* name);
    void fillGrid(int grid, const MeshData& level, float radius);
    void collideInCell(Entity* object, CollisionCell* cell);
    bool ownsCell(const CollisionCell* cell, int grid) const;
};
