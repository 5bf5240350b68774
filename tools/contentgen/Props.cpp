// Models the game names itself: collision body, shot, crosshair, sky dome and the menu logo;
// and the empty model a character without extra model names.
#include "Props.h"

#include <cmath>

#include "Logo.h"
#include "MeshPart.h"

namespace {

// "c3.3ds": the box every creature collides with, 4 wide and deep, 8 tall,
// standing on its origin. Only drawn for a creature without a character.
ModelFile collisionBody() {
    ModelFile f;
    f.materials.push_back(colouredMaterial("body", 150, 160, 170));
    MeshPart p("body", "body");
    p.box({-2, 0, -2}, {2, 8, 2}, uniformUv({}));
    f.parts.push_back(p);
    return f;
}

// "zat.3ds": a shot, a stretched double pyramid centred on its origin and
// pointing along -z (its flight direction); drawn unlit in its own colour.
ModelFile shot() {
    ModelFile f;
    f.materials.push_back(colouredMaterial("glow", 255, 230, 90));
    MeshPart p("shot", "glow");
    constexpr int SIDES = 6;
    const P3 tip{0, 0, -0.9f}, tail{0, 0, 0.9f};
    for (int i = 0; i < SIDES; ++i) {
        const float a0 = 2 * PI * i / SIDES, a1 = 2 * PI * (i + 1) / SIDES;
        const P3 r0{0.3f * std::cos(a0), 0.3f * std::sin(a0), 0};
        const P3 r1{0.3f * std::cos(a1), 0.3f * std::sin(a1), 0};
        p.triangle(tip, r1, r0, 0, 0, 0, 0, 0, 0);
        p.triangle(tail, r0, r1, 0, 0, 0, 0, 0, 0);
    }
    f.parts.push_back(p);
    return f;
}

// "zamer.3ds": the crosshair, a ring with four ticks 35 units ahead of the
// creature (-z), facing back at the camera (+z).
ModelFile crosshair() {
    ModelFile f;
    f.materials.push_back(colouredMaterial("reticle", 90, 255, 90));
    MeshPart p("reticle", "reticle");
    constexpr float Z = -35.0f, INNER = 1.1f, OUTER = 1.35f;
    constexpr int SEGMENTS = 24;
    for (int i = 0; i < SEGMENTS; ++i) {
        const float a0 = 2 * PI * i / SEGMENTS, a1 = 2 * PI * (i + 1) / SEGMENTS;
        const P3 i0{INNER * std::cos(a0), INNER * std::sin(a0), Z};
        const P3 o0{OUTER * std::cos(a0), OUTER * std::sin(a0), Z};
        const P3 i1{INNER * std::cos(a1), INNER * std::sin(a1), Z};
        const P3 o1{OUTER * std::cos(a1), OUTER * std::sin(a1), Z};
        p.quad(i0, o0, o1, i1, {});  // counter-clockwise seen from +z
    }
    for (int k = 0; k < 4; ++k) {  // ticks pointing at the centre
        const float a = PI * 0.5f * k;
        const P3 dir{std::cos(a), std::sin(a), 0}, side{-std::sin(a), std::cos(a), 0};
        const P3 inner = dir * 1.6f + P3{0, 0, Z}, outer = dir * 2.6f + P3{0, 0, Z};
        p.quad(inner - side * 0.12f, outer - side * 0.12f, outer + side * 0.12f,
               inner + side * 0.12f, {});
    }
    p.quad({-0.12f, -0.12f, Z}, {0.12f, -0.12f, Z}, {0.12f, 0.12f, Z}, {-0.12f, 0.12f, Z}, {});
    f.parts.push_back(p);
    return f;
}

// "sky.3ds": a dome of radius 1500 around the origin seen from inside, from a
// little below the horizon to the zenith. Its one texture is replaced by each
// map's sky: u goes twice round, v runs from the horizon (0) to the zenith (1).
ModelFile skyDome() {
    ModelFile f;
    f.materials.push_back(texturedMaterial("sky", "sky_day.bmp"));
    MeshPart p("sky", "sky");
    constexpr float RADIUS = 1500.0f;
    constexpr int AROUND = 24, UP = 8;
    constexpr float LOWEST = -12.0f;  // degrees: the rim hides below the ground's edge
    auto point = [&](int i, int j) {
        const float elevation = radians(LOWEST + (90.0f - LOWEST) * j / UP);
        const float azimuth = 2 * PI * i / AROUND;
        return P3{RADIUS * std::cos(elevation) * std::sin(azimuth), RADIUS * std::sin(elevation),
                  -RADIUS * std::cos(elevation) * std::cos(azimuth)};
    };
    for (int j = 0; j < UP; ++j)
        for (int i = 0; i < AROUND; ++i) {
            const float u0 = 2.0f * i / AROUND, u1 = 2.0f * (i + 1) / AROUND;
            const float v0 = static_cast<float>(j) / UP, v1 = static_cast<float>(j + 1) / UP;
            // Azimuth grows clockwise seen from above, so these corners run
            // counter-clockwise seen from the centre: the inside is the front.
            if (j == UP - 1)
                p.triangle(point(i, j), point(i + 1, j), point(i, j + 1), u0, v0, u1, v0,
                           (u0 + u1) * 0.5f, 1.0f);
            else
                p.quad(point(i, j), point(i + 1, j), point(i + 1, j + 1), point(i, j + 1),
                       {u0, v0, u1, v1});
        }
    f.parts.push_back(p);
    return f;
}

// "none.3ds": nothing to draw, for the extra model of a character that has
// none (its description file must name one). One small triangle in a hidden
// object, so the model loads, holds a triangle and shows none.
ModelFile nothing() {
    ModelFile f;
    f.materials.push_back(colouredMaterial("none", 0, 0, 0));
    MeshPart p("_none", "none");
    p.triangle({0, 0, 0}, {0.1f, 0, 0}, {0, 0.1f, 0}, 0, 0, 0, 0, 0, 0);
    f.parts.push_back(p);
    return f;
}

}  // namespace

bool writeProps(const std::string& modelDir) {
    bool ok = collisionBody().save(modelDir + "/c3.3ds");
    ok = shot().save(modelDir + "/zat.3ds") && ok;
    ok = crosshair().save(modelDir + "/zamer.3ds") && ok;
    ok = skyDome().save(modelDir + "/sky.3ds") && ok;
    ok = writeLogo(modelDir + "/logo.3ds") && ok;
    ok = nothing().save(modelDir + "/none.3ds") && ok;
    return ok;
}
