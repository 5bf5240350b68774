// Program-wide cache of OpenGL textures, shared by name with reference counts.
#include "TextureStore.h"

#include <GL/glu.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DataLocator.h"
#include "ImageSurface.h"
#include "Text.h"

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<uint8_t[], FreeDeleter>;

// Names must fit the locator's buffer and the entry's name field.
bool acceptableName(const char* name, size_t limit) {
    const size_t n = std::strlen(name);
    if (n <= limit) return true;
    std::fprintf(stderr, "Texture name too long (more than %zu characters): %.60s...\n", limit,
                 name);
    return false;
}

// Copies name into a locator buffer and resolves it there.
bool locate(const char* name, char (&path)[DATA_NAME_SIZE], bool complain) {
    if (std::strlen(name) >= size_t(DATA_NAME_SIZE)) return false;
    std::strcpy(path, name);
    return locateDataFile(path, complain);
}

// Uploads level 0 (or every mipmap level) of a width x height image whose rows
// are rowBytes apart; GL reads it tightly packed.
void uploadRgb(const uint8_t* pixels, int w, int h, size_t rowBytes, bool mipmaps) {
    std::vector<uint8_t> packed;
    if (rowBytes != size_t(w) * 3) {
        packed.resize(size_t(w) * 3 * h);
        for (int y = 0; y < h; ++y)
            std::memcpy(&packed[size_t(w) * 3 * y], pixels + rowBytes * y, size_t(w) * 3);
        pixels = packed.data();
    }
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (mipmaps)
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    else
        glTexImage2D(GL_TEXTURE_2D, 0, 3, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

}  // namespace

TextureStore::~TextureStore() {
    clearTextures();
}

const TextureEntry* TextureStore::entry(int slot) const {
    if (slot < 0 || slot >= MAX_TEXTURES) return nullptr;
    return slots_[slot].get();
}

int TextureStore::freeSlot() const {
    if (count_ >= MAX_TEXTURES) {
        std::fprintf(stderr,
                     "file: %s, line: %d MAX_TEXTURES too small - please use larger number.\n",
                     __FILE_NAME__, __LINE__);
        return -1;
    }
    for (int i = 0; i < MAX_TEXTURES; ++i)
        if (!slots_[i]) return i;
    return -1;  // GCOVR_EXCL_LINE: fewer entries than slots leave one free
}

int TextureStore::store(int slot, std::unique_ptr<TextureEntry> e) {
    slots_[slot] = std::move(e);
    ++count_;
    return slot;
}

int TextureStore::getTexture(const char* fileName) {
    if (!fileName || !acceptableName(fileName, MAX_NAME)) return -1;
    const std::string name = lowered(fileName);
    for (int i = 0; i < MAX_TEXTURES; ++i) {
        if (slots_[i] && slots_[i]->name == name) {
            ++slots_[i]->refCount;
            return i;
        }
    }
    return loadPlain(name);
}

int TextureStore::loadPlain(const std::string& name) {
    const int slot = freeSlot();
    if (slot < 0) return -1;
    SurfacePtr image(loadImage(name.c_str()));
    if (!image) return -1;

    auto e = std::make_unique<TextureEntry>();
    glGenTextures(1, &e->glName);
    glBindTexture(GL_TEXTURE_2D, e->glName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(magFilter_));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(minFilter_));
    uploadRgb(static_cast<const uint8_t*>(image->pixels), image->w, image->h, size_t(image->pitch),
              mipmaps_);
    e->name = name;
    return store(slot, std::move(e));
}

SDL_Surface* TextureStore::loadImage(const char* fileName) {
    char path[DATA_NAME_SIZE];
    if (!fileName || !acceptableName(fileName, DATA_NAME_SIZE - 1)) return nullptr;
    if (!locate(fileName, path, true)) return nullptr;
    SDL_Surface* decoded = decodeImageFile(path);
    if (!decoded) {
        std::fprintf(stderr, "Unable to load %s: %s\n", path, SDL_GetError());
        return nullptr;
    }
    const char* problem = "";
    SurfacePtr image(textureRows(decoded, problem));
    // GCOVR_EXCL_START: decoded pictures convert, and have pixels, unless memory runs out
    if (!image) {
        if (std::strcmp(problem, "Out of memory") == 0)
            std::fprintf(stderr, "Out of memory\n");
        else
            std::fprintf(stderr, "Unable to load %s: %s\n", path, problem);
        return nullptr;
    }
    // GCOVR_EXCL_STOP
    return image.release();
}

