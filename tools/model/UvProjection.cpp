// Box and planar texture projections over the model's bounding box.
#include "UvProjection.h"

#include <cmath>

#include "MeshTransforms.h"

namespace {

enum Side { FRONT, BACK, RIGHT, LEFT, TOP, BOTTOM };  // -z, +z, +x, -x, +y, -y

// The side a normal points at most; ties go to front and back, then the
// sides, then top and bottom. A zero normal (a vertex no face uses) faces front.
Side sideOf(Vec3 n) {
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    if (az >= ax && az >= ay) return n.z > 0 ? BACK : FRONT;
    if (ax >= ay) return n.x > 0 ? RIGHT : LEFT;
    return n.y > 0 ? TOP : BOTTOM;
}

// Where value lies between lo and hi, 0 to 1; the middle for a flat box.
float fraction(float value, float lo, float hi) {
    if (!(hi > lo)) return 0.5f;
    const double t = (double(value) - lo) / (double(hi) - lo);
    return float(t < 0 ? 0 : t > 1 ? 1 : t);
}

// How each side lays the picture, seen from outside (the top and the bottom
// with the front up): which of the box fractions x, y, z (0, 1, 2) runs to the
// right as u and which upwards as v, and whether each runs from 1 down to 0.
// Columns: u axis, u reversed, v axis, v reversed; indexed by Side.
constexpr struct {
    int u;
    bool uReversed;
    int v;
    bool vReversed;
} SIDE_AXES[] = {
    {0, true, 1, false},   // FRONT: seen from -z, +x is on the left
    {0, false, 1, false},  // BACK
    {2, true, 1, false},   // RIGHT: seen from +x, the front (-z) is on the right
    {2, false, 1, false},  // LEFT
    {0, false, 2, true},   // TOP: the front (-z) at the top of the picture
    {0, true, 2, true},    // BOTTOM
};

void sideUv(Side side, Vec3 p, Vec3 lo, Vec3 hi, float& u, float& v) {
    const float f[3] = {fraction(p.x, lo.x, hi.x), fraction(p.y, lo.y, hi.y),
                        fraction(p.z, lo.z, hi.z)};
    const auto& axes = SIDE_AXES[side];
    u = axes.uReversed ? 1 - f[axes.u] : f[axes.u];
    v = axes.vReversed ? 1 - f[axes.v] : f[axes.v];
}

}  // namespace

void projectUvs(MeshData& mesh, UvProjection projection) {
    Vec3 lo, hi;
    meshBox(mesh, lo, hi);
    if (projection == UvProjection::Box) mesh.computeNormals();
    for (MeshObject& o : mesh.objects) {
        o.uvs.assign(o.vertices.size() * 2, 0.0f);
        for (size_t k = 0; k < o.vertices.size(); ++k) {
            const Side side = projection == UvProjection::Box       ? sideOf(o.normals[k])
                              : projection == UvProjection::PlanarX ? RIGHT
                              : projection == UvProjection::PlanarY ? TOP
                                                                    : FRONT;
            sideUv(side, o.vertices[k], lo, hi, o.uvs[2 * k], o.uvs[2 * k + 1]);
        }
    }
}
