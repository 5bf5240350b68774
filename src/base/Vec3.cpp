// Vector arithmetic on Vec3; double-precision intermediates, float results.
#include "Vec3.h"

#include <cmath>

Vec3 add(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vec3 subtract(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 scale(Vec3 v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}

Vec3 divide(Vec3 v, float s) {
    return {v.x / s, v.y / s, v.z / s};
}

Vec3 cross(Vec3 a, Vec3 b) {
    return {static_cast<float>(double(a.y) * b.z - double(a.z) * b.y),
            static_cast<float>(double(a.z) * b.x - double(a.x) * b.z),
            static_cast<float>(double(a.x) * b.y - double(a.y) * b.x)};
}

Vec3 normalize(Vec3 v) {
    return divide(v, length(v));
}

void setZero(Vec3& v) {
    v = Vec3{};
}

float dot(Vec3 a, Vec3 b) {
    return static_cast<float>(double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z);
}

float length(Vec3 v) {
    return static_cast<float>(std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z));
}

float distance(Vec3 a, Vec3 b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y, dz = double(b.z) - a.z;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

float absolute(float f) {
    return f >= 0.0f ? f : -f;
}

float planeOffset(Vec3 n, Vec3 p) {
    return -dot(n, p);
}

bool sameXY(Vec3 a, Vec3 b) {
    return a.x == b.x && a.y == b.y;
}