int TextureStore::getTextureAuto(const char* fileName) {
    if (!fileName || !acceptableName(fileName, MAX_NAME)) return -1;
    const std::string a = lowered(fileName);
    const std::string blended = companionName(a, '-'), tested = companionName(a, '+');
    char companion[DATA_NAME_SIZE];
    if (!blended.empty() && locate(blended.c_str(), companion, false))
        return loadBlendedTexture(a.c_str(), companion);
    if (!tested.empty() && locate(tested.c_str(), companion, false))
        return loadAlphaTexture(a.c_str(), companion);
    return getTexture(a.c_str());
}

int TextureStore::loadAlphaTexture(const char* colourName, const char* alphaName) {
    if (!colourName || !alphaName || !acceptableName(colourName, MAX_NAME) ||
        !acceptableName(alphaName, DATA_NAME_SIZE - 1))
        return -1;
    const int slot = freeSlot();
    if (slot < 0) return -1;
    char colourPath[DATA_NAME_SIZE], alphaPath[DATA_NAME_SIZE];
    if (!locate(colourName, colourPath, true)) return -1;
    SurfacePtr colour(toPlain24(decodeImageFile(colourPath)));
    if (!colour) return -1;
    if (!locate(alphaName, alphaPath, true)) return -1;
    SurfacePtr alpha(toPlain24(decodeImageFile(alphaPath)));
    if (!alpha) return -1;
    const int w = colour->w, h = colour->h;
    if (alpha->w != w || alpha->h != h) {
        std::fprintf(stderr, "Alpha image %s is %dx%d but its colour image %s is %dx%d\n",
                     alphaPath, alpha->w, alpha->h, colourPath, w, h);
        return -1;
    }
    Buffer rgba(static_cast<uint8_t*>(std::malloc(size_t(w) * h * 4 + 1)));
    // GCOVR_EXCL_START: only when memory runs out
    if (!rgba) {
        std::fprintf(stderr, "Out of memory while loading texture %s\n", alphaPath);
        return -1;
    }
    // GCOVR_EXCL_STOP
    fillRgba(colour.get(), alpha.get(), rgba.get());

    auto e = std::make_unique<TextureEntry>();
    glGenTextures(1, &e->glName);
    glBindTexture(GL_TEXTURE_2D, e->glName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(magFilter_));
    // Alpha textures never get mipmaps, so a mipmapping filter would leave them incomplete.
    const GLenum minFilter = minFilter_ == GL_LINEAR_MIPMAP_NEAREST ? GL_LINEAR : minFilter_;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(minFilter));
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.get());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    e->name = colourName;
    e->alpha = true;
    return store(slot, std::move(e));
}

int TextureStore::loadBlendedTexture(const char* colourName, const char* alphaName) {
    const int slot = loadAlphaTexture(colourName, alphaName);
    if (slot != -1) slots_[slot]->blend = true;
    return slot;
}

void TextureStore::bindTexture(int slot) {
    const TextureEntry* e = entry(slot);
    if (!e) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, e->glName);
    if (e->alpha) {
        glEnable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
        glColor4f(1, 1, 1, 1);
        if (e->blend) {
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glAlphaFunc(GL_ALWAYS, 0.0f);
        } else {
            glBlendFunc(GL_ONE, GL_ZERO);
            glAlphaFunc(GL_GREATER, 0.2f);
        }
        return;
    }
    glColor3ub(255, 255, 255);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
}

void TextureStore::unbindTexture() {
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glColor3ub(255, 255, 255);
}

void TextureStore::releaseTexture(int slot) {
    if (!entry(slot)) return;
    if (--slots_[slot]->refCount < 1) deleteTexture(slot);
}

void TextureStore::deleteTexture(int slot) {
    if (!entry(slot)) return;
    glDeleteTextures(1, &slots_[slot]->glName);
    slots_[slot].reset();
    --count_;
}

void TextureStore::clearTextures() {
    for (int i = 0; i < MAX_TEXTURES; ++i) deleteTexture(i);
}

void TextureStore::setTextureQuality(int quality) {
    // Columns: minification filter, magnification filter, mipmaps.
    struct Quality {
        GLenum minFilter, magFilter;
        bool mipmaps;
    };
    static constexpr Quality QUALITIES[] = {
        {GL_NEAREST, GL_NEAREST, false},
        {GL_LINEAR, GL_LINEAR, false},
        {GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR, true},
    };
    if (quality < 0 || quality > 2) return;
    minFilter_ = QUALITIES[quality].minFilter;
    magFilter_ = QUALITIES[quality].magFilter;
    mipmaps_ = QUALITIES[quality].mipmaps;
}
