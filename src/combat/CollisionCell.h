// One cell of a collision grid: the objects whose centre lies in it and the level triangles near
// it.
#pragma once

#include <cstdint>
#include <vector>

#include "Vec3.h"

class Entity;

struct CollisionCell {
    std::vector<Entity*> objects;  // filing order; not owned; length == objectCount
    std::vector<Vec3> triangles;   // three corners per triangle, in face order
    std::vector<Vec3> normals;     // triangleNormal of each triangle, kept for the plane test
    int32_t objectCount = 0;
    int32_t triangleCount = 0;
};
