// Shapes of the generated models: sizes, facing, winding, floors, and collision models that stop
// creatures before the walls they see.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Angles.h"
#include "CharacterFigures.h"
#include "CollisionMap.h"
#include "ContentData.h"

using namespace content;

namespace {

constexpr float SHOT_HEIGHT = 4;         // creature centres and shots fly at this height
constexpr float CELL = 20;               // the game's collision cell edge
constexpr float BODY_HALF_WIDTH = 1.5f;  // what must stay clear of visible walls at a stop

bool touchesAny(const std::vector<Vec3>& t, Vec3 p, float radius) {
    for (size_t i = 0; i + 2 < t.size(); i += 3)
        if (spherePolygonCollision(&t[i], p, 3, radius)) return true;
    return false;
}

void expectClosedOutward(const std::string& name) {
    EXPECT_GT(signedVolume(*loadMesh(name)), 0.0)
        << name << " is inside out (back faces would show)";
}

}  // namespace

// A character without an extra model names none.3ds: it must load, show nothing, and hold a
// triangle (the checker warns about a model without any). The crosshair is centred: the game
// raises it to the muzzle height itself.
TEST(ContentGeometry, BodyShotCrosshairWeaponsAndTheEmptyModelSitWhereTheGameDrawsThem) {
    const auto c3 = loadMesh("c3.3ds"), shot = loadMesh("zat.3ds");
    const Vec3 size = subtract(c3->boundsMax, c3->boundsMin);
    EXPECT_EQ(format("bottom %g size %.0f %.0f %.0f", c3->boundsMin.y, size.x, size.y, size.z),
              "bottom 0 size 4 8 4");
    EXPECT_LT(std::hypot(c3->centre.x, c3->centre.z), 0.01f);
    EXPECT_LT(length(shot->centre), 0.05f);
    EXPECT_LT(shot->radius, 1.5f);
    const auto none = loadMesh("none.3ds");
    EXPECT_GT(none->triangleCount, 0);
    for (const MeshObject& o : none->objects) EXPECT_FALSE(o.visible) << o.name << " shows";
    const auto reticle = loadMesh("zamer.3ds");
    EXPECT_NEAR(reticle->centre.z, -35.0f, 5.0f);
    EXPECT_LT(std::hypot(reticle->centre.x, reticle->centre.y), 0.1f) << "the crosshair centred";
    const std::vector<Vec3> t = triangles(*reticle);
    for (size_t i = 0; i < t.size(); i += 3)
        ASSERT_GT(cross(subtract(t[i + 1], t[i]), subtract(t[i + 2], t[i])).z, 0.0f)
            << "crosshair face " << i / 3 << " turns from the camera";
    for (int i = 1; i <= 5; ++i) {  // the guns lie along -z at muzzle height
        const auto gun = loadMesh("w" + std::to_string(i) + ".3ds");
        EXPECT_TRUE(gun->boundsMin.y < SHOT_HEIGHT && gun->boundsMax.y > SHOT_HEIGHT) << i;
        EXPECT_LT(gun->boundsMin.z, -2.5f) << i << ": the muzzle should be well ahead of the body";
        EXPECT_LT(std::max(std::abs(gun->boundsMin.x), std::abs(gun->boundsMax.x)), 1.5f) << i;
    }
}

// Solid models wind their faces outwards; the sky dome surrounds the level facing inwards.
TEST(ContentGeometry, SolidsWindOutwardsAndTheSkyDomeInwards) {
    for (const char* name :
         {"c3.3ds", "zat.3ds", "logo.3ds", "w1.3ds", "w2.3ds", "w3.3ds", "w4.3ds", "w5.3ds"})
        expectClosedOutward(name);
    for (const CharacterInfo& c : records().characters) {
        expectClosedOutward(format(c.armModelPattern, 0));
        expectClosedOutward(format(c.armModelPattern, 3));
        expectClosedOutward(c.extraModelName);
        expectClosedOutward(format(readAnimation(c.walkModelName).pattern.c_str(), 1));
        expectClosedOutward(format(readAnimation(c.deathModelName).pattern.c_str(), 4));
    }
    const auto sky = loadMesh("sky.3ds");
    ASSERT_EQ(sky->materials.size(), 1u);
    EXPECT_FALSE(sky->materials[0].textureFile.empty()) << "a map's sky texture replaces this one";
    EXPECT_NEAR(sky->boundsMax.y, 1500.0f, 50.0f);
    EXPECT_LT(sky->boundsMin.y, 0.0f) << "the rim should hide below the horizon";
    const std::vector<Vec3> t = triangles(*sky);
    for (size_t i = 0; i < t.size(); i += 3) {
        const Vec3 n = cross(subtract(t[i + 1], t[i]), subtract(t[i + 2], t[i]));
        const Vec3 middle = scale(add(add(t[i], t[i + 1]), t[i + 2]), 1.0f / 3.0f);
        ASSERT_LT(dot(n, middle), 0.0f) << "sky face " << i / 3 << " faces away from the centre";
    }
}

TEST(ContentGeometry, CharactersStandOnEveryMapsFloorAndTheDeadLieDown) {
    for (const MapInfo& m : records().maps) {
        const auto ground = loadMesh(m.groundModel);
        const float floor = ground->boundsMin.y;
        // Camera mode 4 keeps its eye at height 0: on the floor it would see it edge-on.
        EXPECT_LT(floor, -0.4f) << m.name;
        for (const CharacterInfo& c : records().characters) {
            SCOPED_TRACE(std::string(m.name) + " " + c.name);
            const auto stand = loadMesh(format(readAnimation(c.standModelName).pattern.c_str(), 1));
            EXPECT_NEAR(stand->boundsMin.y, floor, 0.3f) << "feet on the floor";
            EXPECT_NEAR(stand->boundsMax.y - floor, 8.0f, 1.0f) << "about the collision body";
            // The height the guide gives and the tools measure other models against.
            const float tall = stand->boundsMax.y - stand->boundsMin.y;
            EXPECT_TRUE(tall >= CHARACTER_HEIGHT_MIN && tall <= CHARACTER_HEIGHT_MAX) << tall;
            EXPECT_LT(stand->boundsMax.x - stand->boundsMin.x, 5.0f);
            const AnimationDescription death = readAnimation(c.deathModelName);
            const auto fallen = loadMesh(format(death.pattern.c_str(), death.keyCount));
            EXPECT_LT(fallen->boundsMax.y, floor + 3.0f) << "the last death key lies down";
            EXPECT_GT(fallen->boundsMin.y, floor - 0.5f) << "and does not sink through the floor";
        }
    }
}

TEST(ContentCollision, WalkingOutFromTheStartStopsAtAWallInFrontOfTheVisibleOne) {
    for (const MapInfo& m : records().maps) {
        SCOPED_TRACE(m.name);
        const auto collisionMesh = loadMesh(m.collisionModel), level = loadMesh(m.levelModel);
        ASSERT_FALSE(HasFailure());
        CollisionMap map({CELL, CELL, CELL}, *collisionMesh);
        const std::vector<Vec3> visible = triangles(*level);
        for (int heading = 0; heading < 360; heading += 15) {
            const float a = heading * float(PI) / 180.0f;
            const Vec3 step{std::sin(a), 0, -std::cos(a)};
            Vec3 p{0, SHOT_HEIGHT, -50}, last = p;
            float walked = 0;
            while (map.standingAt(p) == CollisionMap::Standing::Free && walked < 1000) {
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
