// The desktop icon: a Pelmo helmet on a rounded tile, written as an uncompressed RGBA PNG.
#include "Icon.h"

#include <algorithm>
#include <cmath>

#include "Image.h"

namespace {

constexpr int SIZE = 64;  // pixels

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

// Coverage of a rounded square of the icon's size (1 inside, 0 outside).
float tileCover(int x, int y) {
    constexpr float R = 12.0f, H = SIZE * 0.5f;
    const float dx = std::max(std::fabs(x + 0.5f - H) - (H - R - 1), 0.0f);
    const float dy = std::max(std::fabs(y + 0.5f - H) - (H - R - 1), 0.0f);
    return std::clamp(R - std::hypot(dx, dy) + 0.5f, 0.0f, 1.0f);
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

bool writeIcon(const std::string& path) {
    Image img(SIZE, SIZE);
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x)
            img.set(x, y, mix(rgb(40, 46, 70), rgb(12, 12, 20), y / float(SIZE)));
    // The helmet: a block with shoulder pads, a visor and a crest stripe.
    img.fillRect(8, 46, 48, 14, rgb(96, 104, 74));
    img.fillRect(18, 12, 28, 32, rgb(120, 128, 96));
    img.bevelRect(18, 12, 28, 32, 0.7f);
    img.fillRect(29, 8, 6, 36, rgb(255, 170, 40));
    img.fillRect(20, 22, 24, 8, rgb(255, 150, 30));
    img.fillRect(22, 25, 20, 2, rgb(255, 240, 190));
    for (int k = 0; k < 3; ++k) img.fillRect(25, 34 + k * 3, 14, 1, rgb(30, 30, 30));
    const std::vector<uint8_t> pixels = img.bytes();
    std::vector<uint8_t> rgba;
    for (int i = 0; i < SIZE * SIZE; ++i) {
        rgba.insert(rgba.end(), pixels.begin() + 3 * i, pixels.begin() + 3 * i + 3);
        rgba.push_back(static_cast<uint8_t>(std::lround(255 * tileCover(i % SIZE, i / SIZE))));
    }
    return saveBytes(encodePng(SIZE, SIZE, rgba), path);
}
