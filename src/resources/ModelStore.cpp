// Program-wide cache of loaded models, keyed by names and load options.
#include "ModelStore.h"

#include <cstdio>
#include <cstring>

namespace {

// The entry's name fields hold 254 characters.
constexpr size_t MAX_MODEL_NAME = 254;

std::string lowered(const char* name) {
    std::string out(name ? name : "");
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

bool fits(const char* name) {
    if (!name || std::strlen(name) <= MAX_MODEL_NAME) return true;
    std::fprintf(stderr, "Model name too long (more than %zu characters): %.60s...\n",
                 MAX_MODEL_NAME, name);
    return false;
}

}  // namespace

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

Model* ModelStore::getModel(const char* fileName, const char* replacementTexture,
                            const char* replacedTexture, DisplayListMode mode, bool mirrorX,
                            bool mirrorY, bool mirrorZ) {
    if (!fileName || !fits(fileName) || !fits(replacementTexture) || !fits(replacedTexture))
        return nullptr;
    ModelStoreEntry key;
    key.fileName = lowered(fileName);
    key.replacementTexture = lowered(replacementTexture);
    key.replacedTexture = lowered(replacedTexture);
    key.mirrorX = mirrorX;
    key.mirrorY = mirrorY;
    key.mirrorZ = mirrorZ;
    key.listMode = mode;

    for (int i = 0; i < count_; ++i) {
        ModelStoreEntry& e = *slots_[i];
        if (e.fileName == key.fileName && e.replacementTexture == key.replacementTexture &&
            e.replacedTexture == key.replacedTexture && e.listMode == key.listMode &&
            e.mirrorX == key.mirrorX && e.mirrorY == key.mirrorY && e.mirrorZ == key.mirrorZ) {
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
    std::printf("Loading model %s\n", fileName);
    auto model = std::make_unique<Model>();
    if (!model->load(key.fileName.c_str(), key.replacementTexture.c_str(),
                     key.replacedTexture.c_str(), mode, mirrorX, mirrorY, mirrorZ))
        return nullptr;
    auto e = std::make_unique<ModelStoreEntry>(std::move(key));
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
}
