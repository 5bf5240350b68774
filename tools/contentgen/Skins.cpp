// Paints the characters' skin textures: uniforms, faces and gear laid out by SkinLayout.
#include "Skins.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "SkinLayout.h"

namespace {

Colour patternAt(const SkinStyle& s, int x, int y, unsigned seed) {
    switch (s.patternKind) {
        case 0: {
            const float n = fractalNoise(x / 24.0f, y / 24.0f, 11, 3, 0.5f, seed);
            const float m = fractalNoise(x / 24.0f, y / 24.0f, 11, 3, 0.5f, seed + 50);
            Colour c = n > 0.55f ? s.pattern : s.cloth;
            if (m > 0.62f) c = scaled(s.cloth, 0.55f);
            return c;
        }
        case 1: {
            const bool stripe = ((x + y / 2) / 10) % 3 == 0;
            return stripe ? s.pattern : s.cloth;
        }
        default: {
            const float n = latticeValue(x / 6, y / 6, seed);
            if (n > 0.72f) return s.pattern;
            if (n < 0.18f) return scaled(s.cloth, 0.6f);
            return s.cloth;
        }
    }
}

void fillRegion(Image& img, SkinRegion r, const SkinStyle& s, unsigned seed) {
    const SkinRect& q = SKIN_LAYOUT[r];
    for (int y = q.y; y < q.y + q.h; ++y)
        for (int x = q.x; x < q.x + q.w; ++x) {
            const float grain = valueNoise(x / 3.0f, y / 3.0f, 86, seed + 9);
            img.set(x, y, scaled(patternAt(s, x, y, seed), 0.9f + 0.2f * grain));
        }
}

void armourRegion(Image& img, SkinRegion r, Colour c) {
    const SkinRect& q = SKIN_LAYOUT[r];
    for (int y = q.y; y < q.y + q.h; ++y)
        for (int x = q.x; x < q.x + q.w; ++x) {
            const float shade = 1.0f - 0.25f * static_cast<float>(y - q.y) / q.h;
            img.set(x, y, scaled(c, shade + 0.05f * latticeValue(x, y, 7)));
        }
    img.bevelRect(q.x, q.y, q.w, q.h, 0.6f);
}

void paintFace(Image& img, const SkinStyle& s, int face) {
    const SkinRect& q = SKIN_LAYOUT[FACE];
    armourRegion(img, FACE, s.armour);
    const float cx = q.x + q.w * 0.5f;
    switch (face) {
        case 0:  // a glowing visor band with a brighter slit
            img.fillRect(q.x + 6, q.y + 20, q.w - 12, 14, scaled(s.visor, 0.6f));
            img.fillRect(q.x + 8, q.y + 25, q.w - 16, 4, s.visor);
            img.bevelRect(q.x + 6, q.y + 20, q.w - 12, 14, 0.8f);
            break;
        case 1:  // two round goggles
            for (float dx : {-13.0f, 13.0f}) {
                img.fillCircle(cx + dx, q.y + 26, 10, rgb(20, 20, 20));
                img.fillCircle(cx + dx, q.y + 26, 7, s.visor);
                img.fillCircle(cx + dx - 2, q.y + 24, 2.5f, rgb(255, 255, 255), 0.8f);
            }
            break;
        default:  // gas mask: eye pieces and a filter snout
            for (float dx : {-12.0f, 12.0f}) {
                img.fillCircle(cx + dx, q.y + 22, 8, rgb(30, 30, 30));
                img.fillCircle(cx + dx, q.y + 22, 5, s.visor);
            }
            img.fillCircle(cx, q.y + 46, 11, rgb(40, 40, 40));
            for (int k = -2; k <= 2; ++k)
                img.line(cx - 9, q.y + 46 + k * 3.5f, cx + 9, q.y + 46 + k * 3.5f, 1.2f,
                         rgb(90, 90, 90));
            return;
    }
    // Mouth grille.
    for (int k = 0; k < 4; ++k) img.fillRect(q.x + 22, q.y + 42 + k * 4, 20, 2, rgb(30, 30, 30));
}

void paintChest(Image& img, const SkinStyle& s) {
    const SkinRect& q = SKIN_LAYOUT[CHEST];
    // An armoured vest with two pouches and an emblem.
    img.blendRect(q.x + 6, q.y + 4, q.w - 12, 52, s.armour, 0.9f);
    img.bevelRect(q.x + 6, q.y + 4, q.w - 12, 52, 0.7f);
    img.fillCircle(q.x + q.w * 0.5f, q.y + 26, 10, s.visor, 0.9f);
    img.fillCircle(q.x + q.w * 0.5f, q.y + 26, 5, scaled(s.armour, 0.5f));
    for (int px : {8, 36}) {
        img.fillRect(q.x + px, q.y + 62, 20, 18, scaled(s.cloth, 0.7f));
        img.bevelRect(q.x + px, q.y + 62, 20, 18, 0.7f);
    }
}

void paintBack(Image& img, const SkinStyle& s) {
    const SkinRect& q = SKIN_LAYOUT[BACK];
    const Colour strap = scaled(s.armour, 0.5f);
    img.line(q.x + 12, q.y, q.x + 20, q.y + q.h, 6, strap);
    img.line(q.x + q.w - 12, q.y, q.x + q.w - 20, q.y + q.h, 6, strap);
    img.fillRect(q.x + 18, q.y + 30, q.w - 36, 20, scaled(s.armour, 0.8f));
    img.bevelRect(q.x + 18, q.y + 30, q.w - 36, 20, 0.6f);
}

void paintDetails(Image& img, const SkinStyle& s) {
    const SkinRect& belt = SKIN_LAYOUT[BELT];
    img.fillRect(belt.x, belt.y, belt.w, belt.h, rgb(40, 36, 30));
    img.fillRect(belt.x + 24, belt.y + 8, 16, 16, rgb(200, 190, 150));
    img.bevelRect(belt.x + 24, belt.y + 8, 16, 16, 0.6f);
    armourRegion(img, BOOT, scaled(s.armour, 0.45f));
    armourRegion(img, GLOVE, scaled(s.armour, 0.6f));
    armourRegion(img, PAD, s.armour);
    const SkinRect& pad = SKIN_LAYOUT[PAD];
    img.fillRect(pad.x, pad.y + 40, pad.w, 8, s.visor);
    const SkinRect& sleeve = SKIN_LAYOUT[SLEEVE];
    img.fillRect(sleeve.x, sleeve.y + 10, sleeve.w, 6, s.armour);
    const SkinRect& leg = SKIN_LAYOUT[LEG];
    img.fillRect(leg.x + 8, leg.y + 56, leg.w - 16, 20, s.armour);  // knee pads
    img.bevelRect(leg.x + 8, leg.y + 56, leg.w - 16, 20, 0.6f);
    const SkinRect& head = SKIN_LAYOUT[HEAD];
    armourRegion(img, HEAD, s.armour);
    img.fillRect(head.x + 28, head.y, 8, head.h, s.visor);  // crest stripe
}

}  // namespace

Image paintSkin(const SkinStyle& style, int face, unsigned seed) {
    Image img(SKIN_SIZE, SKIN_SIZE, rgb(0, 0, 0));
    for (SkinRegion r : {CHEST, BACK, TORSO_SIDE, LEG, SLEEVE}) fillRegion(img, r, style, seed);
    paintDetails(img, style);
    paintFace(img, style, face);
    paintChest(img, style);
    paintBack(img, style);
    return img;
}
