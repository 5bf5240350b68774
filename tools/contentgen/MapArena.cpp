// "Arena": an open-air walled arena under a day sky, with a glass and grating canopy on pillars.
#include <algorithm>

#include "MapKit.h"
#include "Maps.h"

namespace {

// Inside faces of the perimeter wall, world units. The start point (0, 0, -50)
// and the spawn area (x -9..10, z -44..-10) lie well inside.
constexpr float WEST = -150, EAST = 150, NORTH = -190, SOUTH = 110;
constexpr float WALL_THICK = 4, WALL_HIGH = 14, TOWER = 16, TOWER_HIGH = 24;

struct Block {
    float x, z;     // centre on the ground
    float w, d, h;  // size along x, z and height
    int kind;       // 0 crate, 1 concrete
};

// Cover in the field. Columns: centre x, centre z, width, depth, height, kind.
// Everything keeps its collision box at least 12 units from the spawn area.
constexpr Block FIELD[] = {
    {-60, -40, 6, 6, 6, 0},  {-66, -46, 6, 6, 12, 0},   {-54, -47, 6, 6, 6, 0},
    {70, 30, 6, 6, 12, 0},   {76, 24, 6, 6, 6, 0},      {-95, 60, 6, 6, 6, 0},
    {-100, 54, 6, 6, 12, 0}, {10, 60, 30, 3, 7, 1},     {-30, -120, 3, 30, 7, 1},
    {0, -150, 40, 3, 7, 1},  {-110, -140, 6, 6, 12, 0}, {-104, -146, 6, 6, 6, 0},
    {120, 80, 6, 6, 6, 0},   {-120, -20, 3, 40, 7, 1},  {40, -40, 3, 24, 7, 1},
};

// The canopy: pillars at its corners and middle, roof at ROOF_Y.
constexpr float CANOPY_X0 = 60, CANOPY_X1 = 130, CANOPY_Z0 = -170, CANOPY_Z1 = -90, ROOF_Y = 24;
constexpr float PILLAR = 2.5f;  // half-width

void perimeter(MeshPart& wall, MeshPart& cap, MeshPart& col) {
    const float t = WALL_THICK;
    const float y = FLOOR_Y;
    solidBlock(wall, col, {WEST - t, y, NORTH - t}, {EAST + t, WALL_HIGH, NORTH}, 8);
    solidBlock(wall, col, {WEST - t, y, SOUTH}, {EAST + t, WALL_HIGH, SOUTH + t}, 8);
    solidBlock(wall, col, {WEST - t, y, NORTH}, {WEST, WALL_HIGH, SOUTH}, 8);
    solidBlock(wall, col, {EAST, y, NORTH}, {EAST + t, WALL_HIGH, SOUTH}, 8);
    for (float x : {WEST, EAST})
        for (float z : {NORTH, SOUTH}) {
            const float h = TOWER * 0.5f;
            solidBlock(cap, col, {x - h, y, z - h}, {x + h, TOWER_HIGH, z + h}, 16);
            cap.worldBox({x - h - 1, TOWER_HIGH, z - h - 1}, {x + h + 1, TOWER_HIGH + 2, z + h + 1},
                         0.125f);
        }
    // A coping along the top of the walls.
    cap.worldBox({WEST - t - 0.5f, WALL_HIGH, NORTH - t - 0.5f},
                 {EAST + t + 0.5f, WALL_HIGH + 1, NORTH + 0.5f}, 0.125f);
    cap.worldBox({WEST - t - 0.5f, WALL_HIGH, SOUTH - 0.5f},
                 {EAST + t + 0.5f, WALL_HIGH + 1, SOUTH + t + 0.5f}, 0.125f);
    cap.worldBox({WEST - t - 0.5f, WALL_HIGH, NORTH}, {WEST + 0.5f, WALL_HIGH + 1, SOUTH}, 0.125f);
    cap.worldBox({EAST - 0.5f, WALL_HIGH, NORTH}, {EAST + t + 0.5f, WALL_HIGH + 1, SOUTH}, 0.125f);
}

void field(MeshPart& crates, MeshPart& concrete, MeshPart& col) {
    for (const Block& b : FIELD) {
        const P3 lo{b.x - b.w * 0.5f, FLOOR_Y, b.z - b.d * 0.5f},
            hi{b.x + b.w * 0.5f, b.h, b.z + b.d * 0.5f};
        if (b.kind == 0)
            solidBlock(crates, col, lo, hi, 6);  // one crate texture per 6-unit face
        else
            solidBlock(concrete, col, lo, hi, 16);
    }
}

void canopyPillars(MeshPart& metal, MeshPart& col) {
    for (float x : {CANOPY_X0, (CANOPY_X0 + CANOPY_X1) * 0.5f, CANOPY_X1})
        for (float z : {CANOPY_Z0, CANOPY_Z1})
            solidBlock(metal, col, {x - PILLAR, FLOOR_Y, z - PILLAR},
                       {x + PILLAR, ROOF_Y, z + PILLAR}, 8);
}

// Tiered stands behind the north and south walls, for the view from above.
void stands(MeshPart& seats) {
    constexpr int TIERS = 6;
    constexpr float TREAD = 5, RISE = 3;  // depth and height of one tier
    for (int side = 0; side < 2; ++side) {
        const float wall = side == 0 ? NORTH - WALL_THICK : SOUTH + WALL_THICK;
        const float away = side == 0 ? -1.0f : 1.0f;  // outwards from the field
        for (int t = 0; t < TIERS; ++t) {
            const float z0 = wall + away * (TREAD * t), z1 = wall + away * (TREAD * (t + 1));
            seats.worldBox({WEST + 10, FLOOR_Y, std::min(z0, z1)},
                           {EAST - 10, WALL_HIGH - 4 + RISE * t, std::max(z0, z1)}, 1.0f / 8);
        }
    }
}

// Floodlight masts on the towers and banners on the inner faces of the walls.
void dressing(MeshPart& metal, MeshPart& lamps, MeshPart& banners) {
    for (float x : {WEST, EAST})
        for (float z : {NORTH, SOUTH}) {
            metal.worldBox({x - 0.8f, TOWER_HIGH + 2, z - 0.8f},
                           {x + 0.8f, TOWER_HIGH + 26, z + 0.8f}, 0.25f);
            lamps.box({x - 4, TOWER_HIGH + 26, z - 1.5f}, {x + 4, TOWER_HIGH + 30, z + 1.5f},
                      uniformUv({}));
        }
    constexpr float HANG = 0.3f;  // banners stand off the wall so they never fight with it
    for (float x = WEST + 30; x < EAST - 20; x += 60) {
        banners.quad({x - 4, 2, NORTH + HANG}, {x + 4, 2, NORTH + HANG}, {x + 4, 13, NORTH + HANG},
                     {x - 4, 13, NORTH + HANG}, {});
        banners.quad({x + 4, 2, SOUTH - HANG}, {x - 4, 2, SOUTH - HANG}, {x - 4, 13, SOUTH - HANG},
                     {x + 4, 13, SOUTH - HANG}, {});
    }
}

// The roof: a steel frame holding glass panes (blended) with a grating
// walkway (alpha-tested) down the middle. Panes are two-sided so they are
// seen from below and from the high cameras above.
ModelFile canopyRoof() {
    ModelFile f;
    f.materials = {texturedMaterial("frame", "metal.bmp"), texturedMaterial("glass", "glass.bmp"),
                   texturedMaterial("grate", "grate.bmp")};
    MeshPart frame("frame", "frame"), glass("glass", "glass"), grate("grate", "grate");
    const float y = ROOF_Y;
    const float midX = (CANOPY_X0 + CANOPY_X1) * 0.5f;
    // Beams round the edge and across.
    frame.worldBox({CANOPY_X0 - 3, y, CANOPY_Z0 - 3}, {CANOPY_X1 + 3, y + 1.5f, CANOPY_Z0 + 1},
                   0.125f);
    frame.worldBox({CANOPY_X0 - 3, y, CANOPY_Z1 - 1}, {CANOPY_X1 + 3, y + 1.5f, CANOPY_Z1 + 3},
                   0.125f);
    for (float x : {CANOPY_X0 - 3, midX - 6, midX + 4, CANOPY_X1 - 1})
        frame.worldBox({x, y, CANOPY_Z0 + 1}, {x + 2, y + 1.5f, CANOPY_Z1 - 1}, 0.125f);
    // Glass fills each bay in 10 x 10 panes, one texture per pane.
    const float top = y + 1.0f;
    for (float x0 : {CANOPY_X0 - 1, midX + 6}) {
        const float x1 = x0 == CANOPY_X0 - 1 ? midX - 6 : CANOPY_X1 - 1;
        for (float z = CANOPY_Z0 + 1; z < CANOPY_Z1 - 1; z += 10) {
            const float z1 = std::min(z + 10, CANOPY_Z1 - 1);
            for (float x = x0; x < x1; x += 10) {
                const float xe = std::min(x + 10, x1);
                glass.twoSidedQuad({x, top, z1}, {xe, top, z1}, {xe, top, z}, {x, top, z},
                                   {0, 0, (xe - x) / 10, (z1 - z) / 10});
            }
        }
    }
    // The walkway between the middle beams: grating, four repeats per 10 units.
    for (float z = CANOPY_Z0 + 1; z < CANOPY_Z1 - 1; z += 10) {
        const float z1 = std::min(z + 10, CANOPY_Z1 - 1);
        grate.twoSidedQuad({midX - 4, top, z1}, {midX + 4, top, z1}, {midX + 4, top, z},
                           {midX - 4, top, z}, {0, 0, 3.2f, (z1 - z) * 0.4f});
    }
    f.parts = {frame, glass, grate};
    return f;
}

}  // namespace

