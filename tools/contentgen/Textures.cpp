// The world's procedural textures: walls, floors, terrain, metal, glass, grating and skies.
#include "Textures.h"

#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "Noise.h"
#include "Rng.h"

namespace {

constexpr int S = 256;  // edge of most textures, pixels

// Multiplies every pixel by a grain factor in [1 - amount, 1 + amount].
void addGrain(Image& img, float amount, float cells, int octaves, unsigned seed) {
    const int w = img.width(), h = img.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float n = fractalNoise(x * cells / w, y * cells / w, static_cast<int>(cells),
                                         octaves, 0.5f, seed);
            img.set(x, y, scaled(img.get(x, y), 1.0f + (n - 0.5f) * 2.0f * amount));
        }
}

Image brickImage() {
    Image img(S, S, rgb(150, 150, 140));  // mortar
    Rng rng(11);
    constexpr int BW = 64, BH = 32, GAP = 3;  // brick width, height, mortar gap (pixels)
    for (int row = 0; row < S / BH; ++row) {
        const int shift = (row % 2) * BW / 2;
        for (int col = 0; col <= S / BW; ++col) {
            const Colour c = mix(rgb(150, 64, 44), rgb(120, 48, 36), rng.unit());
            const int x = col * BW + shift;
            img.fillRect(x + GAP, row * BH + GAP, BW - GAP, BH - GAP,
                         scaled(c, rng.range(0.85f, 1.1f)));
            img.bevelRect(x + GAP, row * BH + GAP, BW - GAP, BH - GAP, 0.35f);
        }
    }
    addGrain(img, 0.18f, 32, 4, 12);
    return img;
}

Image concreteImage(Colour base, unsigned seed) {
    Image img(S, S, base);
    addGrain(img, 0.12f, 16, 5, seed);
    // Formwork seams every 128 pixels with rows of tie holes.
    for (int k = 0; k < S; k += 128) {
        for (int i = 0; i < S; ++i) {
            img.blend(i, k, rgb(0, 0, 0), 0.5f);
            img.blend(k, i, rgb(0, 0, 0), 0.5f);
        }
        for (int i = 32; i < S; i += 64)
            for (int j = 32; j < S; j += 64) img.fillCircle(i, j, 3.0f, rgb(40, 40, 40), 0.8f);
    }
    // Water stains running down.
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float streak = valueNoise(x / 8.0f, y / 128.0f, 32, seed + 5);
            img.blend(x, y, rgb(60, 58, 50), std::max(0.0f, streak - 0.6f) * 0.8f);
        }
    return img;
}

Image crateImage() {
    Image img = metalImage(rgb(120, 96, 60), 21);
    // Wooden planks inside a darker frame with a diagonal brace.
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float grain = valueNoise(x / 64.0f, y / 3.0f, 4, 22);
            img.set(x, y, scaled(rgb(150, 112, 64), 0.8f + 0.3f * grain));
        }
    for (int p = 0; p < S; p += 42) img.bevelRect(0, p, S, 42, 0.5f);
    const Colour frame = rgb(90, 66, 38);
    img.fillRect(0, 0, S, 24, frame);
    img.fillRect(0, S - 24, S, 24, frame);
    img.fillRect(0, 0, 24, S, frame);
    img.fillRect(S - 24, 0, 24, S, frame);
    img.line(24, S - 24, S - 24, 24, 22, frame);
    img.bevelRect(0, 0, S, S, 0.6f);
    img.bevelRect(24, 24, S - 48, S - 48, 0.6f);
    for (int c : {12, S - 12})
        for (int d : {12, S - 12}) img.fillCircle(c, d, 5, rgb(60, 60, 60));
    addGrain(img, 0.1f, 32, 3, 23);
    return img;
}

Image terrainImage(Colour a, Colour b, Colour c, unsigned seed) {
    Image img(S, S);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float n = fractalNoise(x / 64.0f, y / 64.0f, 4, 5, 0.55f, seed);
            const float m = fractalNoise(x / 16.0f, y / 16.0f, 16, 3, 0.5f, seed + 7);
            Colour col = n < 0.5f ? mix(a, b, n * 2.0f) : mix(b, c, (n - 0.5f) * 2.0f);
            img.set(x, y, scaled(col, 0.8f + 0.4f * m));
        }
    Rng rng(seed);
    for (int i = 0; i < 400; ++i)  // pebbles and tufts
        img.fillCircle(rng.range(0, S), rng.range(0, S), rng.range(0.6f, 1.8f),
                       scaled(mix(a, c, rng.unit()), rng.range(0.6f, 1.3f)), 0.8f);
    return img;
}

