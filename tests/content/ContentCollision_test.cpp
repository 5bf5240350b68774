// The maps through the game's collision map: walking out from the start meets a wall, in front of
// what is seen.
#include <gtest/gtest.h>

#include <cmath>

#include "CollisionMap.h"
#include "ContentData.h"

using namespace content;

namespace {

constexpr float CELL = 20;               // the game's collision cell edge
constexpr float CENTRE_HEIGHT = 4;       // creature centres and shots
constexpr float BODY_HALF_WIDTH = 1.5f;  // what must stay clear of visible walls at a stop

// True when a creature centred at p would be stopped by the level: outside a
// grid, or a cell triangle within the test radius (as a move is resolved).
bool blocked(CollisionMap& map, Vec3 p) {
    for (int grid = 0; grid < 2; ++grid) {
        const CollisionCell* cell = map.locateCell(p, grid);
        if (!cell) return true;
        for (int i = 0; i < cell->triangleCount; ++i)
            if (spherePolygonCollision(map.cellTriangle(*cell, i).corners, p, 3,
                                       CollisionMap::OBJECT_RADIUS))
                return true;
    }
    return false;
}

bool touchesAny(const std::vector<Vec3>& t, Vec3 p, float radius) {
    for (size_t i = 0; i + 2 < t.size(); i += 3)
        if (spherePolygonCollision(&t[i], p, 3, radius)) return true;
    return false;
}

}  // namespace

TEST(ContentCollision, WalkingOutFromTheStartStopsAtAWallInFrontOfTheVisibleOne) {
    for (const MapFile& m : maps()) {
        SCOPED_TRACE(m.name);
        const auto collisionMesh = loadMesh(m.collision), level = loadMesh(m.level);
        ASSERT_NE(collisionMesh, nullptr);
        ASSERT_NE(level, nullptr);
        CollisionMap map({CELL, CELL, CELL}, *collisionMesh);
        const std::vector<Vec3> visible = triangles(*level);
        for (int heading = 0; heading < 360; heading += 15) {
            const float a = heading * 3.14159265f / 180.0f;
            const Vec3 step{std::sin(a), 0, -std::cos(a)};
            Vec3 p{0, CENTRE_HEIGHT, -50}, last = p;
            float walked = 0;
            while (!blocked(map, p) && walked < 1000) {
                last = p;
                p = add(p, step);
                walked += 1;
            }
            EXPECT_GT(walked, 12) << "heading " << heading << ": blocked right at the start";
            EXPECT_LT(walked, 1000) << "heading " << heading << ": nothing stops a creature";
            EXPECT_FALSE(touchesAny(visible, last, BODY_HALF_WIDTH))
                << "heading " << heading << ": the body would stand inside a visible wall at ("
                << last.x << ", " << last.z << ")";
        }
    }
}
