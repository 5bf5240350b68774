// Collision map: grid layout, filing of objects, and resolving one object's move.
#include "CollisionMap.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "Entity.h"
#include "Geometry.h"
#include "MeshData.h"

namespace {
// Prints the misuse message naming the check's file and line.
void reportFatal(int line) {
    std::printf(" %s %d - fatal error \n", __FILE_NAME__, line);
}

// The box test compares whole numbers: both sides truncated toward zero.
bool boxesApartOnAxis(double centreDelta, double halfExtentSum) {
    return std::fabs(std::trunc(centreDelta)) >= std::fabs(std::trunc(halfExtentSum));
}

bool boxesTouch(const Entity& a, const Entity& b) {
    return !boxesApartOnAxis(double(a.centre.x) - b.centre.x,
                             double(b.halfExtents.x) + a.halfExtents.x) &&
           !boxesApartOnAxis(double(a.centre.y) - b.centre.y,
                             double(b.halfExtents.y) + a.halfExtents.y) &&
           !boxesApartOnAxis(double(a.centre.z) - b.centre.z,
                             double(b.halfExtents.z) + a.halfExtents.z);
}

Vec3 scaledRatio(Vec3 v, float numerator, float denominator) {
    const double k = double(numerator) / double(denominator);
    return {float(v.x * k), float(v.y * k), float(v.z * k)};
}
}  // namespace

CollisionMap::CollisionMap(Vec3 cellSize) : cellSize(cellSize) {}

CollisionMap::CollisionMap(Vec3 cellSize, const MeshData& level, const char* name)
    : cellSize(cellSize) {
    build(level, level.boundsMin, level.boundsMax, name);
}

CollisionMap::~CollisionMap() {
    // Objects still filed here must not keep pointers into freed cells.
    for (int grid = 0; grid < GRID_COUNT; ++grid) {
        if (cells[grid] == nullptr) continue;
        // Only the entry the object names: a misused fileInCell may have left it in another list.
        for (int i = 0; i < cellCount[grid]; ++i) {
            for (Entity* object : cells[grid][i].objects) {
                if (object->collisionCells[grid] == &cells[grid][i])
                    object->collisionCells[grid] = nullptr;
            }
        }
    }
}

bool CollisionMap::ownsCell(const CollisionCell* cell, int grid) const {
    if (cell == nullptr || cells[grid] == nullptr) return false;
    const CollisionCell* first = cells[grid].get();
    return cell >= first && cell < first + cellCount[grid];
}

int CollisionMap::cellNumber(const CollisionCell* cell, int grid) const {
    if (grid < 0 || grid >= GRID_COUNT || !ownsCell(cell, grid)) return -1;
    return static_cast<int>(cell - cells[grid].get());
}

CollisionCell* CollisionMap::locateCell(Vec3 point, int grid) {
    return const_cast<CollisionCell*>(std::as_const(*this).locateCell(point, grid));
}

const CollisionCell* CollisionMap::locateCell(Vec3 point, int grid) const {
    if (grid < 0 || grid >= GRID_COUNT || cells[grid] == nullptr) return nullptr;
    const Vec3 o = gridOrigin[grid];
    // Truncation toward zero; done in double so far-off points cannot overflow.
    const double column = std::trunc((double(point.x) - o.x) / cellSize.x);
    const double row = std::trunc((double(point.z) - o.z) / cellSize.z);
    const double layer = std::trunc((double(point.y) - o.y) / cellSize.y);
    const double n = column + row * columns + layer * layerSize;
    if (!(n >= 0.0 && n <= double(cellCount[grid]) - 1.0)) return nullptr;
    return &cells[grid][static_cast<int>(n)];
}

void CollisionMap::insertObject(Entity* object) {
    if (object == nullptr) return;
    for (int grid = 0; grid < GRID_COUNT; ++grid) {
        CollisionCell* cell = locateCell(object->centre, grid);
        object->collisionCells[grid] = nullptr;
        fileInCell(object, cell, grid);
    }
}

void CollisionMap::removeObject(Entity* object) {
    unfileFromCell(object, ALIGNED_GRID);
    unfileFromCell(object, OFFSET_GRID);
    // A second removal must not take another object's entry.
    if (object != nullptr) {
        for (int grid = 0; grid < GRID_COUNT; ++grid)
            if (ownsCell(object->collisionCells[grid], grid))
                object->collisionCells[grid] = nullptr;
    }
}

