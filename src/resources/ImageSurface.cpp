// Decoding image files once walked, and turning the surfaces into the 24-bit layout of textures.
#include "ImageSurface.h"

#include <SDL_image.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "ImageHeader.h"
#include "LibraryDecoders.h"

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

// Columns: format, SDL_image decoder reading the file from an SDL_RWops, or
// the game's own decoder reading it from memory.
struct Decoder {
    ImageFormat format;
    SDL_Surface* (*load)(SDL_RWops*);
    SDL_Surface* (*decode)(const uint8_t*, size_t);
};
constexpr Decoder DECODERS[] = {
    {ImageFormat::Bmp, IMG_LoadBMP_RW, nullptr},  {ImageFormat::Cur, IMG_LoadCUR_RW, nullptr},
    {ImageFormat::Gif, IMG_LoadGIF_RW, nullptr},  {ImageFormat::Ico, IMG_LoadICO_RW, nullptr},
    {ImageFormat::Jpeg, IMG_LoadJPG_RW, nullptr}, {ImageFormat::Pcx, IMG_LoadPCX_RW, nullptr},
    {ImageFormat::Png, IMG_LoadPNG_RW, nullptr},  {ImageFormat::Pnm, IMG_LoadPNM_RW, nullptr},
    {ImageFormat::Tga, IMG_LoadTGA_RW, nullptr},  {ImageFormat::Tiff, nullptr, decodeTiff},
    {ImageFormat::Webp, nullptr, decodeWebp},
};

}  // namespace

SDL_Surface* decodeImage(const void* data, size_t size, const char* extension) {
    ImageHeader header;
    const char* problem = inspectImage(static_cast<const uint8_t*>(data), size, extension, header);
    if (problem) {
        SDL_SetError("%s", problem);
        return nullptr;
    }
    const Decoder* decoder = nullptr;
    for (const Decoder& d : DECODERS)
        if (d.format == header.format) decoder = &d;
    if (!decoder) return nullptr;  // GCOVR_EXCL_LINE: every format inspectImage passes has one
    SDL_Surface* image = nullptr;
    if (decoder->decode) {
        image = decoder->decode(static_cast<const uint8_t*>(data), size);
    } else if (SDL_RWops* rw = SDL_RWFromConstMem(data, int(size))) {  // GCOVR_EXCL_LINE: no memory
        image = decoder->load(rw);
        SDL_RWclose(rw);
    }
    // GCOVR_EXCL_START: a second guard; the decoders size pictures by the headers walked above
    if (image && (problem = imageSizeProblem(image->w, image->h))) {
        SDL_FreeSurface(image);
        SDL_SetError("%s", problem);
        return nullptr;
    }
    // GCOVR_EXCL_STOP
    return image;
}

SDL_Surface* decodeImageFile(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file) {
        SDL_SetError("cannot open the file: %s", std::strerror(errno));
        return nullptr;
    }
    // Reading stops once past the limit: a huge file costs one block more, not its size.
    std::vector<uint8_t> bytes;
    uint8_t block[65536];
    size_t got;
    while (bytes.size() <= MAX_IMAGE_FILE_BYTES && (got = std::fread(block, 1, sizeof block, file)))
        bytes.insert(bytes.end(), block, block + got);
    const bool failed = std::ferror(file);
    std::fclose(file);
    if (failed) {
        SDL_SetError("cannot read the file");
        return nullptr;
    }
    const char* dot = std::strrchr(path, '.');
    return decodeImage(bytes.data(), bytes.size(), dot ? dot + 1 : nullptr);
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
    // GCOVR_EXCL_START: SDL converts to exactly the format asked for
    if (converted && !isPlain24(converted)) {
        SDL_FreeSurface(converted);
        return nullptr;
    }
    // GCOVR_EXCL_STOP
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
    // GCOVR_EXCL_START: only when memory runs out
    if (!row) {
        problem = "Out of memory";
        return nullptr;
    }
    // GCOVR_EXCL_STOP
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
