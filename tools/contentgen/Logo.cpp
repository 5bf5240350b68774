// "logo.3ds": the word TOVASK as solid extruded letters for the menu screen, turning about its
// centre.
#include "Logo.h"

#include <vector>

#include "MeshPart.h"

namespace {

// Letters are drawn as straight strokes on a 4 x 6 grid (x right, y up).
struct Stroke {
    float x0, y0, x1, y1;
};
struct Letter {
    char name;
    int first, count;  // strokes in LETTER_STROKES
};

// Columns: start x, start y, end x, end y (grid units).
constexpr Stroke LETTER_STROKES[] = {
    // T
    {0, 6, 4, 6},
    {2, 6, 2, 0},
    // O (chamfered)
    {1, 0, 3, 0},
    {3, 0, 4, 1},
    {4, 1, 4, 5},
    {4, 5, 3, 6},
    {3, 6, 1, 6},
    {1, 6, 0, 5},
    {0, 5, 0, 1},
    {0, 1, 1, 0},
    // V
    {0, 6, 2, 0},
    {2, 0, 4, 6},
    // A
    {0, 0, 2, 6},
    {2, 6, 4, 0},
    {0.9f, 2.4f, 3.1f, 2.4f},
    // S
    {4, 5, 3, 6},
    {3, 6, 1, 6},
    {1, 6, 0, 5},
    {0, 5, 0, 4},
    {0, 4, 1, 3},
    {1, 3, 3, 3},
    {3, 3, 4, 2},
    {4, 2, 4, 1},
    {4, 1, 3, 0},
    {3, 0, 1, 0},
    {1, 0, 0, 1},
    // K
    {0, 0, 0, 6},
    {0, 2.6f, 4, 6},
    {1.3f, 3.7f, 4, 0},
};
// Columns: letter, first stroke, stroke count.
constexpr Letter WORD[] = {{'T', 0, 2},  {'O', 2, 8},   {'V', 10, 2},
                           {'A', 12, 3}, {'S', 15, 11}, {'K', 26, 3}};

constexpr float GRID =
    0.14f;  // world units per grid unit: the menu shows the logo 1.4 times larger
constexpr float ADVANCE = 5.6f;  // grid units from one letter to the next
constexpr float STROKE = 1.0f;   // stroke width, grid units
constexpr float DEPTH = 0.45f;   // extrusion, world units

// One stroke as a box extruded along z, with square caps so joints close.
void addStroke(MeshPart& p, const Stroke& s, float left, const BoxUv& uv) {
    const P3 a{(left + s.x0) * GRID, s.y0 * GRID, 0}, b{(left + s.x1) * GRID, s.y1 * GRID, 0};
    const P3 dir = normalized(b - a);
    const float cap = STROKE * GRID * 0.5f;
    // The beam's width runs across the stroke in the letter's plane, its depth along z.
    const P3 across{-dir.y, dir.x, 0};
    p.beam(a - dir * cap, b + dir * cap, across, STROKE * GRID, DEPTH, uv);
}

}  // namespace

bool writeLogo(const std::string& path) {
    ModelFile f;
    f.materials.push_back(texturedMaterial("gold", "gold.bmp"));
    f.materials.push_back(colouredMaterial("steel", 60, 64, 72));
    MeshPart letters("letters", "gold"), bar("bar", "steel");
    const int count = static_cast<int>(sizeof WORD / sizeof WORD[0]);
    const float width = ((count - 1) * ADVANCE + 4.0f) * GRID;
    const BoxUv uv = uniformUv({0, 0, 1, 1});
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < WORD[i].count; ++k)
            addStroke(letters, LETTER_STROKES[WORD[i].first + k], i * ADVANCE, uv);
    // A bar under the word, set back a little.
    bar.box({-0.15f, -0.4f, -0.12f}, {width + 0.15f, -0.22f, 0.12f}, uv);
    // Centre the logo on its origin so that it turns about its middle.
    const P3 shift{-width * 0.5f, -3.0f * GRID, 0};
    letters.transform([&](P3 q) { return q + shift; });
    bar.transform([&](P3 q) { return q + shift; });
    f.parts = {letters, bar};
    return f.save(path);
}
