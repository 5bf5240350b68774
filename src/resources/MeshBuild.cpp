// Loading a mesh: locate and import the file, textures per material, normals, bounds, lists.
#include <cstdio>
#include <cstring>

#include "ChunkReader.h"
#include "DataLocator.h"
#include "Mesh.h"
#include "TextureLookups.h"

namespace {

std::string cutName(const char* text) {
    if (!text) return std::string();
    return std::string(text, strnlen(text, ChunkReader::MAX_NAME));
}

}  // namespace

bool Mesh::load(const char* fileName, const char* replacement, const char* replaced,
                DisplayListMode mode) {
    TextureLookups lookups;
    return load(fileName, replacement, replaced, mode, lookups);
}

bool Mesh::load(const char* fileName, const char* replacement, const char* replaced,
                DisplayListMode mode, TextureLookups& lookups) {
    replacementTexture = cutName(replacement);
    replacedTexture = cutName(replaced);
    if (loaded) return false;

    char path[DATA_NAME_SIZE] = {0};
    const size_t nameLength = fileName ? strnlen(fileName, DATA_NAME_SIZE) : 0;
    if (nameLength < DATA_NAME_SIZE - 1) {
        if (nameLength > 0) std::memcpy(path, fileName, nameLength);
        if (locateDataFile(path, true)) {
            ChunkReader::import(*this, path);
            assignTextures(lookups);
        }
    } else {
        std::fprintf(stderr, "Unable to locate file %.*s...\n", 64, fileName);
    }
    computeNormals();
    computeBounds();
    buildLists(mode);
    loaded = true;
    return true;
}

void Mesh::loadCopy(const Mesh& source, const char* replacement, const char* replaced,
                    TextureLookups& lookups) {
    replacementTexture = cutName(replacement);
    replacedTexture = cutName(replaced);
    if (loaded) return;
    materials = source.materials;
    objects = source.objects;
    for (MeshObject& o : objects) {
        o.hasList = false;
        o.listId = 0;
    }
    assignTextures(lookups);
    triangleCount = source.triangleCount;
    centre = source.centre;
    radius = source.radius;
    boundsMin = source.boundsMin;
    boundsMax = source.boundsMax;
    loaded = true;
}
