// "Bunker": a dark underground complex, a pillared hall with side rooms and a vault; no sky, no
// roof.
#include <algorithm>

#include "Maps.h"

namespace {

constexpr float CEILING = 22;  // height of every room
constexpr float THICK = 4;     // wall thickness

struct Room {
    float x0, z0, x1, z1;  // floor rectangle
};

// Columns: west x, north z, east x, south z. The hall holds the start point
// (0, 0, -50) and the spawn area; the others open off it through doorways.
constexpr Room ROOMS[] = {
    {-70, -130, 70, 40},    // hall
    {70, -110, 180, 10},    // east room
    {-180, -110, -70, 10},  // west room
    {-40, -250, 40, -130},  // vault
};

struct Wall {
    float x0, z0, x1, z1;  // footprint (thickness included)
};

// Walls with gaps for the doors (24 units wide). Columns: footprint corners.
constexpr Wall WALLS[] = {
    // hall
    {-74, -134, -12, -130},
    {12, -134, 74, -130},  // north, door to the vault
    {-74, 40, 74, 44},     // south
    {-74, -130, -70, -62},
    {-74, -38, -70, 40},  // west, door to the west room
    {70, -130, 74, -62},
    {70, -38, 74, 40},  // east, door to the east room
    // east room
    {74, -114, 184, -110},
    {74, 10, 184, 14},
    {180, -110, 184, 10},
    // west room
    {-184, -114, -74, -110},
    {-184, 10, -74, 14},
    {-184, -110, -180, 10},
    // vault
    {-44, -254, 44, -250},
    {-44, -250, -40, -134},
    {40, -250, 44, -134},
};

// The gaps the doors leave in the walls. Columns: footprint corners.
constexpr Wall DOORS[] = {
    {-12, -134, 12, -130},
    {-74, -62, -70, -38},
    {70, -62, 74, -38},
};

struct Column {
    float x, z, half;  // centre and half-width
};

// Square pillars holding the ceiling, and crates. Columns: x, z, half-width.
constexpr Column PILLARS[] = {
    {-45, -100, 3}, {45, -100, 3}, {-45, 15, 3}, {45, 15, 3}, {125, -50, 3}, {-125, -50, 3},
};
constexpr Column CRATES[] = {
    {150, -90, 3},  {156, -84, 3},  {100, -10, 3}, {-150, -20, 3},
    {-110, -95, 3}, {-20, -220, 3}, {25, -200, 3}, {-30, 25, 3},
};

// Oil drums in clusters. Columns: centre x, centre z, radius.
constexpr Column BARRELS[] = {
    {160, -20, 1.4f},  {163, -16, 1.4f},  {158, -14, 1.4f}, {-160, -95, 1.4f},
    {-156, -99, 1.4f}, {-30, -240, 1.4f}, {30, -150, 1.4f}, {33, -154, 1.4f},
};
constexpr float BARREL_HIGH = 4.2f;

void barrels(MeshPart& drums, MeshPart& col) {
    for (const Column& b : BARRELS) {
        drums.tube({b.x, FLOOR_Y, b.z}, {b.x, BARREL_HIGH, b.z}, b.half, 12, {0, 0, 1, 1},
                   {0, 0, 1, 1});
        col.box({b.x - b.half - BODY_MARGIN, COLLISION_BOTTOM, b.z - b.half - BODY_MARGIN},
                {b.x + b.half + BODY_MARGIN, COLLISION_MIN_TOP, b.z + b.half + BODY_MARGIN},
                uniformUv({}));
    }
}

// Pipes along the hall's long walls, well above anything that moves.
void pipes(MeshPart& metal) {
    for (float x : {-68.5f, 68.5f})
        for (float y : {18.0f, 19.6f})
            metal.tube({x, y, -128}, {x, y, 38}, 0.6f, 8, {0, 0, 1, 8}, {0, 0, 1, 1});
}

void rooms(MeshPart& ceiling, MeshPart& lamps) {
    for (const Room& r : ROOMS) {
        ceilingRect(ceiling, r.x0, r.z0, r.x1, r.z1, CEILING, 16);
        // A lamp panel every 40 units, hanging just under the ceiling.
        for (float x = r.x0 + 20; x < r.x1 - 10; x += 40)
            for (float z = r.z0 + 20; z < r.z1 - 10; z += 40)
                lamps.quad({x - 4, CEILING - 0.2f, z - 4}, {x + 4, CEILING - 0.2f, z - 4},
                           {x + 4, CEILING - 0.2f, z + 4}, {x - 4, CEILING - 0.2f, z + 4}, {});
    }
}

// Door frames: a lintel over each gap in the walls, so doorways read as doors.
void lintels(MeshPart& panel) {
    for (const Wall& d : DOORS) panel.worldBox({d.x0, 16, d.z0}, {d.x1, CEILING, d.z1}, 1.0f / 16);
}

}  // namespace

MapModels buildBunker() {
    MapModels m;
    m.level.materials = {
        texturedMaterial("panel", "panel.bmp"), texturedMaterial("concrete", "bunker.bmp"),
        texturedMaterial("lamp", "lamp.bmp"),   texturedMaterial("crate", "crate.bmp"),
        texturedMaterial("metal", "metal.bmp"), colouredMaterial("drum", 170, 50, 30)};
    MeshPart walls("walls", "panel"), ceiling("ceiling", "concrete"), lamps("lamps", "lamp");
    MeshPart crates("crates", "crate"), metal("pipes", "metal"), drums("drums", "drum");
    MeshPart col("collision", "none");
    for (const Wall& w : WALLS)
        solidBlock(walls, col, {w.x0, FLOOR_Y, w.z0}, {w.x1, CEILING, w.z1}, 32);
    for (const Column& p : PILLARS)
        solidBlock(ceiling, col, {p.x - p.half, FLOOR_Y, p.z - p.half},
                   {p.x + p.half, CEILING, p.z + p.half}, 16);
    for (const Column& c : CRATES)  // one crate texture per 6-unit face
        solidBlock(crates, col, {c.x - c.half, FLOOR_Y, c.z - c.half},
                   {c.x + c.half, 2 * c.half, c.z + c.half}, 6);
    barrels(drums, col);
    pipes(metal);
    rooms(ceiling, lamps);
    lintels(walls);
    m.level.parts = {walls, ceiling, lamps, crates, metal, drums};

    m.ground.materials = {texturedMaterial("tiles", "tiles.bmp")};
    MeshPart floor("floor", "tiles");
    for (const Room& r : ROOMS) floorRect(floor, r.x0, r.z0, r.x1, r.z1, FLOOR_Y, 16, 4);
    for (const Wall& d : DOORS) floorRect(floor, d.x0, d.z0, d.x1, d.z1, FLOOR_Y, 16, 1);
    m.ground.parts = {floor};

    m.collision.materials = {colouredMaterial("none", 255, 0, 255)};
    fenceAround(col, m.level, 6, CEILING + 10);
    m.collision.parts = {col};
    return m;
}
