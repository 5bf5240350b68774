// Meshes built in memory for drawing and collision tests.
#pragma once

#include <string>

#include "Mesh.h"

// One triangle across the view axis at depth z (game axes: the default camera
// looks along -z), 4 units wide, using the given material index.
inline MeshObject triangle(float z, int materialIndex, const std::string& name = "tri") {
    MeshObject o;
    o.name = name;
    o.visible = name.empty() || name[0] != '_';
    o.materialIndex = materialIndex;
    o.vertices = {{-2.0f, -2.0f, z}, {2.0f, -2.0f, z}, {0.0f, 2.0f, z}};
    o.faces = {0, 1, 2};
    return o;
}

inline Material colourMaterial(unsigned char r, unsigned char g, unsigned char b) {
    return Material{"colour", "", {r, g, b}};
}

inline Material texturedMaterial(const std::string& textureFile) {
    return Material{"textured", textureFile};
}

// Normals, bounds and lists as a load would build them; marks the mesh loaded.
inline void finish(Mesh& mesh, DisplayListMode mode) {
    mesh.computeNormals();
    mesh.computeBounds();
    mesh.buildLists(mode);
    mesh.loaded = true;
}
