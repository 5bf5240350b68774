// "font.bmp": 16 x 16 cells of 16 pixels, light glyphs on black; character k sits in cell 96 + k.
#pragma once

#include <string>

// Renders printable ASCII with FreeType from fontFile. False with a message when the font cannot be
// read.
bool writeFontImage(const std::string& fontFile, const std::string& path);
