// Meshes built in memory for drawing and collision tests.
#pragma once

#include <string>

#include "Mesh.h"

// One triangle across the view axis at depth z (game axes: the default camera
// looks along -z), 4 units wide, using the given material index.
MeshObject triangle(float z, int materialIndex, const std::string& name = "tri");
Material colourMaterial(unsigned char r, unsigned char g, unsigned char b);
Material texturedMaterial(const std::string& textureFile);
// Normals, bounds and lists as a load would build them; marks the mesh loaded.
void finish(Mesh& mesh, DisplayListMode mode);
