// One 3DS file's geometry as the reader leaves it, with normals and bounds: no GL.
#pragma once

#include <vector>

#include "Material.h"
#include "MeshObject.h"
#include "Vec3.h"

// What the 3DS reader fills and the tools read. Mesh adds the textures,
// display lists and drawing the game needs on top of it.
struct MeshData {
    int objectCount() const { return static_cast<int>(objects.size()); }
    int materialCount() const { return static_cast<int>(materials.size()); }

    // Build steps after the import, in this order.
    void computeNormals();
    void computeBounds();

    std::vector<Material> materials;  // file order; a material's index is its position
    std::vector<MeshObject> objects;  // file order
    int triangleCount = 0;
    Vec3 centre;
    float radius = 0.0f;
    Vec3 boundsMin;
    Vec3 boundsMax;
};