Image rockImage(Colour base, unsigned seed) {
    Image img(S, S);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            // Strata: horizontal bands warped by noise.
            const float warp = fractalNoise(x / 64.0f, y / 64.0f, 4, 3, 0.5f, seed) * 24.0f;
            const float band = 0.5f + 0.5f * std::sin((y + warp) * 2.0f * PI / 32.0f);
            const float grit = fractalNoise(x / 8.0f, y / 8.0f, 32, 3, 0.5f, seed + 3);
            img.set(x, y, scaled(base, 0.65f + 0.25f * band + 0.3f * grit));
        }
    Rng rng(seed + 9);
    for (int i = 0; i < 18; ++i) {  // cracks
        float x = rng.range(0, S), y = rng.range(0, S);
        for (int s = 0; s < 6; ++s) {
            const float nx = x + rng.range(-14, 14), ny = y + rng.range(4, 18);
            img.line(x, y, nx, ny, 1.2f, scaled(base, 0.35f), 0.8f);
            x = nx;
            y = ny;
        }
    }
    return img;
}

Image tilesImage() {
    Image img(S, S, rgb(70, 74, 80));
    constexpr int T = 64;  // tile edge, pixels
    Rng rng(31);
    for (int j = 0; j < S; j += T)
        for (int i = 0; i < S; i += T) {
            img.fillRect(i + 2, j + 2, T - 4, T - 4,
                         scaled(rgb(88, 92, 98), rng.range(0.85f, 1.1f)));
            img.bevelRect(i + 2, j + 2, T - 4, T - 4, 0.5f);
            for (int k = 10; k < T - 8; k += 8)
                img.line(i + 8, j + k, i + T - 8, j + k, 1.0f, rgb(60, 62, 66), 0.5f);
        }
    addGrain(img, 0.12f, 16, 4, 32);
    return img;
}

Image panelImage() {
    Image img = metalImage(rgb(64, 70, 78), 41);
    img.bevelRect(0, 0, S, S / 2, 0.7f);
    img.bevelRect(0, S / 2, S, S / 2, 0.7f);
    // A warning stripe band at the bottom and a vent grille at the top.
    for (int y = S - 40; y < S - 8; ++y)
        for (int x = 0; x < S; ++x)
            img.set(x, y, ((x + y) / 16) % 2 ? rgb(30, 30, 30) : rgb(220, 170, 30));
    for (int k = 0; k < 6; ++k) img.fillRect(64, 30 + k * 10, 128, 5, rgb(20, 22, 26));
    return img;
}

Image lampImage() {
    Image img(128, 128, rgb(50, 52, 56));
    img.fillRect(12, 12, 104, 104, rgb(250, 245, 220));
    for (int y = 12; y < 116; ++y)
        for (int x = 12; x < 116; ++x)
            if ((x - 12) % 26 == 0 || (y - 12) % 26 == 0) img.set(x, y, rgb(190, 185, 160));
    img.bevelRect(12, 12, 104, 104, 0.6f);
    return img;
}

Image glassImage() {
    Image img(128, 128, rgb(150, 200, 230));
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const float streak = std::fabs(std::sin((x + y) * 0.08f)) * 0.25f;
            img.set(x, y, mix(rgb(120, 170, 210), rgb(230, 245, 255), streak));
        }
    img.fillRect(0, 0, 128, 6, rgb(70, 75, 80));  // frame
    img.fillRect(0, 122, 128, 6, rgb(70, 75, 80));
    img.fillRect(0, 0, 6, 128, rgb(70, 75, 80));
    img.fillRect(122, 0, 6, 128, rgb(70, 75, 80));
    return img;
}

