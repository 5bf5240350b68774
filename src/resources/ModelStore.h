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

    ModelStore() = default;
    ModelStore(const ModelStore&) = delete;
    ModelStore& operator=(const ModelStore&) = delete;
    ~ModelStore();  // clearModels

    // Null when the table is full or the model does not load.
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

private:
    std::unique_ptr<ModelStoreEntry> slots_[MAX_MODELS];  // dense: 0 .. count-1
    int count_ = 0;
};

extern ModelStore modelStore;
