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
    // clears may read and build in all, so a fight's load stays within
    // about 1.5 s and 350 MB however many of its models name heavy files
    // (each skin and mirror loads a file again). The default content's fights
    // load under 400,000.
    static constexpr long long MAX_LOADED_ELEMENTS = 5000000;

    ModelStore() = default;
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
};

extern ModelStore modelStore;
