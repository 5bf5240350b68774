// Program-wide cache of loaded models, keyed by names and load options.
#include "ModelStore.h"

#include <cstdio>

ModelStore::~ModelStore() {
    clearModels();
}

const ModelStoreEntry* ModelStore::entry(int slot) const {
    if (slot < 0 || slot >= MAX_MODELS) return nullptr;
    return slots_[slot].get();
}

Model* ModelStore::getModel(const char* fileName, DisplayListMode mode, bool mirrorX, bool mirrorY,
                            bool mirrorZ) {
    return getModel(fileName, "", "", mode, mirrorX, mirrorY, mirrorZ);
}

Model* ModelStore::getModel(const ModelRequest& r) {
    return getModel(r.fileName.c_str(), r.replacementTexture.c_str(), r.replacedTexture.c_str(),
                    r.listMode, r.mirrorX, r.mirrorY, r.mirrorZ);
}

Model* ModelStore::getModel(const char* fileName, const char* replacementTexture,
                            const char* replacedTexture, DisplayListMode mode, bool mirrorX,
                            bool mirrorY, bool mirrorZ) {
    ModelKey key;
    const char* overlong = nullptr;
    if (!makeModelKey(fileName, replacementTexture, replacedTexture, mode, mirrorX, mirrorY,
                      mirrorZ, key, &overlong)) {
        if (overlong != nullptr)
            std::fprintf(stderr, "Model name too long (more than %zu characters): %.60s...\n",
                         MAX_MODEL_NAME, overlong);
        return nullptr;
    }
    for (int i = 0; i < count_; ++i) {
        ModelStoreEntry& e = *slots_[i];
        if (e == key) {
            ++e.refCount;
            std::printf("Getting used model %s\n", fileName);
            return e.model.get();
        }
    }
    if (count_ >= MAX_MODELS) {
        std::fprintf(stderr,
                     "file: %s, line: %d MAX_MODELS too small - please use larger number.\n",
                     __FILE_NAME__, __LINE__);
        return nullptr;
    }
    if (elementsLoaded_ >= elementBudget_) {
        std::fprintf(stderr,
                     "Model %s not loaded: this fight's models already hold %lld elements, "
                     "the most the game loads at once is %lld\n",
                     fileName, elementsLoaded_, elementBudget_);
        return nullptr;
    }
    std::printf("Loading model %s\n", fileName);
    auto model = std::make_unique<Model>();
    const bool loaded = model->load(key.fileName.c_str(), key.replacementTexture.c_str(),
                                    key.replacedTexture.c_str(), mode, mirrorX, mirrorY, mirrorZ);
    elementsLoaded_ += model->elementsRead;  // the time went into it either way
    if (!loaded) return nullptr;
    auto e = std::make_unique<ModelStoreEntry>();
    static_cast<ModelKey&>(*e) = std::move(key);
    e->model = std::move(model);
    e->refCount = 1;
    slots_[count_++] = std::move(e);
    return slots_[count_ - 1]->model.get();
}

void ModelStore::releaseModel(Model* model) {
    if (!model) return;
    for (int i = 0; i < count_; ++i) {
        if (slots_[i]->model.get() != model) continue;
        if (--slots_[i]->refCount > 0) return;
        slots_[i].reset();  // the model's destructor gives back its textures and lists
        --count_;
        // Keep the table dense: the last entry fills the hole.
        if (i != count_) slots_[i] = std::move(slots_[count_]);
        return;
    }
}

void ModelStore::clearModels() {
    for (auto& slot : slots_) slot.reset();
    count_ = 0;
    elementsLoaded_ = 0;
}
