// One 3DS file in memory: objects, materials, bounds and display lists.
#pragma once

#include <string>
#include <vector>

#include "DisplayListMode.h"
#include "MeshData.h"

class TextureLookups;

class Mesh : public MeshData {
public:
    Mesh() = default;
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;
    ~Mesh();

    // Stores the two skin names (even when already loaded), then locates,
    // imports and builds the file once. A missing file gives a loaded, empty
    // mesh and true; a second load returns false.
    bool load(const char* fileName, const char* replacementTexture, const char* replacedTexture,
              DisplayListMode mode);
    // The same, sharing texture lookups with other meshes of one load.
    bool load(const char* fileName, const char* replacementTexture, const char* replacedTexture,
              DisplayListMode mode, TextureLookups& lookups);
    // Loads this mesh as a copy of a loaded source (materials, objects,
    // normals and bounds; no display lists) with these skin names and texture
    // references of its own, as loading the source's file again would give.
    void loadCopy(const Mesh& source, const char* replacementTexture, const char* replacedTexture,
                  TextureLookups& lookups);
    // (x, y, z) is the world position used for culling only; the caller has
    // set the modelview transform already.
    void draw(float x, float y, float z);
    void drawObject(const MeshObject& object);
    void renderObject(const MeshObject& object);
    // Releases textures and display lists and empties both sequences.
    void destroy();

    // Build steps, in the order load runs them around computeNormals and
    // computeBounds. Assigning textures needs no GL context.
    void assignTextures();
    void assignTextures(TextureLookups& lookups);
    void buildLists(DisplayListMode mode);

    bool wholeList = false;
    unsigned wholeListId = 0;
    bool loaded = false;
    std::string replacementTexture;  // skin texture name
    std::string replacedTexture;     // texture the skin replaces; empty means all

private:
    // The object's material, or null for -1 or an index past the material list.
    const Material* materialOf(const MeshObject& object) const;
    void deleteLists();
};
