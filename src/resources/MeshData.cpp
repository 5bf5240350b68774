// One 3DS file's geometry as the reader leaves it, with normals and bounds: no GL.
#include "MeshData.h"

namespace {

// Farther than any level reaches: the starting mesh box before objects widen it.
constexpr float FAR_BOUND = 10000000.0f;

// Half of the largest extent: x, then y if larger, then z if larger.
float largestHalfExtent(Vec3 max, Vec3 centre) {
    float radius = max.x - centre.x;
    if (max.y - centre.y > radius) radius = max.y - centre.y;
    if (max.z - centre.z > radius) radius = max.z - centre.z;
    return radius;
}

Vec3 midpoint(Vec3 min, Vec3 max) {
    return {(min.x + max.x) * 0.5f, (min.y + max.y) * 0.5f, (min.z + max.z) * 0.5f};
}

Vec3 componentMin(Vec3 a, Vec3 b) {
    return {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.z < b.z ? a.z : b.z};
}

Vec3 componentMax(Vec3 a, Vec3 b) {
    return {a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y, a.z > b.z ? a.z : b.z};
}

// Box, centre and radius of one object; an object without vertices gets zeros.
void objectBounds(MeshObject& object) {
    object.boundsMin = object.boundsMax = object.centre = Vec3{};
    object.radius = 0.0f;
    if (object.vertices.empty()) return;
    Vec3 min = object.vertices.front(), max = min;
    for (const Vec3& v : object.vertices) {
        min = componentMin(min, v);
        max = componentMax(max, v);
    }
    object.boundsMin = min;
    object.boundsMax = max;
    object.centre = midpoint(min, max);
    object.radius = largestHalfExtent(max, object.centre);
}

}  // namespace

// Face normals are not normalised before summing, so a face weighs in by its
// area. A vertex no face uses (or only degenerate faces) keeps a zero normal.
void MeshData::computeNormals() {
    for (MeshObject& object : objects) {
        object.normals.assign(object.vertices.size(), Vec3{});
        const std::vector<Vec3>& v = object.vertices;
        for (size_t f = 0; f + 2 < object.faces.size(); f += 3) {
            const uint32_t a = object.faces[f], b = object.faces[f + 1], c = object.faces[f + 2];
            if (a >= v.size() || b >= v.size() || c >= v.size()) continue;  // never from a file
            const Vec3 n = cross(subtract(v[b], v[a]), subtract(v[c], v[a]));
            object.normals[a] = add(object.normals[a], n);
            object.normals[b] = add(object.normals[b], n);
            object.normals[c] = add(object.normals[c], n);
        }
        for (Vec3& n : object.normals)
            if (length(n) > 0.0f) n = normalize(n);
    }
}

// Objects without vertices keep zero bounds and do not widen the mesh box; a
// mesh with no vertices at all gets a zero box.
void MeshData::computeBounds() {
    if (objects.empty()) return;
    triangleCount = 0;
    Vec3 min{FAR_BOUND, FAR_BOUND, FAR_BOUND}, max{-FAR_BOUND, -FAR_BOUND, -FAR_BOUND};
    bool any = false;
    for (MeshObject& object : objects) {
        triangleCount += object.faceCount();
        objectBounds(object);
        if (object.vertices.empty()) continue;
        min = componentMin(min, object.boundsMin);
        max = componentMax(max, object.boundsMax);
        any = true;
    }
    if (!any) min = max = Vec3{};
    boundsMin = min;
    boundsMax = max;
    centre = midpoint(min, max);
    radius = largestHalfExtent(max, centre);
}
