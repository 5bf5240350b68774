// Small vector maths for building models in the game's axes (y up, creatures face -z).
#pragma once

#include <cmath>

#include "CharacterFigures.h"

struct P3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

inline P3 operator+(P3 a, P3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline P3 operator-(P3 a, P3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline P3 operator*(P3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline P3 operator*(float s, P3 a) {
    return a * s;
}
inline float dot(P3 a, P3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline P3 cross(P3 a, P3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(P3 a) {
    return std::sqrt(dot(a, a));
}
inline P3 normalized(P3 a) {
    const float l = length(a);
    return l > 0.0f ? a * (1.0f / l) : P3{0.0f, 0.0f, 0.0f};
}
inline P3 lerp(P3 a, P3 b, float t) {
    return a + (b - a) * t;
}

// Height of the default maps' floors and of the default characters' soles.
constexpr float FLOOR_Y = SOLE_Y;

constexpr float PI = 3.14159265358979f;
inline float radians(float degrees) {
    return degrees * (PI / 180.0f);
}

// Rotations about axes through the origin; positive angles are counter-clockwise
// when looking from the positive end of the axis towards the origin.
inline P3 rotateX(P3 p, float degrees) {
    const float c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    return {p.x, p.y * c - p.z * s, p.y * s + p.z * c};
}
inline P3 rotateY(P3 p, float degrees) {
    const float c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    return {p.x * c + p.z * s, p.y, -p.x * s + p.z * c};
}
inline P3 rotateZ(P3 p, float degrees) {
    const float c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    return {p.x * c - p.y * s, p.x * s + p.y * c, p.z};
}
// Rotation about an axis through pivot.
inline P3 rotateXAbout(P3 p, P3 pivot, float degrees) {
    return rotateX(p - pivot, degrees) + pivot;
}
inline P3 rotateZAbout(P3 p, P3 pivot, float degrees) {
    return rotateZ(p - pivot, degrees) + pivot;
}
