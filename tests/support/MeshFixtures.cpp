// Meshes built in memory for drawing and collision tests.
#include "MeshFixtures.h"

MeshObject triangle(float z, int materialIndex, const std::string& name) {
    MeshObject o;
    o.name = name;
    o.visible = name.empty() || name[0] != '_';
    o.materialIndex = materialIndex;
    o.vertices = {{-2.0f, -2.0f, z}, {2.0f, -2.0f, z}, {0.0f, 2.0f, z}};
    o.faces = {0, 1, 2};
    return o;
}

Material colourMaterial(unsigned char r, unsigned char g, unsigned char b) {
    return Material{"colour", "", {r, g, b}};
}

Material texturedMaterial(const std::string& textureFile) {
    return Material{"textured", textureFile};
}

void finish(Mesh& mesh, DisplayListMode mode) {
    mesh.computeNormals();
    mesh.computeBounds();
    mesh.buildLists(mode);
    mesh.loaded = true;
}
