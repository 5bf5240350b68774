// "Arena": an open-air walled arena under a day sky, with a glass and grating canopy on pillars.
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
    solidBlock(wall, col, {WEST - t, 0, NORTH - t}, {EAST + t, WALL_HIGH, NORTH}, 8);
    solidBlock(wall, col, {WEST - t, 0, SOUTH}, {EAST + t, WALL_HIGH, SOUTH + t}, 8);
    solidBlock(wall, col, {WEST - t, 0, NORTH}, {WEST, WALL_HIGH, SOUTH}, 8);
    solidBlock(wall, col, {EAST, 0, NORTH}, {EAST + t, WALL_HIGH, SOUTH}, 8);
    for (float x : {WEST, EAST})
        for (float z : {NORTH, SOUTH}) {
            const float h = TOWER * 0.5f;
            solidBlock(cap, col, {x - h, 0, z - h}, {x + h, TOWER_HIGH, z + h}, 16);
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
        const P3 lo{b.x - b.w * 0.5f, 0, b.z - b.d * 0.5f},
            hi{b.x + b.w * 0.5f, b.h, b.z + b.d * 0.5f};
        if (b.kind == 0) {
            // One crate texture per 6-unit face.
            crates.worldBox(lo, hi, 1.0f / 6.0f);
            col.box({lo.x - BODY_MARGIN, COLLISION_BOTTOM, lo.z - BODY_MARGIN},
                    {hi.x + BODY_MARGIN, COLLISION_MIN_TOP, hi.z + BODY_MARGIN}, uniformUv({}));
        } else {
            solidBlock(concrete, col, lo, hi, 16);
        }
    }
}

void canopyPillars(MeshPart& metal, MeshPart& col) {
    for (float x : {CANOPY_X0, (CANOPY_X0 + CANOPY_X1) * 0.5f, CANOPY_X1})
        for (float z : {CANOPY_Z0, CANOPY_Z1})
            solidBlock(metal, col, {x - PILLAR, 0, z - PILLAR}, {x + PILLAR, ROOF_Y, z + PILLAR},
                       8);
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
        texturedMaterial("crate", "crate.bmp"), texturedMaterial("metal", "metal.bmp")};
    MeshPart wall("walls", "brick"), cap("concrete", "concrete"), crates("crates", "crate");
    MeshPart metal("pillars", "metal");
    MeshPart col("collision", "none");
    perimeter(wall, cap, col);
    field(crates, cap, col);
    canopyPillars(metal, col);
    m.level.parts = {wall, cap, crates, metal};

    m.ground.materials = {texturedMaterial("grass", "grass.bmp")};
    MeshPart ground("ground", "grass");
    floorRect(ground, -800, -800, 800, 800, 0, 16, 16);
    m.ground.parts = {ground};

    m.roof = canopyRoof();

    m.collision.materials = {colouredMaterial("none", 255, 0, 255)};
    fenceAround(col, m.level, 6, 40);
    m.collision.parts = {col};
    return m;
}
