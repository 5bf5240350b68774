// What the model store would make of each model name: the 3DS files and animations, checked once.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AnimationFile.h"
#include "DataSearch.h"
#include "Findings.h"
#include "Material.h"
#include "TextureCatalog.h"
#include "Vec3.h"

// One 3DS file as the game's reader makes it, without the vertex arrays.
struct MeshInfo {
    struct Object {
        std::string name;
        int vertices = 0, faces = 0, uvs = 0, materialIndex = 0;
        bool visible = true, textured = false;
    };
    std::string path;
    bool is3ds = false;
    std::vector<Material> materials;
    std::vector<Object> objects;
    int triangles = 0;
    long long elements = 0;     // what a frame copied from it holds (meshElements)
    Vec3 boundsMin, boundsMax;  // zero when there are no vertices
};

struct ModelInfo {
    std::string name;       // lowered, as the store asks for it
    std::string path;       // "" when not found
    bool loads = false;     // the store keeps a model for it (and takes a slot)
    bool animated = false;  // the name ends in 3: an animation description
    AnimationDescription animation;
    // Plain model: its one mesh. Animation: key 1 to keyCount, null where a
    // key file is not found. Every frame is built from key 1.
    std::vector<const MeshInfo*> keys;
    std::vector<std::string> keyNames;
    int frames = 0;  // meshes the model keeps: 1, or the animation's frame count
    // Mesh elements the store's load reads and builds (Model::elementsRead):
    // the file's, or every key's and frame's; key 1's alone when the frames
    // are over their budget; 0 when nothing is read.
    long long elementsRead = 0;
};

class ModelCatalog {
public:
    ModelCatalog(Findings& findings, DataSearch& search, TextureCatalog& textures)
        : findings_(findings), search_(search), textures_(textures) {}

    // The model as ModelStore::getModel loads it (the name is lowered first).
    const ModelInfo& model(const std::string& requested);
    // Reports at file:line what keeps the game from loading a model named
    // there; what says who names it ("the stand model"). A model not found is
    // an error, or a warning ending in withoutIt (what the game does without
    // it) when the game does well enough without it. False when it does not load.
    bool reportUse(const std::string& requested, const std::string& file, int line,
                   const std::string& what, const std::string& withoutIt = "");
    // Checks the textures the model's own materials name (models loaded without a skin).
    void checkOwnTextures(const ModelInfo& m);
    // A 3DS file at a located path, read and checked once.
    const MeshInfo& mesh(const std::string& path);

private:
    void loadAnimation(ModelInfo& m);
    void checkKeys(const ModelInfo& m);

    Findings& findings_;
    DataSearch& search_;
    TextureCatalog& textures_;
    std::map<std::string, std::unique_ptr<MeshInfo>> meshes_;  // by path
    std::map<std::string, ModelInfo> models_;                  // by lowered name
    std::map<std::string, bool> texturesChecked_;              // by mesh path
};