// Alpha of the glass: the frame opaque, the pane two-fifths see-through.
Image glassAlpha() {
    Image img(128, 128, rgb(100, 100, 100));
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const float streak = std::fabs(std::sin((x + y) * 0.08f)) * 0.3f;
            img.set(x, y, scaled(rgb(255, 255, 255), 0.4f + streak));
        }
    const Colour opaque = rgb(255, 255, 255);
    img.fillRect(0, 0, 128, 6, opaque);
    img.fillRect(0, 122, 128, 6, opaque);
    img.fillRect(0, 0, 6, 128, opaque);
    img.fillRect(122, 0, 6, 128, opaque);
    return img;
}

constexpr int GRATE_CELL = 16, GRATE_BAR = 4;  // pixels
bool grateBar(int x, int y) {
    return x % GRATE_CELL < GRATE_BAR || y % GRATE_CELL < GRATE_BAR;
}

Image grateImage() {
    Image img = metalImage(rgb(110, 110, 104), 51);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            if (!grateBar(x, y)) img.set(x, y, rgb(20, 20, 20));
    return img;
}

// Alpha of the grating: bars opaque, holes fully clear (alpha-tested).
Image grateAlpha() {
    Image img(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            img.set(x, y, grateBar(x, y) ? rgb(255, 255, 255) : rgb(0, 0, 0));
    return img;
}

Image gunmetalImage() {
    Image img = metalImage(rgb(70, 74, 80), 61);
    img.bevelRect(0, 0, 128, 128, 0.5f);
    for (int k = 8; k < 120; k += 16) img.line(8, k, 120, k, 1.0f, rgb(30, 30, 34), 0.4f);
    return img;
}

Image goldImage() {
    Image img(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const float brush = valueNoise(x / 32.0f, y * 1.5f, 4, 71);
            const float sheen = 0.5f + 0.5f * std::sin(y * 2.0f * PI / 128.0f);
            img.set(
                x, y,
                scaled(mix(rgb(170, 110, 20), rgb(255, 215, 110), sheen), 0.85f + 0.25f * brush));
        }
    return img;
}

// Packed earth of the arena floor: dusty, with faint drag marks.
Image fieldImage() {
    Image img = terrainImage(rgb(150, 126, 92), rgb(170, 146, 108), rgb(132, 108, 80), 24);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float marks = valueNoise(x / 128.0f, y / 4.0f, 2, 25);
            img.blend(x, y, rgb(110, 90, 66), std::max(0.0f, marks - 0.7f) * 0.8f);
        }
    return img;
}

// A hanging banner: two colour fields, a border and a ringed emblem.
Image bannerImage() {
    Image img(128, 256, rgb(150, 30, 30));
    img.fillRect(0, 170, 128, 86, rgb(30, 36, 60));
    img.fillRect(0, 0, 128, 10, rgb(220, 170, 60));
    img.fillRect(0, 160, 128, 10, rgb(220, 170, 60));
    img.fillCircle(64, 85, 40, rgb(220, 170, 60));
    img.fillCircle(64, 85, 30, rgb(150, 30, 30));
    img.fillRect(44, 62, 40, 10, rgb(220, 170, 60));  // a T for Tovask
    img.fillRect(59, 62, 10, 48, rgb(220, 170, 60));
    for (int x = 0; x < 128; x += 16) img.fillCircle(x + 8, 250, 6, rgb(220, 170, 60));
    addGrain(img, 0.08f, 16, 3, 26);
    return img;
}

// Stepped seating: concrete treads with a row of seats on each.
Image seatsImage() {
    Image img = concreteImage(rgb(120, 120, 116), 27);
    for (int x = 8; x < S; x += 32) {
        img.fillRect(x, 40, 22, 70, rgb(40, 70, 140));
        img.bevelRect(x, 40, 22, 70, 0.6f);
        img.fillRect(x, 168, 22, 70, rgb(40, 70, 140));
        img.bevelRect(x, 168, 22, 70, 0.6f);
    }
    return img;
}

struct TextureEntry {
    const char* file;
    Image (*make)();
};

