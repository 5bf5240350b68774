// One level triangle as the collision tests read it: its corners and its plane normal.
#pragma once

#include "Vec3.h"

// Kept once per level triangle; cells refer to it by index, so a triangle filed
// in many cells costs one index per cell rather than a copy.
struct CollisionTriangle {
    Vec3 corners[3];  // in the order of the face
    Vec3 normal;      // triangleNormal of the corners, for the plane test
};
