// Three-component vector of 32-bit floats and its arithmetic; free functions, values in and out.
#pragma once

// A point or direction in level units. y is up; the ground is the x-z plane.
// Intermediate arithmetic inside one operation is done in double precision and
// rounded to float when stored, so results do not depend on the optimiser.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

Vec3 add(Vec3 a, Vec3 b);
Vec3 subtract(Vec3 a, Vec3 b);
Vec3 scale(Vec3 v, float s);
// s = 0 is not guarded: the components become infinite or not-a-number.
Vec3 divide(Vec3 v, float s);
Vec3 cross(Vec3 a, Vec3 b);
// A zero vector is not guarded: its components become not-a-number.
Vec3 normalize(Vec3 v);
void setZero(Vec3& v);

float dot(Vec3 a, Vec3 b);
float length(Vec3 v);
float distance(Vec3 a, Vec3 b);
float absolute(float f);
// The d term of the plane with normal n through point p: -dot(n, p).
float planeOffset(Vec3 n, Vec3 p);
// x and y equal; z is not compared (the AI's "did I move" test).
bool sameXY(Vec3 a, Vec3 b);
