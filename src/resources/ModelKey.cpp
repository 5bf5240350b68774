// The model store's key rules, free of GL so that model budgets can be counted without a window.
#include "ModelKey.h"

#include <cstring>
#include <tuple>

#include "Text.h"

namespace {

bool tooLong(const char* name) {
    return name != nullptr && std::strlen(name) > MAX_MODEL_NAME;
}

auto tied(const ModelKey& k) {
    return std::tie(k.fileName, k.replacementTexture, k.replacedTexture, k.listMode, k.mirrorX,
                    k.mirrorY, k.mirrorZ);
}

}  // namespace

bool ModelKey::operator==(const ModelKey& other) const {
    return tied(*this) == tied(other);
}

bool makeModelKey(const char* fileName, const char* replacementTexture, const char* replacedTexture,
                  DisplayListMode mode, bool mirrorX, bool mirrorY, bool mirrorZ, ModelKey& key,
                  const char** overlong) {
    if (fileName == nullptr) return false;
    for (const char* name : {fileName, replacementTexture, replacedTexture}) {
        if (!tooLong(name)) continue;
        if (overlong != nullptr) *overlong = name;
        return false;
    }
    key.fileName = lowered(fileName);
    key.replacementTexture = lowered(replacementTexture ? replacementTexture : "");
    key.replacedTexture = lowered(replacedTexture ? replacedTexture : "");
    key.listMode = mode;
    key.mirrorX = mirrorX;
    key.mirrorY = mirrorY;
    key.mirrorZ = mirrorZ;
    return true;
}

bool makeModelKey(const ModelRequest& r, ModelKey& key) {
    return makeModelKey(r.fileName.c_str(), r.replacementTexture.c_str(), r.replacedTexture.c_str(),
                        r.listMode, r.mirrorX, r.mirrorY, r.mirrorZ, key);
}
