// Placeholder until the mesh build lands.
#include "Mesh.h"

bool Mesh::load(const char*, const char*, const char*, DisplayListMode) { return false; }
void Mesh::computeNormals() {}
void Mesh::computeBounds() {}
