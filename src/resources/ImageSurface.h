// Decoding image files once walked, and turning the surfaces into the 24-bit layout of textures.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ImageHeader.h"

// Frees an SDL surface when it goes out of scope.
struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const {
        if (s) SDL_FreeSurface(s);
    }
};

// The game's one way to decode an image: the file's bytes are judged by
// inspectImage (ImageHeader.h) and only then handed to SDL_image's decoder of
// that format, reading from memory; the picture it returns is held to the same
// side cap and pixel budget. extension (without the dot, any case) matters only
// for TGA. Null with the reason in SDL's error text otherwise.
SDL_Surface* decodeImage(const void* data, size_t size, const char* extension);
// decodeImage of a file of at most MAX_IMAGE_FILE_BYTES; the extension is taken from path.
SDL_Surface* decodeImageFile(const char* path);

// True when the surface is 3 bytes per pixel stored red-green-blue or
// blue-green-red; rows may be padded (they are read by pitch).
bool isPlain24(const SDL_Surface* surface);
// True when the blue channel is the first byte of a stored pixel.
bool blueFirst(const SDL_Surface* surface);
// A 24-bit surface of the same picture: the surface itself when it already is
// plain 24-bit, else a converted copy (paletted, 16- and 32-bit images) and the
// original is freed. Null (original freed) when SDL cannot convert it.
SDL_Surface* toPlain24(SDL_Surface* surface);
// In place on a plain 24-bit surface: reverses the row order (row 0 becomes
// the last) and, when blue is stored first, swaps the first and third byte of
// every pixel, so every pixel reads red, green, blue. row is a scratch buffer
// of at least pitch bytes.
void flipRowsToRgb(SDL_Surface* surface, uint8_t* row);
// The pixels of a plain 24-bit RGB surface as width * 3 bytes per row, no padding.
std::vector<uint8_t> packedRgb(const SDL_Surface* surface);
// What a plain texture is built from, made from a freshly decoded image (which
// it takes over): plain 24-bit rows, bottom row first, every pixel red, green,
// blue. Null when the image cannot be converted, is empty or no row buffer can
// be had; problem then holds the reason ("Out of memory" for the last).
SDL_Surface* textureRows(SDL_Surface* decoded, const char*& problem);
// The RGBA pixels of an alpha texture: row y of the images (top first) becomes
// row h-1-y of rgba (w * h * 4 bytes); colour in red, green, blue order, alpha
// from the first stored byte of the alpha image's pixel. Both are plain 24-bit
// images of the same size.
void fillRgba(const SDL_Surface* colour, const SDL_Surface* alpha, uint8_t* rgba);
