// Shared pieces of the maps: textured blocks with their collision boxes, floors, the outer fence.
#include "MapKit.h"

#include <algorithm>

void solidBlock(MeshPart& visible, MeshPart& collision, P3 lo, P3 hi, float tile) {
    visible.worldBox(lo, hi, 1.0f / tile);
    const P3 clo{lo.x - BODY_MARGIN, COLLISION_BOTTOM, lo.z - BODY_MARGIN};
    const P3 chi{hi.x + BODY_MARGIN, std::max(hi.y, COLLISION_MIN_TOP), hi.z + BODY_MARGIN};
    collision.box(clo, chi, uniformUv({}));
}

void floorRect(MeshPart& part, float x0, float z0, float x1, float z1, float y, float tile,
               int cells) {
    const float dx = (x1 - x0) / cells, dz = (z1 - z0) / cells;
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            const float ax = x0 + dx * i, az = z0 + dz * j;
            // Counter-clockwise seen from above: +x then -z.
            part.worldQuad({ax, y, az + dz}, {ax + dx, y, az + dz}, {ax + dx, y, az}, {ax, y, az},
                           1.0f / tile);
        }
}

void ceilingRect(MeshPart& part, float x0, float z0, float x1, float z1, float y, float tile) {
    part.worldQuad({x0, y, z0}, {x1, y, z0}, {x1, y, z1}, {x0, y, z1}, 1.0f / tile);
}

void orientedQuad(MeshPart& part, P3 a, P3 b, P3 c, P3 d, P3 facing, float tile) {
    if (dot(cross(b - a, c - a), facing) >= 0.0f)
        part.worldQuad(a, b, c, d, 1.0f / tile);
    else
        part.worldQuad(b, a, d, c, 1.0f / tile);
}

void modelBounds(const ModelFile& f, P3& lo, P3& hi) {
    lo = {1e9f, 1e9f, 1e9f};
    hi = {-1e9f, -1e9f, -1e9f};
    for (const MeshPart& p : f.parts)
        for (P3 v : p.positions()) {
            lo = {std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z)};
            hi = {std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z)};
        }
}

void fenceAround(MeshPart& collision, const ModelFile& level, float margin, float top) {
    P3 lo, hi;
    modelBounds(level, lo, hi);
    const float x0 = lo.x - margin, x1 = hi.x + margin, z0 = lo.z - margin, z1 = hi.z + margin;
    const float y0 = COLLISION_BOTTOM, y1 = std::max(top, hi.y + margin);
    const UvRect uv{};
    // Facing inwards: these are the last walls before the edge of the grid.
    collision.quad({x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}, uv);
    collision.quad({x1, y0, z1}, {x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}, uv);
    collision.quad({x0, y0, z1}, {x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, uv);
    collision.quad({x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0}, uv);
}

bool saveMap(const MapModels& m, const std::string& modelDir, const std::string& id) {
    const std::string base = modelDir + "/" + id;
    bool ok = m.level.save(base + ".3ds");
    if (!m.ground.parts.empty()) ok = m.ground.save(base + "_ground.3ds") && ok;
    if (!m.roof.parts.empty()) ok = m.roof.save(base + "_roof.3ds") && ok;
    ok = m.collision.save(base + "_col.3ds") && ok;
    return ok;
}
