// Decoders for formats whose SDL_image loader leaks: TIFF and WEBP straight through their own
// libraries.
#include "LibraryDecoders.h"

#include <tiffio.h>
#include <webp/decode.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "ImageHeader.h"

namespace {

// Masks of 32-bit and 24-bit surfaces whose bytes read red, green, blue (and
// alpha) in memory, the order libtiff and libwebp write.
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
constexpr Uint32 RED = 0x000000ff, GREEN = 0x0000ff00, BLUE = 0x00ff0000, ALPHA = 0xff000000;
constexpr Uint32 RED24 = RED, GREEN24 = GREEN, BLUE24 = BLUE;
#else
constexpr Uint32 RED = 0xff000000, GREEN = 0x00ff0000, BLUE = 0x0000ff00, ALPHA = 0x000000ff;
constexpr Uint32 RED24 = 0xff0000, GREEN24 = 0x00ff00, BLUE24 = 0x0000ff;
#endif
// libtiff refuses any single allocation above this (a strip, a tile, a table):
// more than the largest picture of the pixel budget needs.
constexpr tmsize_t TIFF_ALLOCATION_LIMIT = tmsize_t(64) << 20;

// A TIFF file held in memory, and the first error libtiff reported on it.
struct TiffMemory {
    const uint8_t* data;
    toff_t size;
    toff_t at;
    char error[160];
};

tmsize_t tiffRead(thandle_t handle, void* buffer, tmsize_t n) {
    TiffMemory& file = *static_cast<TiffMemory*>(handle);
    if (n <= 0 || file.at >= file.size) return 0;
    const toff_t got = std::min<toff_t>(toff_t(n), file.size - file.at);
    std::memcpy(buffer, file.data + file.at, got);
    file.at += got;
    return tmsize_t(got);
}
// GCOVR_EXCL_START: libtiff writes nothing to a file opened for reading
tmsize_t tiffWrite(thandle_t, void*, tmsize_t) {
    return -1;
}
// GCOVR_EXCL_STOP
toff_t tiffSeek(thandle_t handle, toff_t offset, int whence) {
    TiffMemory& file = *static_cast<TiffMemory*>(handle);
    const toff_t base = whence == SEEK_CUR ? file.at : whence == SEEK_END ? file.size : 0;
    if (offset > ~toff_t(0) - base) return toff_t(-1);
    file.at = base + offset;  // beyond the end reads nothing
    return file.at;
}
int tiffClose(thandle_t) {
    return 0;
}
toff_t tiffSize(thandle_t handle) {
    return static_cast<TiffMemory*>(handle)->size;
}
// GCOVR_EXCL_START: the file is opened with "m", so libtiff maps nothing
int tiffNoMap(thandle_t, void**, toff_t*) {
    return 0;
}
void tiffNoUnmap(thandle_t, void*, toff_t) {}
// GCOVR_EXCL_STOP
// Keeps the first error for the message; warnings are dropped (libtiff would
// print every one of them).
int tiffError(TIFF*, void* user, const char* module, const char* format, va_list args) {
    TiffMemory& file = *static_cast<TiffMemory*>(user);
    if (!file.error[0]) {
        char text[128];
        std::vsnprintf(text, sizeof text, format, args);
        std::snprintf(file.error, sizeof file.error, "%s: %s", module ? module : "TIFF", text);
    }
    return 1;
}
int tiffWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
struct OptionsFreer {
    void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};

}  // namespace

SDL_Surface* decodeTiff(const uint8_t* data, size_t size) {
    TiffMemory file{data, toff_t(size), 0, ""};
    std::unique_ptr<TIFFOpenOptions, OptionsFreer> options(TIFFOpenOptionsAlloc());
    if (!options) return nullptr;  // GCOVR_EXCL_LINE: only when memory runs out
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), TIFF_ALLOCATION_LIMIT);
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), tiffError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), tiffWarning, &file);
    std::unique_ptr<TIFF, TiffCloser> tiff(
        TIFFClientOpenExt("TIFF", "rm", &file, tiffRead, tiffWrite, tiffSeek, tiffClose, tiffSize,
                          tiffNoMap, tiffNoUnmap, options.get()));
    uint32_t w = 0, h = 0;
    if (!tiff || !TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &w) ||
        !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &h)) {
        SDL_SetError("%s", file.error[0] ? file.error : "TIFF picture cannot be read");
        return nullptr;
    }
    // GCOVR_EXCL_START: a second guard; libtiff reads the sides inspectImage checked
    if (const char* problem = imageSizeProblem(w, h)) {
        SDL_SetError("%s", problem);
        return nullptr;
    }
    // GCOVR_EXCL_STOP
    SDL_Surface* image =
        SDL_CreateRGBSurface(SDL_SWSURFACE, int(w), int(h), 32, RED, GREEN, BLUE, ALPHA);
    if (!image) return nullptr;  // GCOVR_EXCL_LINE: only when memory runs out
    // libtiff fills w * h packed pixels, top row first when asked so.
    if (image->pitch != int(w) * 4 ||
        !TIFFReadRGBAImageOriented(tiff.get(), w, h, static_cast<uint32_t*>(image->pixels),
                                   ORIENTATION_TOPLEFT, 0)) {
        SDL_FreeSurface(image);
        SDL_SetError("%s", file.error[0] ? file.error : "TIFF picture cannot be decoded");
        return nullptr;
    }
    return image;
}

SDL_Surface* decodeWebp(const uint8_t* data, size_t size) {
    int w = 0, h = 0;
    if (!WebPGetInfo(data, size, &w, &h)) {
        SDL_SetError("WEBP picture cannot be read");
        return nullptr;
    }
    // GCOVR_EXCL_START: a second guard; libwebp reads the header inspectImage checked
    if (const char* problem = imageSizeProblem(w, h)) {
        SDL_SetError("%s", problem);
        return nullptr;
    }
    // GCOVR_EXCL_STOP
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, RED24, GREEN24, BLUE24, 0);
    if (!image) return nullptr;  // GCOVR_EXCL_LINE: only when memory runs out
    if (!WebPDecodeRGBInto(data, size, static_cast<uint8_t*>(image->pixels),
                           size_t(image->pitch) * size_t(h), image->pitch)) {
        SDL_FreeSurface(image);
        SDL_SetError("WEBP picture data is damaged");
        return nullptr;
    }
    return image;
}
