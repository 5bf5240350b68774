// Turning decoded SDL surfaces into the tightly known 24-bit layout textures are built from.
#include "ImageSurface.h"

#include <SDL_image.h>
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <memory>

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

// Where a format's header keeps the picture size. Columns: byte offset of the
// width, of the height, field size in bytes, big-endian; size 0: not checked
// (libjpeg keeps its own limit; PNM sizes are text).
struct SizeField {
    int widthAt, heightAt, bytes;
    bool bigEndian;
};
constexpr SizeField BMP_SIZE{18, 22, 4, false};
constexpr SizeField OS2_BMP_SIZE{18, 20, 2, false};  // info header of 12 bytes
constexpr SizeField PNG_SIZE{16, 20, 4, true};
constexpr SizeField TGA_SIZE{12, 14, 2, false};
constexpr SizeField NOT_CHECKED{0, 0, 0, false};

// Columns: magic test, decoder, header size field.
struct Decoder {
    int (*is)(SDL_RWops*);
    SDL_Surface* (*load)(SDL_RWops*);
    SizeField size;
};
constexpr Decoder DECODERS[] = {
    {IMG_isBMP, IMG_LoadBMP_RW, BMP_SIZE},
    {IMG_isJPG, IMG_LoadJPG_RW, NOT_CHECKED},
    {IMG_isPNG, IMG_LoadPNG_RW, PNG_SIZE},
    {IMG_isPNM, IMG_LoadPNM_RW, NOT_CHECKED},  // text header; the decoder checks it
};

// One header number; BMP heights are negative for top-down pictures.
long long headerNumber(const uint8_t* p, int bytes, bool bigEndian) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint32_t(p[bigEndian ? i : bytes - 1 - i]) << (8 * (bytes - 1 - i));
    if (bytes == 4) return static_cast<int32_t>(value);
    return value;
}

// False (with SDL's error set) when the header at the read position declares
// a side above MAX_IMAGE_SIDE. The position is left where it was.
bool sizeAcceptable(SDL_RWops* rw, SizeField field) {
    if (field.bytes == 0) return true;
    const int start = SDL_RWtell(rw);
    uint8_t header[32] = {};
    const int got = SDL_RWread(rw, header, 1, sizeof header);
    SDL_RWseek(rw, start, RW_SEEK_SET);
    if (field.widthAt == BMP_SIZE.widthAt && header[0] == 'B' &&
        headerNumber(header + 14, 4, false) == 12)
        field = OS2_BMP_SIZE;
    if (got < field.heightAt + field.bytes) return true;  // the decoder refuses it
    long long w = headerNumber(header + field.widthAt, field.bytes, field.bigEndian);
    long long h = headerNumber(header + field.heightAt, field.bytes, field.bigEndian);
    if (w < 0) w = -w;
    if (h < 0) h = -h;
    if (w <= MAX_IMAGE_SIDE && h <= MAX_IMAGE_SIDE) return true;
    SDL_SetError("image is wider or higher than %d pixels", MAX_IMAGE_SIDE);
    return false;
}

}  // namespace

SDL_Surface* decodeImage(SDL_RWops* rw, const char* extension) {
    if (!rw) return nullptr;
    const int start = SDL_RWtell(rw);
    for (const Decoder& d : DECODERS) {
        SDL_RWseek(rw, start, RW_SEEK_SET);
        if (!d.is(rw)) continue;
        SDL_RWseek(rw, start, RW_SEEK_SET);
        return sizeAcceptable(rw, d.size) ? d.load(rw) : nullptr;
    }
    SDL_RWseek(rw, start, RW_SEEK_SET);
    if (extension && strcasecmp(extension, "tga") == 0)
        return sizeAcceptable(rw, TGA_SIZE) ? IMG_LoadTGA_RW(rw) : nullptr;
    SDL_SetError("not a BMP, JPEG, PNG, PNM or TGA image");
    return nullptr;
}

SDL_Surface* decodeImageFile(const char* path) {
    SDL_RWops* rw = SDL_RWFromFile(path, "rb");
    if (!rw) return nullptr;
    const char* dot = std::strrchr(path, '.');
    SDL_Surface* image = decodeImage(rw, dot ? dot + 1 : nullptr);
    SDL_RWclose(rw);
    return image;
}

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

SDL_Surface* textureRows(SDL_Surface* decoded, const char*& problem) {
    std::unique_ptr<SDL_Surface, SurfaceDeleter> image(toPlain24(decoded));
    if (!image) {
        problem = "cannot convert to 24-bit RGB";
        return nullptr;
    }
    if (image->w <= 0 || image->h <= 0) {
        problem = "empty image";
        return nullptr;
    }
    uint8_t* row = static_cast<uint8_t*>(std::malloc(size_t(image->pitch)));
    if (!row) {
        problem = "Out of memory";
        return nullptr;
    }
    flipRowsToRgb(image.get(), row);
    std::free(row);
    return image.release();
}

void fillRgba(const SDL_Surface* colour, const SDL_Surface* alpha, uint8_t* rgba) {
    const int w = colour->w, h = colour->h;
    const bool swap = blueFirst(colour);
    const uint8_t* cPixels = static_cast<const uint8_t*>(colour->pixels);
    const uint8_t* aPixels = static_cast<const uint8_t*>(alpha->pixels);
    for (int y = 0; y < h; ++y) {
        const uint8_t* c = cPixels + size_t(colour->pitch) * y;
        const uint8_t* a = aPixels + size_t(alpha->pitch) * y;
        uint8_t* out = rgba + size_t(w) * 4 * (h - 1 - y);
        for (int x = 0; x < w; ++x, c += 3, a += 3, out += 4) {
            out[0] = swap ? c[2] : c[0];
            out[1] = c[1];
            out[2] = swap ? c[0] : c[2];
            out[3] = a[0];
        }
    }
}
