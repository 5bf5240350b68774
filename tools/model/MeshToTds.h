// The 3DS scene that the game's reader turns back into a given mesh, for writing it out again.
#pragma once

#include <cstdint>

#include "MeshData.h"
#include "TdsWriter.h"

// Fills scene so that reading writeTds(scene) gives mesh's objects (names,
// positions, faces, texture coordinates, material index and textured flag)
// and materials (names, colours, texture files) again, and version as the
// file version. False, with a message on stderr, when the 3DS format cannot
// say it: a count above 65535, or a material choice the reader cannot make.
bool meshToTds(const MeshData& mesh, uint32_t version, TdsScene& scene);
