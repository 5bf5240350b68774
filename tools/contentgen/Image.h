// An RGB picture in floats (0..1) with the few drawing operations the textures need.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Colour {
    float r = 0.0f, g = 0.0f, b = 0.0f;
};

inline Colour mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour scaled(Colour a, float s) {
    return {a.r * s, a.g * s, a.b * s};
}
constexpr Colour rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}

class Image {
public:
    Image(int width, int height, Colour fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    // Row 0 is the top of the picture; coordinates wrap around, so tiling
    // patterns can be drawn across the edges.
    Colour get(int x, int y) const;
    void set(int x, int y, Colour c);
    void blend(int x, int y, Colour c, float alpha);

    void fillRect(int x, int y, int w, int h, Colour c);
    void blendRect(int x, int y, int w, int h, Colour c, float alpha);
    // Darkens a one-pixel outline inside the rectangle and lightens the inner
    // edge above it: a panel seam.
    void bevelRect(int x, int y, int w, int h, float depth);
    void fillCircle(float cx, float cy, float radius, Colour c, float alpha = 1.0f);
    void line(float x0, float y0, float x1, float y1, float width, Colour c, float alpha = 1.0f);

    // 8-bit bytes, red-green-blue, top row first.
    std::vector<uint8_t> bytes() const;

private:
    int index(int x, int y) const;

    int width_, height_;
    std::vector<Colour> pixels_;
};

// A 24-bit uncompressed BMP (bottom-up rows, blue-green-red, rows padded to 4 bytes).
std::vector<uint8_t> encodeBmp(const Image& image);
bool saveBmp(const Image& image, const std::string& path);
bool saveBytes(const std::vector<uint8_t>& bytes, const std::string& path);
