// Decoders for formats whose SDL_image loader leaks: TIFF and WEBP straight through their own
// libraries.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

// SDL_image's TIFF loader leaks the whole libtiff handle when a picture fails
// to decode, and its WEBP loader leaks the file's picture data on every load,
// so these two formats are decoded here. Both take a whole file in memory that
// inspectImage accepted, and return a new surface (32-bit RGBA for TIFF,
// 24-bit RGB for WEBP) or null with the reason in SDL's error text.
SDL_Surface* decodeTiff(const uint8_t* data, size_t size);
SDL_Surface* decodeWebp(const uint8_t* data, size_t size);
