// Placeholder until the mesh drawing lands.
#include "Mesh.h"

Mesh::~Mesh() { destroy(); }
void Mesh::draw(float, float, float) {}
void Mesh::drawObject(const MeshObject&) {}
void Mesh::renderObject(const MeshObject&) {}
void Mesh::destroy() {}
void Mesh::assignTextures() {}
void Mesh::buildLists(DisplayListMode) {}