MapModels buildArena() {
    MapModels m;
    m.level.materials = {
        texturedMaterial("brick", "brick.bmp"), texturedMaterial("concrete", "concrete.bmp"),
        texturedMaterial("crate", "crate.bmp"), texturedMaterial("metal", "metal.bmp"),
        texturedMaterial("seats", "seats.bmp"), texturedMaterial("banner", "banner.bmp"),
        colouredMaterial("lamp", 255, 250, 220)};
    MeshPart wall("walls", "brick"), cap("concrete", "concrete"), crates("crates", "crate");
    MeshPart metal("pillars", "metal"), seats("stands", "seats"), banners("banners", "banner");
    MeshPart lamps("floodlights", "lamp");
    MeshPart col("collision", "none");
    perimeter(wall, cap, col);
    field(crates, cap, col);
    canopyPillars(metal, col);
    stands(seats);
    dressing(metal, lamps, banners);
    m.level.parts = {wall, cap, crates, metal, seats, banners, lamps};

    // Packed earth inside the walls, grass all round outside.
    m.ground.materials = {texturedMaterial("field", "field.bmp"),
                          texturedMaterial("grass", "grass.bmp")};
    MeshPart inside("field", "field"), outside("grass", "grass");
    floorRect(inside, WEST, NORTH, EAST, SOUTH, FLOOR_Y, 24, 8);
    floorRect(outside, -800, -800, 800, NORTH, FLOOR_Y, 16, 8);
    floorRect(outside, -800, SOUTH, 800, 800, FLOOR_Y, 16, 8);
    floorRect(outside, -800, NORTH, WEST, SOUTH, FLOOR_Y, 16, 4);
    floorRect(outside, EAST, NORTH, 800, SOUTH, FLOOR_Y, 16, 4);
    m.ground.parts = {inside, outside};

    m.roof = canopyRoof();

    m.collision.materials = {colouredMaterial("none", 255, 0, 255)};
    fenceAround(col, m.level, 6, 40);
    m.collision.parts = {col};
    return m;
}
