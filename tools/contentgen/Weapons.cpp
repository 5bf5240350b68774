// The five guns "w1.3ds" to "w5.3ds", modelled in the creature's frame along -z at muzzle height 4.
#include "Weapons.h"

#include <cmath>
#include <cstdio>

#include "MeshPart.h"

namespace {

constexpr float MUZZLE_Y = 4.0f;  // shots leave at this height
constexpr float GUN_X = 0.3f;     // guns are held slightly right of the middle

const BoxUv WHOLE = uniformUv({0, 0, 1, 1});
const UvRect ROUND{0, 0, 1, 1};

P3 at(float x, float y, float z) {
    return {GUN_X + x, MUZZLE_Y + y, z};
}

struct Gun {
    MeshPart body{"body", "gunmetal"};
    MeshPart trim{"trim", "trim"};
    MeshPart glow{"glow", "glow"};
};

// w1: a rifle: receiver, long barrel, magazine and stock.
void rifle(Gun& g) {
    g.body.box(at(-0.15f, -0.25f, -2.2f), at(0.15f, 0.15f, -0.6f), WHOLE);
    g.body.tube(at(0, 0, -2.2f), at(0, 0, -3.7f), 0.07f, 8, ROUND, ROUND);
    g.trim.box(at(-0.1f, -0.75f, -1.9f), at(0.1f, -0.25f, -1.6f), WHOLE);  // magazine
    g.trim.box(at(-0.12f, -0.45f, -0.6f), at(0.12f, 0.05f, 0.2f), WHOLE);  // stock
    g.glow.box(at(-0.05f, 0.15f, -1.6f), at(0.05f, 0.25f, -1.0f), WHOLE);  // sight
}

// w2: a shell launcher: a fat tube with a shell showing at the mouth.
void launcher(Gun& g) {
    g.body.tube(at(0, 0, 0.3f), at(0, 0, -3.0f), 0.32f, 12, ROUND, ROUND);
    g.trim.tube(at(0, 0, -3.0f), at(0, 0, -3.25f), 0.38f, 12, ROUND, ROUND);
    g.trim.box(at(-0.1f, -0.7f, -1.2f), at(0.1f, -0.3f, -0.9f), WHOLE);  // grip
    g.glow.tube(at(0, 0, -3.0f), at(0, 0, -3.12f), 0.22f, 10, ROUND, ROUND);
}

// w3: a plasma gun: a boxy body with glowing coils round the barrel.
void plasma(Gun& g) {
    g.body.box(at(-0.22f, -0.3f, -1.8f), at(0.22f, 0.25f, -0.5f), WHOLE);
    g.body.tube(at(0, 0, -1.8f), at(0, 0, -3.2f), 0.1f, 8, ROUND, ROUND);
    for (int k = 0; k < 4; ++k) {
        const float z = -2.0f - 0.3f * k;
        g.glow.tube(at(0, 0, z), at(0, 0, z - 0.12f), 0.2f, 10, ROUND, ROUND);
    }
    g.trim.box(at(-0.1f, -0.7f, -1.1f), at(0.1f, -0.3f, -0.8f), WHOLE);
}

// w4: a rotary gun: six barrels round a spindle, a drum underneath.
void rotary(Gun& g) {
    g.body.box(at(-0.3f, -0.3f, -1.2f), at(0.3f, 0.3f, -0.2f), WHOLE);
    for (int k = 0; k < 6; ++k) {
        const float a = 2 * PI * k / 6;
        const float x = 0.17f * std::cos(a), y = 0.17f * std::sin(a);
        g.body.tube(at(x, y, -1.2f), at(x, y, -3.4f), 0.055f, 6, ROUND, ROUND);
    }
    g.trim.tube(at(0, 0, -2.9f), at(0, 0, -3.05f), 0.28f, 10, ROUND, ROUND);
    g.trim.tube(at(0, -0.55f, -0.9f), at(0, -0.55f, -0.3f), 0.3f, 10, ROUND, ROUND);  // drum
}

// w5: a compact blaster held out in both hands, its muzzle glowing.
void blaster(Gun& g) {
    g.body.box(at(-0.15f, -0.15f, -3.0f), at(0.15f, 0.2f, -2.0f), WHOLE);
    g.trim.box(at(-0.1f, -0.6f, -2.45f), at(0.1f, -0.15f, -2.2f), WHOLE);
    g.glow.tube(at(0, 0.02f, -3.0f), at(0, 0.02f, -3.3f), 0.12f, 8, ROUND, ROUND);
}

struct WeaponDesign {
    void (*build)(Gun&);
    unsigned char trim[3];  // colour of the trim parts
    unsigned char glow[3];  // colour of sights, coils and muzzles
};

// Columns: builder, trim colour, glow colour; weapon i is "w<i+1>.3ds".
constexpr WeaponDesign WEAPONS[] = {
    {rifle, {60, 44, 30}, {255, 60, 40}},     {launcher, {90, 100, 60}, {230, 200, 60}},
    {plasma, {40, 50, 70}, {80, 220, 255}},   {rotary, {50, 50, 50}, {200, 200, 200}},
    {blaster, {120, 30, 30}, {255, 150, 40}},
};

}  // namespace

bool writeWeapons(const std::string& modelDir) {
    bool ok = true;
    int index = 1;
    for (const WeaponDesign& w : WEAPONS) {
        Gun gun;
        w.build(gun);
        ModelFile f;
        f.materials.push_back(texturedMaterial("gunmetal", "gunmetal.bmp"));
        f.materials.push_back(colouredMaterial("trim", w.trim[0], w.trim[1], w.trim[2]));
        f.materials.push_back(colouredMaterial("glow", w.glow[0], w.glow[1], w.glow[2]));
        f.parts = {gun.body, gun.trim, gun.glow};
        char path[512];
        std::snprintf(path, sizeof path, "%s/w%d.3ds", modelDir.c_str(), index++);
        ok = f.save(path) && ok;
    }
    return ok;
}
