// Program-wide cache of loaded models, keyed by names and load options.
#pragma once

#include <memory>
#include <string>

#include "DisplayListMode.h"
#include "Model.h"
#include "ModelKey.h"

// A loaded model under its key.
struct ModelStoreEntry : ModelKey {
    std::unique_ptr<Model> model;
    int refCount = 1;
};

class ModelStore {
public:
    static constexpr int MAX_MODELS = 100;
    // The most mesh elements (see meshElements) the models loaded between two
    // clears may read and build in all. Measured in the game under Mesa's
    // software renderer, a fight's models cost about 25 bytes and 130 to 200 ns
    // per element (keys, frames, normals and display lists). A fight may take
    // 512 MiB of models on a 2 GiB machine, beside the system, its textures and
    // the game: 20,000,000 elements, some 480 MB and 3 to 4 s of loading. Seven
    // looks of a 5,000-triangle character animated like the default ones load
    // 5.4 million; the default content's fights under 400,000.
    static constexpr long long MAX_LOADED_ELEMENTS = 20000000;

    // elementBudget replaces MAX_LOADED_ELEMENTS (tests load against a small one).
    explicit ModelStore(long long elementBudget = MAX_LOADED_ELEMENTS)
        : elementBudget_(elementBudget) {}
    ModelStore(const ModelStore&) = delete;
    ModelStore& operator=(const ModelStore&) = delete;
    ~ModelStore();  // clearModels

    // Null when the table is full, the loaded elements are over their budget
    // or the model does not load.
    Model* getModel(const char* fileName, const char* replacementTexture,
                    const char* replacedTexture, DisplayListMode mode, bool mirrorX, bool mirrorY,
                    bool mirrorZ);
    Model* getModel(const char* fileName, DisplayListMode mode, bool mirrorX, bool mirrorY,
                    bool mirrorZ);
    Model* getModel(const ModelRequest& request);
    void releaseModel(Model* model);
    void clearModels();

    int count() const { return count_; }
    const ModelStoreEntry* entry(int slot) const;
    // Mesh elements read by the loads since the last clear, failed ones included.
    long long elementsLoaded() const { return elementsLoaded_; }

private:
    std::unique_ptr<ModelStoreEntry> slots_[MAX_MODELS];  // dense: 0 .. count-1
    int count_ = 0;
    long long elementsLoaded_ = 0;
    long long elementBudget_;
};

extern ModelStore modelStore;
