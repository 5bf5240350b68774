// "menu.jpg": the menu's night-time backdrop; its right-hand third stays dark for the menu's texts.
#include "MenuPicture.h"

#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "JpegFile.h"
#include "Noise.h"
#include "Rng.h"

namespace {

constexpr int SIZE = 1024;          // pixels; stretched over the whole screen
constexpr int HORIZON = 640;        // row of the far horizon
constexpr int GROUND = 800;         // row where the figures stand
constexpr float TEXT_SIDE = 0.64f;  // the menu's texts start at 430 of 640

// A soft light: strength falls off with the square of the distance.
void glow(Image& img, float cx, float cy, float radius, Colour c, float strength) {
    for (int y = static_cast<int>(cy - radius); y <= static_cast<int>(cy + radius); ++y)
        for (int x = static_cast<int>(cx - radius); x <= static_cast<int>(cx + radius); ++x) {
            const float d = std::hypot(x - cx, y - cy) / radius;
            if (d < 1.0f) img.blend(x, y, c, strength * (1.0f - d) * (1.0f - d));
        }
}

void sky(Image& img) {
    Rng rng(5);
    for (int y = 0; y < HORIZON; ++y) {
        const float t = static_cast<float>(y) / HORIZON;
        const Colour c = mix(rgb(6, 8, 24), rgb(70, 30, 60), std::pow(t, 2.2f));
        for (int x = 0; x < SIZE; ++x) img.set(x, y, c);
    }
    for (int i = 0; i < 500; ++i) {
        const float x = rng.range(0, SIZE), y = rng.range(0, HORIZON * 0.8f);
        img.fillCircle(x, y, rng.range(0.4f, 1.3f), rgb(255, 250, 235), rng.range(0.3f, 0.9f));
    }
    // A large pale moon with a few maria.
    glow(img, 250, 190, 200, rgb(90, 90, 140), 0.5f);
    img.fillCircle(250, 190, 86, rgb(225, 220, 200));
    for (int i = 0; i < 7; ++i)
        img.fillCircle(210 + rng.range(0, 80), 150 + rng.range(0, 80), rng.range(8, 20),
                       rgb(180, 176, 165), 0.7f);
}

void landscape(Image& img) {
    for (int x = 0; x < SIZE; ++x) {
        const float ridge = HORIZON - 40 - 90 * fractalNoise(x / 160.0f, 0.5f, 7, 4, 0.5f, 3);
        for (int y = static_cast<int>(ridge); y < SIZE; ++y) {
            const float depth = std::clamp((y - ridge) / 300.0f, 0.0f, 1.0f);
            img.set(x, y, mix(rgb(28, 20, 40), rgb(10, 10, 14), depth));
        }
    }
    // The arena's far wall with a row of lamps.
    img.fillRect(0, HORIZON + 10, SIZE, 40, rgb(18, 16, 24));
    for (int x = 30; x < SIZE; x += 90) {
        img.fillRect(x - 2, HORIZON - 30, 4, 44, rgb(14, 12, 18));  // lamp posts
        glow(img, x, HORIZON - 32, 40, rgb(255, 190, 90), 0.5f);
        img.fillCircle(x, HORIZON - 32, 3, rgb(255, 230, 170));
    }
    // Towers at the corners of the far wall.
    for (int x : {120, 760}) img.fillRect(x, HORIZON - 40, 50, 90, rgb(16, 14, 22));
    // Ground: dark with a faint grid of floor seams in perspective.
    for (int y = HORIZON + 50; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x)
            img.set(x, y, mix(rgb(20, 18, 24), rgb(8, 8, 10), (y - HORIZON) / 384.0f));
    for (int k = -12; k <= 12; ++k)
        img.line(512 + k * 12, HORIZON + 50, 512 + k * 160, SIZE, 1.5f, rgb(60, 50, 70), 0.4f);
}

// A standing figure in silhouette: legs, torso, head with a glowing visor and
// a gun held forward. facing is +1 (right) or -1 (left).
void figure(Image& img, float x, float scale, float facing, Colour visor) {
    const Colour dark = rgb(6, 6, 10);
    auto rect = [&](float x0, float y0, float x1, float y1) {
        const float a = std::min(x0, x1), b = std::max(x0, x1);
        img.fillRect(static_cast<int>(x + a * scale), static_cast<int>(GROUND - y1 * scale),
                     static_cast<int>((b - a) * scale), static_cast<int>((y1 - y0) * scale), dark);
    };
    rect(-1.1f, 0, -0.2f, 3.3f);  // legs
    rect(0.2f, 0, 1.1f, 3.3f);
    rect(-1.3f, 3.1f, 1.3f, 6.3f);                   // torso
    rect(-1.7f, 5.6f, 1.7f, 6.5f);                   // shoulder pads
    rect(-0.65f, 6.5f, 0.65f, 7.9f);                 // head
    rect(facing * 0.2f, 3.7f, facing * 4.2f, 4.3f);  // gun
    const int vy = static_cast<int>(GROUND - 7.4f * scale);
    img.fillRect(static_cast<int>(x - 0.5f * scale), vy, static_cast<int>(scale),
                 static_cast<int>(0.25f * scale) + 1, visor);
    glow(img, x, vy, 1.6f * scale, visor, 0.35f);
}

void action(Image& img) {
    figure(img, 190, 34, 1, rgb(255, 170, 40));
    figure(img, 560, 22, -1, rgb(80, 220, 255));
    // A shot streaking between them, and its flash.
    img.line(340, GROUND - 4 * 34, 470, GROUND - 4 * 22 - 2, 5, rgb(255, 230, 120), 0.9f);
    img.line(340, GROUND - 4 * 34, 470, GROUND - 4 * 22 - 2, 14, rgb(255, 160, 60), 0.25f);
    glow(img, 480, GROUND - 4 * 22, 60, rgb(255, 200, 100), 0.7f);
    img.fillCircle(480, GROUND - 4 * 22, 10, rgb(255, 250, 220), 0.9f);
}

// Darkens the right-hand third so the menu's texts stand out, and frames it.
void textPanel(Image& img) {
    const int edge = static_cast<int>(SIZE * TEXT_SIDE);
    for (int y = 0; y < SIZE; ++y)
        for (int x = edge - 60; x < SIZE; ++x) {
            const float t = std::clamp((x - (edge - 60)) / 60.0f, 0.0f, 1.0f);
            img.set(x, y, mix(img.get(x, y), rgb(4, 4, 8), t * 0.8f));
        }
    img.line(edge, 0, edge, SIZE, 2, rgb(200, 140, 60), 0.6f);
    // A faint diagonal hatching keeps the panel from looking empty.
    for (int y = 0; y < SIZE; ++y)
        for (int x = edge + 2; x < SIZE; ++x)
            if ((x + y) % 24 < 2) img.blend(x, y, rgb(70, 60, 90), 0.15f);
}

void vignette(Image& img) {
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            const float dx = (x - SIZE * 0.5f) / SIZE, dy = (y - SIZE * 0.5f) / SIZE;
            img.set(x, y, scaled(img.get(x, y), 1.0f - 0.9f * (dx * dx + dy * dy)));
        }
}

}  // namespace

Image paintMenuPicture() {
    Image img(SIZE, SIZE);
    sky(img);
    landscape(img);
    action(img);
    textPanel(img);
    vignette(img);
    return img;
}

bool writeMenuPicture(const std::string& path) {
    return saveJpeg(paintMenuPicture(), path, 88);
}
