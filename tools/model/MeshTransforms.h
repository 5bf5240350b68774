// Whole-mesh position changes in the game's axes (y up) and the box they are measured by.
#pragma once

#include "MeshData.h"
#include "Vec3.h"

// The box round every vertex of every object, from the game's object boxes.
// False when the mesh has no vertex.
bool meshBox(MeshData& mesh, Vec3& lo, Vec3& hi);
// The first object holding a vertex that is not a finite number, or null.
const MeshObject* objectWithNonFiniteVertex(const MeshData& mesh);

// Every position times factor, about the origin.
void scaleMesh(MeshData& mesh, float factor);
// Every position plus offset.
void moveMesh(MeshData& mesh, Vec3 offset);
// Every position turned about the x, y or z axis ('x', 'y', 'z') through the
// origin, counter-clockwise seen from the axis' positive end. Quarter turns
// are exact.
void turnMesh(MeshData& mesh, char axis, double degrees);
