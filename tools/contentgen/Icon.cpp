// The desktop icons and the window's: a Pelmo helmet on a rounded tile, drawn at each size as an
// uncompressed RGBA PNG.
#include "Icon.h"

#include <algorithm>
#include <cmath>

#include "Image.h"

namespace {

uint32_t crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t v : data) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void putBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    putBig32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    putBig32(out, crc32(body.data(), body.size()));
}

// A zlib stream of stored blocks (at most 65535 bytes each).
std::vector<uint8_t> storedZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n));
        z.push_back(static_cast<uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<long>(pos),
                 raw.begin() + static_cast<long>(pos + n));
        pos += n;
    } while (pos < raw.size());
    putBig32(z, adler32(raw));
    return z;
}

// Coverage of a rounded square filling the icon (1 inside, 0 outside) inside
// a clear margin of whole pixels (1 at 64); the corner radius is 12 at 64.
float tileCover(int x, int y, int size) {
    const float r = 12.0f * size / 64.0f, half = size * 0.5f;
    const float straight = half - r - static_cast<float>(std::max(1, size / 64));
    const float dx = std::max(std::fabs(x + 0.5f - half) - straight, 0.0f);
    const float dy = std::max(std::fabs(y + 0.5f - half) - straight, 0.0f);
    return std::clamp(r - std::hypot(dx, dy) + 0.5f, 0.0f, 1.0f);
}

// The picture is laid out on a 64-unit grid; each size snaps every edge to
// its own pixel grid, so shapes stay crisp instead of blurring as a scaled
// copy would. Fills a rectangle given in grid units.
void fillUnits(Image& img, float x, float y, float w, float h, Colour c) {
    const float k = img.width() / 64.0f;
    const int x0 = static_cast<int>(std::lround(x * k)), y0 = static_cast<int>(std::lround(y * k));
    const int x1 = std::max(x0 + 1, static_cast<int>(std::lround((x + w) * k)));
    const int y1 = std::max(y0 + 1, static_cast<int>(std::lround((y + h) * k)));
    img.fillRect(x0, y0, x1 - x0, y1 - y0, c);
}

// A Pelmo helmet: shoulder pads, a block with a crest stripe and a visor;
// the panel seam, the visor's glint and the vents only where they are at
// least a pixel wide.
Image drawIcon(int size) {
    Image img(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            img.set(x, y, mix(rgb(40, 46, 70), rgb(12, 12, 20), (y + 0.5f) / size));
    const float k = size / 64.0f;
    fillUnits(img, 8, 46, 48, 14, rgb(96, 104, 74));
    fillUnits(img, 18, 12, 28, 32, rgb(120, 128, 96));
    if (size >= 32) {
        const int x = static_cast<int>(std::lround(18 * k)),
                  y = static_cast<int>(std::lround(12 * k));
        const int w = static_cast<int>(std::lround(46 * k)) - x;
        const int h = static_cast<int>(std::lround(44 * k)) - y;
        for (int t = 0; t < size / 64 || t == 0; ++t)
            img.bevelRect(x + t, y + t, w - 2 * t, h - 2 * t, 0.7f);
    }
    fillUnits(img, 29, 8, 6, 36, rgb(255, 170, 40));
    fillUnits(img, 20, 22, 24, 8, rgb(255, 150, 30));
    if (size >= 32) fillUnits(img, 22, 25, 20, 2, rgb(255, 240, 190));
    if (size >= 48)
        for (int v = 0; v < 3; ++v) fillUnits(img, 25, 34 + v * 3.0f, 14, 1, rgb(30, 30, 30));
    return img;
}

// The icon at one size as PNG bytes: the tile's coverage is the alpha, so the
// corners are clear.
std::vector<uint8_t> iconPng(int size) {
    const std::vector<uint8_t> pixels = drawIcon(size).bytes();
    std::vector<uint8_t> rgba;
    for (int i = 0; i < size * size; ++i) {
        rgba.insert(rgba.end(), pixels.begin() + 3 * i, pixels.begin() + 3 * i + 3);
        rgba.push_back(
            static_cast<uint8_t>(std::lround(255 * tileCover(i % size, i / size, size))));
    }
    return encodePng(size, size, rgba);
}

}  // namespace

std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBig32(header, static_cast<uint32_t>(width));
    putBig32(header, static_cast<uint32_t>(height));
    header.insert(header.end(),
                  {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter method, no interlace
    chunk(out, "IHDR", header);
    std::vector<uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no row filter
        raw.insert(raw.end(), rgba.begin() + y * width * 4, rgba.begin() + (y + 1) * width * 4);
    }
    chunk(out, "IDAT", storedZlib(raw));
    chunk(out, "IEND", {});
    return out;
}

bool writeIcons(const std::string& dir) {
    bool ok = true;
    for (int size : ICON_SIZES)
        ok = saveBytes(iconPng(size), dir + "/tovask-" + std::to_string(size) + ".png") && ok;
    return ok;
}

bool writeWindowIcon(const std::string& path) {
    return saveBytes(iconPng(WINDOW_ICON_SIZE), path);
}
