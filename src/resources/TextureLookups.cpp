// Texture lookups remembered by name for the length of one load.
#include "TextureLookups.h"

#include "TextureStore.h"

int TextureLookups::take(const std::string& name) {
    const auto known = outcomes_.find(name);
    if (known != outcomes_.end()) {
        if (known->second == Outcome::Failed) return -1;
        if (known->second == Outcome::Plain) return textureStore.getTexture(name.c_str());
    }
    const int slot = textureStore.getTextureAuto(name.c_str());
    const TextureEntry* e = textureStore.entry(slot);
    outcomes_[name] = !e ? Outcome::Failed : e->alpha ? Outcome::Companion : Outcome::Plain;
    return slot;
}
