// Texture coordinates projected onto a model from the sides of its box, one pair per vertex.
#pragma once

#include "MeshData.h"

// Which way the picture is laid onto the model. The planar ones show it as
// seen from the front (-z, where a creature looks), from the right (+x) or
// from above (+y, the front at the top of the picture); box picks, for each
// vertex, the one of the box's six sides its normal points at most, each seen
// from outside.
enum class UvProjection { Box, PlanarX, PlanarY, PlanarZ };

// Gives every object one u, v pair per vertex (replacing what it had), 0 to 1
// over the model's box, v growing upwards as the default characters' skin
// layout has it, so a skin painted for them is upright. The mesh must hold a
// vertex; box uses the normals the game computes.
void projectUvs(MeshData& mesh, UvProjection projection);
