// Placeholder until the texture cache lands.
#include "TextureStore.h"

TextureStore::~TextureStore() = default;
int TextureStore::getTexture(const char*) { return -1; }
int TextureStore::getTextureAuto(const char*) { return -1; }
int TextureStore::loadAlphaTexture(const char*, const char*) { return -1; }
int TextureStore::loadBlendedTexture(const char*, const char*) { return -1; }
void TextureStore::bindTexture(int) {}
void TextureStore::unbindTexture() {}
void TextureStore::releaseTexture(int) {}
void TextureStore::deleteTexture(int) {}
void TextureStore::clearTextures() {}
void TextureStore::setTextureQuality(int) {}
SDL_Surface* TextureStore::loadImage(const char*) { return nullptr; }
const TextureEntry* TextureStore::entry(int) const { return nullptr; }
