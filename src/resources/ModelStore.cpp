// Placeholder until the model cache lands.
#include "ModelStore.h"

ModelStore::~ModelStore() = default;
Model* ModelStore::getModel(const char*, const char*, const char*, DisplayListMode, bool, bool,
                            bool) {
    return nullptr;
}
Model* ModelStore::getModel(const char*, DisplayListMode, bool, bool, bool) { return nullptr; }
void ModelStore::releaseModel(Model*) {}
void ModelStore::clearModels() {}
const ModelStoreEntry* ModelStore::entry(int) const { return nullptr; }
