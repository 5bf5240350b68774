// Turning decoded SDL surfaces into the tightly known 24-bit layout textures are built from.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

// Frees an SDL surface when it goes out of scope.
struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const {
        if (s) SDL_FreeSurface(s);
    }
};

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