Image brick() {
    return brickImage();
}
Image concrete() {
    return concreteImage(rgb(150, 148, 140), 13);
}
Image darkConcrete() {
    return concreteImage(rgb(74, 76, 82), 14);
}
Image metal() {
    return metalImage(rgb(140, 144, 150), 15);
}
Image grass() {
    return terrainImage(rgb(70, 96, 40), rgb(96, 122, 52), rgb(120, 104, 70), 16);
}
Image sand() {
    return terrainImage(rgb(196, 156, 104), rgb(216, 180, 124), rgb(170, 120, 80), 17);
}
Image rock() {
    return rockImage(rgb(176, 110, 72), 18);
}
Image mesa() {
    return terrainImage(rgb(150, 96, 64), rgb(176, 124, 82), rgb(120, 84, 60), 19);
}
Image skyDay() {
    return skyImage(rgb(40, 90, 180), rgb(170, 205, 235), rgb(255, 250, 230), 0.55f, 81);
}
Image skyDusk() {
    return skyImage(rgb(30, 20, 70), rgb(240, 120, 60), rgb(255, 200, 110), 0.4f, 82);
}

// Columns: file name in textures/, generator.
constexpr TextureEntry WORLD_TEXTURES[] = {
    {"brick.bmp", brick},
    {"concrete.bmp", concrete},
    {"bunker.bmp", darkConcrete},
    {"metal.bmp", metal},
    {"crate.bmp", crateImage},
    {"grass.bmp", grass},
    {"sand.bmp", sand},
    {"rock.bmp", rock},
    {"mesa.bmp", mesa},
    {"tiles.bmp", tilesImage},
    {"panel.bmp", panelImage},
    {"lamp.bmp", lampImage},
    {"glass.bmp", glassImage},
    {"glass-.bmp", glassAlpha},
    {"grate.bmp", grateImage},
    {"grate+.bmp", grateAlpha},
    {"gunmetal.bmp", gunmetalImage},
    {"gold.bmp", goldImage},
    {"field.bmp", fieldImage},
    {"banner.bmp", bannerImage},
    {"seats.bmp", seatsImage},
    {"sky_day.bmp", skyDay},
    {"sky_dusk.bmp", skyDusk},
};

}  // namespace

Image metalImage(Colour base, unsigned seed) {
    Image img(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const float brush = valueNoise(x / 32.0f, y * 0.75f, 4, seed);
            const float blotch = fractalNoise(x / 32.0f, y / 32.0f, 4, 3, 0.5f, seed + 1);
            img.set(x, y, scaled(base, 0.8f + 0.15f * brush + 0.2f * blotch));
        }
    for (int k : {4, 124})
        for (int j = 4; j < 128; j += 24) {
            img.fillCircle(k, j, 2.2f, scaled(base, 0.5f));
            img.fillCircle(j, k, 2.2f, scaled(base, 0.5f));
        }
    return img;
}

Image skyImage(Colour zenith, Colour horizon, Colour glow, float cloudiness, unsigned seed) {
    // 512 x 256; the top row is the zenith, the bottom row a little below the
    // horizon. Clouds tile across the width because the sky wraps around.
    constexpr int W = 512, H = 256;
    Image img(W, H);
    for (int y = 0; y < H; ++y) {
        const float up = 1.0f - static_cast<float>(y) / (H - 1);  // 1 at the zenith
        const Colour base =
            mix(horizon, zenith, std::pow(std::clamp(up * 1.25f - 0.1f, 0.0f, 1.0f), 0.7f));
        for (int x = 0; x < W; ++x) {
            const float n = fractalNoise(x / 64.0f, y / 32.0f, 8, 5, 0.55f, seed);
            const float cloud = std::clamp((n - (1.0f - cloudiness)) * 3.0f, 0.0f, 1.0f) *
                                std::clamp((up - 0.05f) * 4.0f, 0.0f, 1.0f);
            const float sun =
                std::pow(std::max(0.0f, std::cos((x - W * 0.3f) * 2.0f * PI / W)), 8.0f) *
                std::clamp(1.0f - up * 2.0f, 0.0f, 1.0f);
            Colour c = mix(base, glow, sun * 0.6f);
            c = mix(c, mix(glow, rgb(255, 255, 255), 0.5f), cloud * 0.8f);
            img.set(x, y, c);
        }
    }
    return img;
}

bool writeWorldTextures(const std::string& textureDir) {
    bool ok = true;
    for (const TextureEntry& t : WORLD_TEXTURES)
        ok = saveBmp(t.make(), textureDir + "/" + t.file) && ok;
    return ok;
}
