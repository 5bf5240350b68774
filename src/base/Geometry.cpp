// Geometric tests on Vec3: double-precision intermediates, float results.
#include "Geometry.h"

#include <cmath>

#include "Angles.h"

namespace {
// 0.99 of a full turn: the angle sum above which a point counts as inside.
constexpr double INSIDE_ANGLE_SUM = 6.220353454107791;
}  // namespace

Vec3 triangleNormal(Vec3 p0, Vec3 p1, Vec3 p2) {
    return normalize(cross(subtract(p2, p0), subtract(p1, p0)));
}

double angleBetween(Vec3 a, Vec3 b) {
    const double quotient = double(dot(a, b)) / (double(length(a)) * double(length(b)));
    const double angle = std::acos(quotient);
    // NaN fails both comparisons and so falls through to 0.
    if (angle >= -TWO_PI && angle <= TWO_PI) return angle;
    return 0.0;
}

bool insidePolygon(Vec3 p, const Vec3* polygon, int count) {
    if (count < 1) return false;
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        const Vec3 u = subtract(polygon[i], p);
        const Vec3 w = subtract(polygon[(i + 1) % count], p);
        sum += angleBetween(u, w);
    }
    return sum >= INSIDE_ANGLE_SUM;
}

Vec3 closestPointOnSegment(Vec3 a, Vec3 b, Vec3 p) {
    const Vec3 c = subtract(p, a);
    const Vec3 v = normalize(subtract(b, a));
    const float d = distance(a, b);
    const float t = dot(v, c);
    if (!(t > 0.0f)) return a;  // also a degenerate segment: t is not-a-number
    if (!(t < d)) return b;
    return add(a, scale(v, t));
}

SphereClassification classifySphere(Vec3 center, Vec3 normal, Vec3 pointOnPlane, float radius) {
    const float distance =
        static_cast<float>(double(dot(normal, center)) + double(planeOffset(normal, pointOnPlane)));
    if (!(absolute(distance) >= radius)) return {Intersects, distance};
    if (distance >= radius) return {InFront, distance};
    return {Behind, distance};
}

bool edgeSphereCollision(Vec3 center, const Vec3* polygon, int count, float radius) {
    for (int i = 0; i < count; ++i) {
        const Vec3 q = closestPointOnSegment(polygon[i], polygon[(i + 1) % count], center);
        if (distance(q, center) < radius) return true;
    }
    return false;
}

bool spherePolygonCollision(const Vec3* polygon, Vec3 center, int count, float radius) {
    return spherePolygonCollision(polygon, triangleNormal(polygon[0], polygon[1], polygon[2]),
                                  center, count, radius);
}

bool spherePolygonCollision(const Vec3* polygon, Vec3 n, Vec3 center, int count, float radius) {
    const SphereClassification c = classifySphere(center, n, polygon[0], radius);
    if (c.sphereClass != Intersects) return false;
    const Vec3 projected = subtract(center, scale(n, c.distance));
    if (insidePolygon(projected, polygon, 3)) return true;
    return edgeSphereCollision(center, polygon, count, radius);
}
