// Small pictures built in memory and written as image files for texture tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// An RGB picture, top row first, 3 bytes per pixel, no padding.
struct TestImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    TestImage(int w, int h, uint8_t r = 0, uint8_t g = 0, uint8_t b = 0)
        : width(w), height(h), rgb(size_t(w) * h * 3) {
        fill(0, 0, w, h, r, g, b);
    }
    void set(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
        const uint8_t colour[3] = {r, g, b};
        std::copy(colour, colour + 3, &rgb[(size_t(y) * width + x) * 3]);
    }
    // Fills the rectangle [x0, x1) x [y0, y1).
    void fill(int x0, int y0, int x1, int y1, uint8_t r, uint8_t g, uint8_t b) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) set(x, y, r, g, b);
    }
    // A picture whose every pixel differs: red from x, green from y, blue from both.
    static TestImage gradient(int w, int h) {
        TestImage image(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.set(x, y, uint8_t(x * 16 + 5), uint8_t(y * 16 + 9),
                          uint8_t(x * 7 + y * 3 + 1));
        return image;
    }
    // The rows in reverse order (the layout GL textures are uploaded in).
    std::vector<uint8_t> bottomUp() const {
        std::vector<uint8_t> out;
        const size_t row = size_t(width) * 3;
        for (int y = height - 1; y >= 0; --y)
            out.insert(out.end(), rgb.begin() + row * y, rgb.begin() + row * (y + 1));
        return out;
    }
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
