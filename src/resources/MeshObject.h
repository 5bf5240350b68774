// One named triangle object of a 3DS file, in the game's axes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Vec3.h"

struct MeshObject {
    std::string name;      // at most 254 characters
    bool visible = true;   // false when the name begins with an underscore
    int materialIndex = 0; // index into the mesh's materials; -1 unknown material; 0 when none named
    bool textured = false; // its material has a texture file

    std::vector<Vec3> vertices;  // positions; file (x, y, z) stored as (x, z, -y)
    std::vector<Vec3> normals;   // one unit normal per vertex, filled by the build
    std::vector<float> uvs;      // u, v pairs as stored in the file
    std::vector<uint32_t> faces; // three vertex indices per triangle, file order;
                                 // every index is below vertexCount() (the reader drops others)

    Vec3 centre;
    float radius = 0.0f;  // largest half-extent of the box, not the half-diagonal
    Vec3 boundsMin;
    Vec3 boundsMax;

    bool hasList = false;  // own display list (mode 1)
    unsigned listId = 0;

    int vertexCount() const { return static_cast<int>(vertices.size()); }
    int faceCount() const { return static_cast<int>(faces.size() / 3); }
    int uvCount() const { return static_cast<int>(uvs.size() / 2); }
};
