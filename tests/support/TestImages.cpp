// Small pictures built in memory and written as image files for texture tests.
#include "TestImages.h"

#include <cstdio>
#include <map>

#include "ImageSurface.h"

// v as `bytes` bytes, least significant first.
static void put(std::vector<uint8_t>& out, uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

static bool save(const std::vector<uint8_t>& bytes, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool writeBmp(const TestImage& image, const std::string& path, int bitsPerPixel) {
    if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) return false;
    const auto colourAt = [&](size_t i) {  // 0xRRGGBB of the pixel whose red is byte i
        return uint32_t(image.rgb[i]) << 16 | image.rgb[i + 1] << 8 | image.rgb[i + 2];
    };
    std::map<uint32_t, uint32_t> palette;  // colour to its index
    std::vector<uint32_t> colours;
    for (size_t i = 0; bitsPerPixel == 8 && i < image.rgb.size(); i += 3)
        if (palette.emplace(colourAt(i), uint32_t(colours.size())).second)
            colours.push_back(colourAt(i));
    if (colours.size() > 256) return false;
    const uint32_t rowBytes = (uint32_t(image.width) * bitsPerPixel / 8 + 3) & ~3u;
    const uint32_t paletteBytes = uint32_t(colours.size()) * 4;
    const uint32_t dataOffset = 14 + 40 + paletteBytes;
    std::vector<uint8_t> out = {'B', 'M'};
    // File size, reserved, data offset; BITMAPINFOHEADER size, width, height (positive: bottom
    // row stored first).
    for (uint32_t v : {dataOffset + rowBytes * image.height, 0u, dataOffset, 40u,
                       uint32_t(image.width), uint32_t(image.height)})
        put(out, v);
    put(out, 1, 2);
    put(out, uint32_t(bitsPerPixel), 2);
    // Uncompressed, data size, 72 dpi both ways, palette size, all colours important.
    for (uint32_t v : {0u, rowBytes * image.height, 2835u, 2835u, uint32_t(colours.size()), 0u})
        put(out, v);
    for (uint32_t c : colours) put(out, c);  // stored blue, green, red, 0
    for (int y = image.height - 1; y >= 0; --y) {
        const size_t start = out.size();
        for (int x = 0; x < image.width; ++x) {  // an index, or blue, green, red (and 0)
            const uint32_t c = colourAt((size_t(y) * image.width + x) * 3);
            put(out, bitsPerPixel == 8 ? palette[c] : c, bitsPerPixel / 8);
        }
        out.resize(start + rowBytes, 0);
    }
    return save(out, path);
}

bool writePpm(const TestImage& image, const std::string& path) {
    const std::string header =
        "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    out.insert(out.end(), image.rgb.begin(), image.rgb.end());
    return save(out, path);
}

TestImage readImage(const std::string& path, std::string& problem) {
    SDL_Surface* decoded = decodeImageFile(path.c_str());
    const char* why = decoded ? "" : SDL_GetError();
    SDL_Surface* rows = decoded ? textureRows(decoded, why) : nullptr;  // bottom row first
    if (!rows) {
        problem = why;
        return TestImage(0, 0);
    }
    TestImage image(rows->w, rows->h);
    image.rgb = packedRgb(rows);
    SDL_FreeSurface(rows);
    image.rgb = image.bottomUp();  // the rows turned back: top row first
    return image;
}
