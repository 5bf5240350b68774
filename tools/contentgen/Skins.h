// Paints the characters' skin textures: uniforms, faces and gear laid out by SkinLayout.
#pragma once

#include <string>

#include "Image.h"

// How one skin is painted. Columns of the tables that use it: base cloth,
// pattern colour, armour and trim, visor or eyes, pattern kind.
struct SkinStyle {
    Colour cloth;
    Colour pattern;
    Colour armour;
    Colour visor;
    int patternKind;  // 0 blotched camouflage, 1 stripes, 2 pixel camouflage
};

// face: 0 visor band, 1 round goggles, 2 gas mask.
Image paintSkin(const SkinStyle& style, int face, unsigned seed);
