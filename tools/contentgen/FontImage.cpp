// "font.bmp": 16 x 16 cells of 16 pixels, light glyphs on black; character k sits in cell 96 + k.
#include "FontImage.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>

#include "Image.h"

namespace {

constexpr int CELL = 16;          // pixels per cell edge
constexpr int GLYPH_OFFSET = 96;  // the game draws code k with glyph 96 + k
constexpr int PIXEL_SIZE = 14;    // nominal glyph height, pixels
constexpr int BASELINE = 12;      // pixels from the top of a cell
constexpr int LEFT = 1;           // pixels from the left of a cell: text advances 10 of 16

// Copies one rendered glyph into its cell, clipped to the cell.
void blitGlyph(Image& img, const FT_GlyphSlot slot, int cellX, int cellY) {
    const FT_Bitmap& bm = slot->bitmap;
    const int ox = cellX + LEFT + slot->bitmap_left;
    const int oy = cellY + BASELINE - slot->bitmap_top;
    for (unsigned row = 0; row < bm.rows; ++row)
        for (unsigned col = 0; col < bm.width; ++col) {
            const int x = ox + static_cast<int>(col), y = oy + static_cast<int>(row);
            if (x < cellX || x >= cellX + CELL || y < cellY || y >= cellY + CELL) continue;
            const float v = bm.buffer[row * bm.pitch + col] / 255.0f;
            img.set(x, y, {v, v, v});
        }
}

}  // namespace

bool writeFontImage(const std::string& fontFile, const std::string& path) {
    FT_Library lib;
    if (FT_Init_FreeType(&lib)) {
        std::fprintf(stderr, "Unable to start FreeType\n");
        return false;
    }
    FT_Face face;
    if (FT_New_Face(lib, fontFile.c_str(), 0, &face)) {
        std::fprintf(stderr, "Unable to read the font %s\n", fontFile.c_str());
        FT_Done_FreeType(lib);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, PIXEL_SIZE);
    Image img(CELL * 16, CELL * 16, {0, 0, 0});
    for (int code = 33; code < 127; ++code) {
        if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT))
            continue;
        const int glyph = GLYPH_OFFSET + code;
        blitGlyph(img, face->glyph, (glyph % 16) * CELL, (glyph / 16) * CELL);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return saveBmp(img, path);
}
