// "Canyon": a winding gorge under a dusk sky, walled by jagged cliffs, with rock pillars to hide
// behind.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Maps.h"
#include "Noise.h"

namespace {

constexpr float CLIFF_BASE = -2;  // cliffs start below the sand
constexpr float CLIFF_TOP = 44;   // height of the plateau
constexpr float PLATEAU = 420;    // how far the plateau reaches outwards
constexpr int CLIFF_ROWS = 7;     // vertex rows up a cliff face
constexpr float CANYON_NORTH = -420, CANYON_SOUTH = 200;

// The canyon floor's outline, clockwise seen from above (x right, -z up):
// the west side runs south to north, the east side back again.
std::vector<P3> outline() {
    std::vector<P3> pts;
    for (float z = CANYON_SOUTH; z >= CANYON_NORTH; z -= 30)
        pts.push_back({-80 + 22 * std::sin(z / 70.0f), 0, z});
    for (float x = -40; x <= 40; x += 40) pts.push_back({x, 0, CANYON_NORTH - 25});
    for (float z = CANYON_NORTH; z <= CANYON_SOUTH; z += 30)
        pts.push_back({80 + 22 * std::sin(z / 70.0f + 2.0f), 0, z});
    for (float x = 40; x >= -40; x -= 40) pts.push_back({x, 0, CANYON_SOUTH + 25});
    return pts;
}

// Outward direction (away from the canyon floor) at each outline point.
std::vector<P3> outwards(const std::vector<P3>& pts) {
    std::vector<P3> out;
    const size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        const P3 along = normalized(pts[(i + 1) % n] - pts[(i + n - 1) % n]);
        // Walking clockwise seen from above, the outside is on the left.
        out.push_back(normalized(cross({0, 1, 0}, along)));
    }
    return out;
}

// A cliff vertex: leaning back as it rises, roughened by noise, never
// standing in front of its foot (the collision wall relies on that).
P3 cliffPoint(P3 foot, P3 out, int i, int row) {
    const float t = static_cast<float>(row) / CLIFF_ROWS;
    const float y = CLIFF_BASE + (CLIFF_TOP - CLIFF_BASE) * t;
    const float rough = row == 0 ? 0.0f : 9.0f * latticeValue(i, row, 301);
    return foot + out * (t * 10.0f + rough) + P3{0, y, 0};
}

void cliffs(MeshPart& rock, MeshPart& mesa, const std::vector<P3>& pts,
            const std::vector<P3>& out) {
    const size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        const P3 inward = P3{0, 0, 0} - normalized(out[i] + out[j]);
        for (int row = 0; row < CLIFF_ROWS; ++row) {
            const P3 a = cliffPoint(pts[i], out[i], static_cast<int>(i), row);
            const P3 b = cliffPoint(pts[j], out[j], static_cast<int>(j), row);
            const P3 c = cliffPoint(pts[j], out[j], static_cast<int>(j), row + 1);
            const P3 d = cliffPoint(pts[i], out[i], static_cast<int>(i), row + 1);
            orientedQuad(rock, a, b, c, d, inward, 24);
        }
        // The plateau stretching away from the cliff's edge.
        const P3 ei = cliffPoint(pts[i], out[i], static_cast<int>(i), CLIFF_ROWS);
        const P3 ej = cliffPoint(pts[j], out[j], static_cast<int>(j), CLIFF_ROWS);
        const P3 fi = ei + out[i] * PLATEAU, fj = ej + out[j] * PLATEAU;
        orientedQuad(mesa, ei, ej, fj, fi, {0, 1, 0}, 32);
    }
}

// The collision walls: the outline moved a body's half-width inwards.
void cliffCollision(MeshPart& col, const std::vector<P3>& pts, const std::vector<P3>& out) {
    const size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        const P3 a = pts[i] - out[i] * BODY_MARGIN, b = pts[j] - out[j] * BODY_MARGIN;
        col.quad(a + P3{0, COLLISION_BOTTOM, 0}, b + P3{0, COLLISION_BOTTOM, 0},
                 b + P3{0, CLIFF_TOP, 0}, a + P3{0, CLIFF_TOP, 0}, {});
    }
}

struct Pillar {
    float x, z, radius, height;
};

// Free-standing rock columns. Columns: centre x, centre z, radius, height.
constexpr Pillar PILLARS[] = {
    {-35, -140, 7, 30}, {40, -200, 9, 38}, {-10, -290, 8, 26}, {35, -360, 6, 34},
    {30, 90, 8, 28},    {-40, 130, 7, 36}, {50, -100, 5, 18},  {-50, -230, 6, 22},
};

// An irregular eight-sided column that narrows towards its top.
void pillar(MeshPart& rock, MeshPart& col, const Pillar& p, int index) {
    constexpr int SIDES = 8;
    auto corner = [&](int k, float y, float shrink) {
        const float a = 2 * PI * k / SIDES;
        const float r = p.radius * (0.8f + 0.2f * latticeValue(index, k % SIDES, 302)) * shrink;
        return P3{p.x + r * std::sin(a), y, p.z - r * std::cos(a)};
    };
    const P3 centre{p.x, 0, p.z};
    for (int k = 0; k < SIDES; ++k) {
        const P3 a = corner(k, CLIFF_BASE, 1.0f), b = corner(k + 1, CLIFF_BASE, 1.0f);
        const P3 c = corner(k + 1, p.height, 0.7f), d = corner(k, p.height, 0.7f);
        orientedQuad(rock, a, b, c, d, normalized((a + b) * 0.5f - centre), 24);
        rock.triangle(P3{p.x, p.height + 1.5f, p.z}, c, d, 0.5f, 0.5f, 1, 0, 0, 0);
    }
    // Collision: a square column round the widest part plus the body margin.
    const float h = p.radius + BODY_MARGIN;
    col.box({p.x - h, COLLISION_BOTTOM, p.z - h},
            {p.x + h, std::max(p.height, COLLISION_MIN_TOP), p.z + h}, uniformUv({}));
}

}  // namespace

MapModels buildCanyon() {
    MapModels m;
    m.level.materials = {texturedMaterial("rock", "rock.bmp")};
    MeshPart rock("cliffs", "rock"), stones("pillars", "rock"), col("collision", "none");
    const std::vector<P3> pts = outline();
    const std::vector<P3> out = outwards(pts);
    MeshPart mesa("plateau", "mesa");
    cliffs(rock, mesa, pts, out);
    cliffCollision(col, pts, out);
    int index = 0;
    for (const Pillar& p : PILLARS) pillar(stones, col, p, index++);
    m.level.parts = {rock, stones};

    // The sand floor and the plateau above the cliffs belong to the ground.
    m.ground.materials = {texturedMaterial("sand", "sand.bmp"),
                          texturedMaterial("mesa", "mesa.bmp")};
    MeshPart sand("sand", "sand");
    floorRect(sand, -200, CANYON_NORTH - 100, 200, CANYON_SOUTH + 100, FLOOR_Y, 20, 12);
    m.ground.parts = {sand, mesa};

    m.collision.materials = {colouredMaterial("none", 255, 0, 255)};
    fenceAround(col, m.level, 6, CLIFF_TOP + 10);
    m.collision.parts = {col};
    return m;
}
