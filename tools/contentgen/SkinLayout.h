// Where each body part finds its pixels in a character's 256 x 256 skin texture.
#pragma once

#include "MeshPart.h"

enum SkinRegion { FACE, HEAD, CHEST, BACK, TORSO_SIDE, LEG, BOOT, BELT, SLEEVE, GLOVE, PAD };

struct SkinRect {
    int x, y, w, h;  // pixels, origin at the top-left of the image
};

constexpr int SKIN_SIZE = 256;  // pixels per edge

// Columns: x, y, width, height; indexed by SkinRegion.
constexpr SkinRect SKIN_LAYOUT[] = {
    {0, 0, 64, 64},      // FACE: front of the head
    {64, 0, 64, 64},     // HEAD: sides, back and top of the head
    {128, 0, 64, 96},    // CHEST
    {192, 0, 64, 96},    // BACK
    {64, 128, 64, 64},   // TORSO_SIDE: flanks, shoulders' tops, hips
    {0, 64, 64, 128},    // LEG
    {64, 64, 64, 32},    // BOOT
    {64, 96, 64, 32},    // BELT
    {128, 96, 64, 96},   // SLEEVE
    {192, 96, 64, 32},   // GLOVE
    {192, 128, 64, 64},  // PAD: shoulder pads
};

// The region in texture coordinates, shrunk by one pixel so that filtering
// does not pick up the neighbouring region.
inline UvRect skinUv(SkinRegion r) {
    const SkinRect& s = SKIN_LAYOUT[r];
    const float px = 1.0f / SKIN_SIZE;
    return {(s.x + 1) * px, 1.0f - (s.y + s.h - 1) * px, (s.x + s.w - 1) * px,
            1.0f - (s.y + 1) * px};
}
