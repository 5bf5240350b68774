// Turning decoded SDL surfaces into the tightly known 24-bit layout textures are built from.
#include "ImageSurface.h"

#include <cstring>

namespace {

// Masks of a 24-bit surface whose bytes read red, green, blue in memory.
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
constexpr Uint32 RGB_RED = 0x0000ff, RGB_GREEN = 0x00ff00, RGB_BLUE = 0xff0000;
#else
constexpr Uint32 RGB_RED = 0xff0000, RGB_GREEN = 0x00ff00, RGB_BLUE = 0x0000ff;
#endif

// Byte offset of the channel in a stored 3-byte pixel.
int byteOfShift(int shift) {
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
    return shift / 8;
#else
    return 2 - shift / 8;
#endif
}

}  // namespace

bool isPlain24(const SDL_Surface* surface) {
    const SDL_PixelFormat* f = surface->format;
    if (f->BitsPerPixel != 24 || f->BytesPerPixel != 3 || f->palette) return false;
    if (f->Rloss || f->Gloss || f->Bloss) return false;
    const int r = byteOfShift(f->Rshift), g = byteOfShift(f->Gshift), b = byteOfShift(f->Bshift);
    if (g != 1) return false;
    if (surface->pitch < surface->w * 3) return false;
    return (r == 0 && b == 2) || (r == 2 && b == 0);
}

bool blueFirst(const SDL_Surface* surface) {
    return byteOfShift(surface->format->Bshift) == 0;
}

SDL_Surface* toPlain24(SDL_Surface* surface) {
    if (!surface || isPlain24(surface)) return surface;
    SDL_PixelFormat format;
    std::memset(&format, 0, sizeof format);
    format.BitsPerPixel = 24;
    format.BytesPerPixel = 3;
    format.Rmask = RGB_RED;
    format.Gmask = RGB_GREEN;
    format.Bmask = RGB_BLUE;
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
    format.Rshift = 0;
    format.Gshift = 8;
    format.Bshift = 16;
#else
    format.Rshift = 16;
    format.Gshift = 8;
    format.Bshift = 0;
#endif
    format.alpha = 255;
    // Converting a surface with per-surface or per-pixel alpha would blend it
    // onto black; the colour values themselves are wanted.
    SDL_SetAlpha(surface, 0, 255);
    SDL_SetColorKey(surface, 0, 0);
    SDL_Surface* converted = SDL_ConvertSurface(surface, &format, SDL_SWSURFACE);
    SDL_FreeSurface(surface);
    if (converted && !isPlain24(converted)) {
        SDL_FreeSurface(converted);
        return nullptr;
    }
    return converted;
}

void flipRowsToRgb(SDL_Surface* surface, uint8_t* row) {
    uint8_t* pixels = static_cast<uint8_t*>(surface->pixels);
    const size_t pitch = surface->pitch;
    const int h = surface->h;
    for (int y = 0; y < h / 2; ++y) {
        uint8_t* top = pixels + pitch * y;
        uint8_t* bottom = pixels + pitch * (h - 1 - y);
        std::memcpy(row, top, pitch);
        std::memcpy(top, bottom, pitch);
        std::memcpy(bottom, row, pitch);
    }
    if (!blueFirst(surface)) return;
    for (int y = 0; y < h; ++y) {
        uint8_t* p = pixels + pitch * y;
        for (int x = 0; x < surface->w; ++x, p += 3) {
            const uint8_t first = p[0];
            p[0] = p[2];
            p[2] = first;
        }
    }
}

std::vector<uint8_t> packedRgb(const SDL_Surface* surface) {
    const size_t rowBytes = size_t(surface->w) * 3;
    std::vector<uint8_t> out(rowBytes * surface->h);
    const uint8_t* pixels = static_cast<const uint8_t*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y)
        std::memcpy(out.data() + rowBytes * y, pixels + size_t(surface->pitch) * y, rowBytes);
    return out;
}
