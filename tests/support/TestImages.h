// Small pictures built in memory and written as image files for texture tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An RGB picture, top row first, 3 bytes per pixel, no padding.
struct TestImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    TestImage(int w, int h, uint8_t r = 0, uint8_t g = 0, uint8_t b = 0);
    void set(int x, int y, uint8_t r, uint8_t g, uint8_t b);
    // Fills the rectangle [x0, x1) x [y0, y1).
    void fill(int x0, int y0, int x1, int y1, uint8_t r, uint8_t g, uint8_t b);
    // A picture whose every pixel differs: red from x, green from y, blue from both.
    static TestImage gradient(int w, int h);
    // The rows in reverse order (the layout GL textures are uploaded in).
    std::vector<uint8_t> bottomUp() const;
};

// Writes an uncompressed Windows bitmap of 8 (paletted; at most 256 distinct
// colours), 24 or 32 bits per pixel; rows are padded to 4 bytes as the format
// requires. False when the file cannot be written or the palette overflows.
bool writeBmp(const TestImage& image, const std::string& path, int bitsPerPixel = 24);
// Writes a binary PPM (P6): the decoder hands it over in red-green-blue byte order.
bool writePpm(const TestImage& image, const std::string& path);
// Decodes an image file with the game's own decoder (decodeImageFile, then
// the rows textures are built from) into a picture, top row first. An empty
// picture (width 0), with SDL's reason in problem, when the game refuses it.
TestImage readImage(const std::string& path, std::string& problem);
