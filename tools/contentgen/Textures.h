// The world's procedural textures: walls, floors, terrain, metal, glass, grating and skies.
#pragma once

#include <string>

#include "Image.h"

// Texture files the maps, weapons and props name; each entry is one BMP in
// textures/. Alpha companions ("-" blended, "+" tested) are written beside
// their colour image.
bool writeWorldTextures(const std::string& textureDir);

// Exposed for the pictures that reuse them (menu picture, skins).
Image skyImage(Colour zenith, Colour horizon, Colour glow, float cloudiness, unsigned seed);
Image metalImage(Colour base, unsigned seed);
