// Program-wide cache of OpenGL textures, shared by name with reference counts.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <memory>
#include <string>

struct SDL_Surface;

struct TextureEntry {
    GLuint glName = 0;
    int refCount = 1;
    bool alpha = false;  // built from a colour image and an alpha companion (RGBA)
    bool blend = false;  // alpha-blended rather than alpha-tested; implies alpha
    std::string name;    // lowered requested name (at most 99 characters), not the path
};

// The alpha companion of a lowered texture name: the sign '-' (blended) or
// '+' (tested) before its four-character extension; "" for a name too short
// to have one.
inline std::string companionName(const std::string& name, char sign) {
    if (name.size() < 4) return "";
    const size_t at = name.size() - 4;
    return name.substr(0, at) + sign + name.substr(at);
}

class TextureStore {
public:
    static constexpr int MAX_TEXTURES = 100;
    // An entry's name holds this many characters; a longer name is refused.
    static constexpr size_t MAX_NAME = 99;

    TextureStore() = default;
    TextureStore(const TextureStore&) = delete;
    TextureStore& operator=(const TextureStore&) = delete;
    virtual ~TextureStore();  // clearTextures

    // Slot indices are stable for an entry's life; -1 means none.
    int getTexture(const char* fileName);
    int getTextureAuto(const char* fileName);
    int loadAlphaTexture(const char* colourName, const char* alphaName);
    int loadBlendedTexture(const char* colourName, const char* alphaName);
    void bindTexture(int slot);
    void unbindTexture();
    void releaseTexture(int slot);
    void deleteTexture(int slot);
    void clearTextures();
    void setTextureQuality(int quality);
    // Locates and decodes an image as 24-bit RGB rows, bottom row first; the
    // caller frees it with SDL_FreeSurface. Null on failure (with its message).
    SDL_Surface* loadImage(const char* fileName);

    // Read access for the HUD of tools and for tests.
    const TextureEntry* entry(int slot) const;
    int count() const { return count_; }
    bool mipmaps() const { return mipmaps_; }
    GLenum minFilter() const { return minFilter_; }
    GLenum magFilter() const { return magFilter_; }

private:
    // The lowest free slot, or -1 with the capacity message when the table is full.
    int freeSlot() const;
    int store(int slot, std::unique_ptr<TextureEntry> entry);
    int loadPlain(const std::string& loweredName);

    std::unique_ptr<TextureEntry> slots_[MAX_TEXTURES];
    int count_ = 0;
    bool mipmaps_ = false;
    GLenum minFilter_ = GL_LINEAR;
    GLenum magFilter_ = GL_LINEAR;
};

extern TextureStore textureStore;
