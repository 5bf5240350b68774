// Scale, move and turn every vertex; the box over the game's object boxes.
#include "MeshTransforms.h"

#include <cmath>

namespace {

// Sine and cosine of an angle in degrees; exact for whole quarter turns, so
// that turning a model upright leaves no 1e-8 crumbs in its zero coordinates.
void sinCos(double degrees, double& s, double& c) {
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0) turn += 360.0;
    constexpr double QUARTER_SIN[] = {0, 1, 0, -1};  // sines of 0, 90, 180, 270 degrees
    if (turn == std::floor(turn / 90.0) * 90.0) {
        const int quarter = int(turn / 90.0) % 4;
        s = QUARTER_SIN[quarter];
        c = QUARTER_SIN[(quarter + 1) % 4];
        return;
    }
    const double radians = turn * (M_PI / 180.0);
    s = std::sin(radians);
    c = std::cos(radians);
}

// (a, b) turned counter-clockwise by the angle, a towards b.
void rotatePair(float& a, float& b, double s, double c) {
    const double a0 = a, b0 = b;
    a = float(a0 * c - b0 * s);
    b = float(a0 * s + b0 * c);
}

}  // namespace

bool meshBox(MeshData& mesh, Vec3& lo, Vec3& hi) {
    // The game's mesh box starts from +-10000000, which a model lying wholly
    // beyond would not widen; the object boxes are exact.
    mesh.computeBounds();
    bool any = false;
    for (const MeshObject& o : mesh.objects) {
        if (o.vertices.empty()) continue;
        if (!any) lo = o.boundsMin, hi = o.boundsMax;
        lo = {std::fmin(lo.x, o.boundsMin.x), std::fmin(lo.y, o.boundsMin.y),
              std::fmin(lo.z, o.boundsMin.z)};
        hi = {std::fmax(hi.x, o.boundsMax.x), std::fmax(hi.y, o.boundsMax.y),
              std::fmax(hi.z, o.boundsMax.z)};
        any = true;
    }
    return any;
}

const MeshObject* objectWithNonFiniteVertex(const MeshData& mesh) {
    for (const MeshObject& o : mesh.objects)
        for (const Vec3& v : o.vertices)
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) return &o;
    return nullptr;
}

void scaleMesh(MeshData& mesh, float factor) {
    for (MeshObject& o : mesh.objects)
        for (Vec3& v : o.vertices) v = {v.x * factor, v.y * factor, v.z * factor};
}

void moveMesh(MeshData& mesh, Vec3 offset) {
    for (MeshObject& o : mesh.objects)
        for (Vec3& v : o.vertices) v = {v.x + offset.x, v.y + offset.y, v.z + offset.z};
}

void turnMesh(MeshData& mesh, char axis, double degrees) {
    double s, c;
    sinCos(degrees, s, c);
    for (MeshObject& o : mesh.objects)
        for (Vec3& v : o.vertices) {
            if (axis == 'x') rotatePair(v.y, v.z, s, c);
            if (axis == 'y') rotatePair(v.z, v.x, s, c);
            if (axis == 'z') rotatePair(v.x, v.y, s, c);
        }
}
