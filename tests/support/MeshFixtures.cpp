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
    Material m;
    m.name = "colour";
    m.colour[0] = r;
    m.colour[1] = g;
    m.colour[2] = b;
    return m;
}

Material texturedMaterial(const std::string& textureFile) {
    Material m;
    m.name = "textured";
    m.textureFile = textureFile;
    return m;
}

void finish(Mesh& mesh, DisplayListMode mode) {
    mesh.computeNormals();
    mesh.computeBounds();
    mesh.buildLists(mode);
    mesh.loaded = true;
}
