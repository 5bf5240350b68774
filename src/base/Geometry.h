// Sphere, plane, segment and triangle tests the collision map is built on.
#pragma once

#include "Vec3.h"

enum SphereClass { Behind = 0, Intersects = 1, InFront = 2 };

struct SphereClassification {
    SphereClass sphereClass;
    float distance;  // signed distance of the centre from the plane, always filled
};

// normalize(cross(p2 - p0, p1 - p0)): points away from a viewer who sees the
// corners counter-clockwise. Collinear corners give a not-a-number normal.
Vec3 triangleNormal(Vec3 p0, Vec3 p1, Vec3 p2);
// Radians; 0 when acos is undefined (a zero vector, or a quotient rounded past +-1).
double angleBetween(Vec3 a, Vec3 b);
// Angle-sum test: inside when the angles seen from p add up to 0.99 of a full turn.
// A point on an edge is inside, a point on a corner is outside; count < 1 is outside.
bool insidePolygon(Vec3 p, const Vec3* polygon, int count);
// Nearest point to p on the segment a-b; a when the segment is degenerate.
Vec3 closestPointOnSegment(Vec3 a, Vec3 b, Vec3 p);
// A distance equal to the radius is not intersecting; a not-a-number distance is.
SphereClassification classifySphere(Vec3 center, Vec3 normal, Vec3 pointOnPlane, float radius);
bool edgeSphereCollision(Vec3 center, const Vec3* polygon, int count, float radius);
// The inside test always uses the first three corners: callers pass triangles.
bool spherePolygonCollision(const Vec3* polygon, Vec3 center, int count, float radius);
// The same test with the polygon's triangleNormal computed beforehand (the
// collision map keeps one per stored triangle), so a triangle the plane test
// rules out costs one dot product.
bool spherePolygonCollision(const Vec3* polygon, Vec3 normal, Vec3 center, int count, float radius);
