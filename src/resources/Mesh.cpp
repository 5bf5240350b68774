// Placeholder until the mesh build lands.
#include "Mesh.h"

Mesh::~Mesh() { destroy(); }
bool Mesh::load(const char*, const char*, const char*, DisplayListMode) { return false; }
void Mesh::draw(float, float, float) {}
void Mesh::drawObject(const MeshObject&) {}
void Mesh::renderObject(const MeshObject&) {}
void Mesh::destroy() {}
void Mesh::assignTextures() {}
void Mesh::computeNormals() {}
void Mesh::computeBounds() {}
void Mesh::buildLists(DisplayListMode) {}
