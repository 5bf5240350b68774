// Reads the subset of the 3DS chunk tree the game uses into a Mesh.
#pragma once

class Mesh;

class ChunkReader {
public:
    // path is already located. True when the main chunk was read.
    static bool import(Mesh& mesh, const char* path);
};
