// An RGB picture in floats (0..1) with the few drawing operations the textures need.
#include "Image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

uint8_t toByte(float v) {
    const float c = std::clamp(v, 0.0f, 1.0f);
    return static_cast<uint8_t>(std::lround(c * 255.0f));
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

Image::Image(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

int Image::index(int x, int y) const {
    x %= width_;
    y %= height_;
    if (x < 0) x += width_;
    if (y < 0) y += height_;
    return y * width_ + x;
}

Colour Image::get(int x, int y) const {
    return pixels_[index(x, y)];
}
void Image::set(int x, int y, Colour c) {
    pixels_[index(x, y)] = c;
}
void Image::blend(int x, int y, Colour c, float alpha) {
    Colour& p = pixels_[index(x, y)];
    p = mix(p, c, std::clamp(alpha, 0.0f, 1.0f));
}

void Image::fillRect(int x, int y, int w, int h, Colour c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) set(i, j, c);
}

void Image::blendRect(int x, int y, int w, int h, Colour c, float alpha) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) blend(i, j, c, alpha);
}

void Image::bevelRect(int x, int y, int w, int h, float depth) {
    const Colour dark{0.0f, 0.0f, 0.0f}, light{1.0f, 1.0f, 1.0f};
    for (int i = x; i < x + w; ++i) {
        blend(i, y, light, depth * 0.5f);
        blend(i, y + h - 1, dark, depth);
    }
    for (int j = y; j < y + h; ++j) {
        blend(x, j, light, depth * 0.5f);
        blend(x + w - 1, j, dark, depth);
    }
}

void Image::fillCircle(float cx, float cy, float radius, Colour c, float alpha) {
    const int x0 = static_cast<int>(std::floor(cx - radius - 1));
    const int x1 = static_cast<int>(std::ceil(cx + radius + 1));
    const int y0 = static_cast<int>(std::floor(cy - radius - 1));
    const int y1 = static_cast<int>(std::ceil(cy + radius + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            const float cover = std::clamp(radius - d + 0.5f, 0.0f, 1.0f);
            if (cover > 0.0f) blend(x, y, c, cover * alpha);
        }
}

void Image::line(float x0, float y0, float x1, float y1, float width, Colour c, float alpha) {
    // Each pixel is covered once, by its distance to the segment.
    const float dx = x1 - x0, dy = y1 - y0;
    const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    const int reach = static_cast<int>(std::ceil(width)) + 1;
    const int xa = static_cast<int>(std::floor(std::min(x0, x1))) - reach;
    const int xb = static_cast<int>(std::ceil(std::max(x0, x1))) + reach;
    const int ya = static_cast<int>(std::floor(std::min(y0, y1))) - reach;
    const int yb = static_cast<int>(std::ceil(std::max(y0, y1))) + reach;
    for (int y = ya; y <= yb; ++y)
        for (int x = xa; x <= xb; ++x) {
            const float px = x + 0.5f - x0, py = y + 0.5f - y0;
            const float t = std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f);
            const float d = std::hypot(px - dx * t, py - dy * t);
            const float cover = std::clamp(width * 0.5f - d + 0.5f, 0.0f, 1.0f);
            if (cover > 0.0f) blend(x, y, c, cover * alpha);
        }
}

std::vector<uint8_t> Image::bytes() const {
    std::vector<uint8_t> out;
    out.reserve(pixels_.size() * 3);
    for (const Colour& c : pixels_) {
        out.push_back(toByte(c.r));
        out.push_back(toByte(c.g));
        out.push_back(toByte(c.b));
    }
    return out;
}

std::vector<uint8_t> encodeBmp(const Image& image) {
    const int w = image.width(), h = image.height();
    const uint32_t rowSize = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
    const uint32_t dataSize = rowSize * static_cast<uint32_t>(h);
    std::vector<uint8_t> out;
    out.reserve(54 + dataSize);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + dataSize);  // file size
    put32(out, 0);              // reserved
    put32(out, 54);             // offset of the pixels
    put32(out, 40);             // BITMAPINFOHEADER
    put32(out, static_cast<uint32_t>(w));
    put32(out, static_cast<uint32_t>(h));  // positive: bottom-up rows
    put16(out, 1);                         // planes
    put16(out, 24);                        // bits per pixel
    put32(out, 0);                         // no compression
    put32(out, dataSize);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    const std::vector<uint8_t> rgbBytes = image.bytes();
    for (int y = h - 1; y >= 0; --y) {
        const uint8_t* row = &rgbBytes[static_cast<size_t>(y) * w * 3];
        for (int x = 0; x < w; ++x) {
            out.push_back(row[3 * x + 2]);
            out.push_back(row[3 * x + 1]);
            out.push_back(row[3 * x]);
        }
        for (uint32_t pad = static_cast<uint32_t>(w) * 3; pad < rowSize; ++pad) out.push_back(0);
    }
    return out;
}

bool saveBytes(const std::vector<uint8_t>& bytes, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "Unable to write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!ok || !closed) std::fprintf(stderr, "Unable to write %s\n", path.c_str());
    return ok && closed;
}

bool saveBmp(const Image& image, const std::string& path) {
    return saveBytes(encodeBmp(image), path);
}