void CollisionMap::fileInCell(Entity* object, CollisionCell* cell, int grid) {
    if (object == nullptr) {
        reportFatal(__LINE__);
        return;
    }
    if (object->collisionCells[grid] == cell && cell != nullptr) return;
    if (cell != nullptr) {
        cell->objects.push_back(object);
        object->cellIndices[grid] = cell->objectCount;
        object->collisionCells[grid] = cell;
        ++cell->objectCount;
    } else {
        object->collisionCells[grid] = nullptr;  // its index means nothing without a cell
    }
}

void CollisionMap::unfileFromCell(Entity* object, int grid) {
    if (object == nullptr) {
        reportFatal(__LINE__);
        return;
    }
    CollisionCell* cell = object->collisionCells[grid];
    // Not filed, or filed in another (possibly destroyed) map: nothing of ours to touch.
    if (!ownsCell(cell, grid)) return;
    const int32_t index = object->cellIndices[grid];
    if (index < 0 || index >= cell->objectCount || cell->objects[index] != object) {
        reportFatal(__LINE__);
        std::exit(100);
    }
    --cell->objectCount;
    Entity* last = cell->objects[cell->objectCount];
    if (last == nullptr) {
        reportFatal(__LINE__);
        std::exit(100);
    }
    last->cellIndices[grid] = index;
    cell->objects[index] = last;
    cell->objects.pop_back();
}

void CollisionMap::resolveMove(Entity* object) {
    if (object == nullptr) return;
    contactFlag = 0;
    exchangeDone = 0;
    for (int grid = 0; grid < GRID_COUNT; ++grid) {
        CollisionCell* cell = locateCell(object->centre, grid);
        foundCells[grid] = cell;
        if (cell == nullptr) {
            contactFlag = 1;
            object->onCollision(nullptr);
        } else {
            collideInCell(object, cell);
        }
    }
    if (contactFlag != 0) {
        object->position = object->previousPosition;
        return;
    }
    for (int grid = 0; grid < GRID_COUNT; ++grid) {
        if (foundCells[grid] != object->collisionCells[grid]) {
            unfileFromCell(object, grid);
            fileInCell(object, foundCells[grid], grid);
        }
    }
}

void CollisionMap::collideInCell(Entity* object, CollisionCell* cell) {
    // Indexing (not iterators) and a fresh size each turn: handlers must not
    // refile objects, but a misbehaving one cannot make us read past the end.
    for (size_t i = 0; i < cell->objects.size(); ++i) {
        Entity* other = cell->objects[i];  // never null: fileInCell refuses null
        if (other == object) continue;
        if (!boxesTouch(*object, *other)) continue;
        const bool a = object->onCollision(other);
        const bool b = other->onCollision(object);
        if (!(a && b)) continue;
        contactFlag = 1;
        if (exchangeDone == 0 && other->dead == 0) {
            const Vec3 objectVelocity = object->velocity;
            object->impulse = scaledRatio(other->velocity, other->mass, object->mass);
            other->impulse = scaledRatio(objectVelocity, object->mass, other->mass);
            setZero(object->velocity);
            setZero(other->velocity);
            exchangeDone = 1;
        }
    }
    if (contactFlag != 0 || !touchesLevel(*cell, object->centre)) return;
    contactFlag = 1;
    object->onCollision(nullptr);
}

bool CollisionMap::touchesLevel(const CollisionCell& cell, Vec3 centre) const {
    for (int32_t i = 0; i < cell.triangleCount; ++i) {
        const CollisionTriangle& t = cellTriangle(cell, i);
        if (spherePolygonCollision(t.corners, t.normal, centre, 3, OBJECT_RADIUS)) return true;
    }
    return false;
}

CollisionMap::Standing CollisionMap::standingAt(Vec3 centre) const {
    Standing result = Standing::Free;
    for (int grid = 0; grid < GRID_COUNT; ++grid) {
        const CollisionCell* cell = locateCell(centre, grid);
        if (cell == nullptr) return Standing::Outside;
        if (touchesLevel(*cell, centre)) result = Standing::Touching;
    }
    return result;
}

int CollisionMap::axisBeyondGrids(Vec3 centre) const {
    if (layerSize <= 0) return 0;  // no grid: nothing lies within
    const double counts[3] = {double(columns), double(cellCount[0] / layerSize), double(rows)};
    const float Vec3::*axes[3] = {&Vec3::x, &Vec3::y, &Vec3::z};
    for (int axis = 0; axis < 3; ++axis)
        for (int grid = 0; grid < 2; ++grid) {
            // As locateCell numbers it: truncated toward zero.
            const double index = std::trunc(
                (double(centre.*axes[axis]) - gridOrigin[grid].*axes[axis]) / cellSize.*axes[axis]);
            if (!(index >= 0.0 && index < counts[axis])) return axis;
        }
    return -1;
}
