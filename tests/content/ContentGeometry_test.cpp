// Shapes of the generated models: sizes, facing, winding, and collision models that fit their maps.
#include <gtest/gtest.h>

#include <algorithm>

#include "ContentData.h"

using namespace content;

namespace {

// Where a fight puts creatures: the player's start and the area the
// computer-driven creatures are dropped into (whole units, y = ground).
constexpr float SPAWN_X0 = -9, SPAWN_X1 = 10, SPAWN_Z0 = -44, SPAWN_Z1 = -10;
constexpr float START_X = 0, START_Z = -50;
constexpr float SPAWN_CLEARANCE = 12;  // no level triangle this close to the spawn area
constexpr float SHOT_HEIGHT = 4;       // creature centres and shots fly at this height

void expectClosedOutward(const std::string& name) {
    const auto mesh = loadMesh(name);
    ASSERT_NE(mesh, nullptr) << name;
    EXPECT_GT(signedVolume(*mesh), 0.0) << name << " is inside out (back faces would show)";
}

}  // namespace

TEST(ContentGeometry, CollisionBodyIsEightTallAndFourWideOnItsOrigin) {
    const auto c3 = loadMesh("c3.3ds");
    ASSERT_NE(c3, nullptr);
    EXPECT_FLOAT_EQ(c3->boundsMin.y, 0.0f);
    EXPECT_NEAR(c3->boundsMax.y, 8.0f, 0.5f);
    EXPECT_NEAR(c3->boundsMax.x - c3->boundsMin.x, 4.0f, 0.5f);
    EXPECT_NEAR(c3->boundsMax.z - c3->boundsMin.z, 4.0f, 0.5f);
    EXPECT_NEAR(c3->centre.x, 0.0f, 0.01f);
    EXPECT_NEAR(c3->centre.z, 0.0f, 0.01f);
}

TEST(ContentGeometry, SolidModelsWindTheirFacesOutwards) {
    for (const char* name :
         {"c3.3ds", "zat.3ds", "logo.3ds", "w1.3ds", "w2.3ds", "w3.3ds", "w4.3ds", "w5.3ds"})
        expectClosedOutward(name);
    for (const CharacterFile& c : characters()) {
        expectClosedOutward(fill(c.armPattern, 0));
        expectClosedOutward(fill(c.armPattern, 3));
        expectClosedOutward(c.extra);
        expectClosedOutward(fill(readAnimation(c.walk).pattern, 1));
        expectClosedOutward(fill(readAnimation(c.death).pattern, 4));
    }
}

TEST(ContentGeometry, SkyDomeSurroundsTheLevelFacingInwards) {
    const auto sky = loadMesh("sky.3ds");
    ASSERT_NE(sky, nullptr);
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

TEST(ContentGeometry, ShotIsSmallAndCentredOnItsOrigin) {
    const auto shot = loadMesh("zat.3ds");
    ASSERT_NE(shot, nullptr);
    EXPECT_NEAR(shot->centre.x, 0.0f, 0.05f);
    EXPECT_NEAR(shot->centre.y, 0.0f, 0.05f);
    EXPECT_NEAR(shot->centre.z, 0.0f, 0.05f);
    EXPECT_LT(shot->radius, 1.5f);
}

TEST(ContentGeometry, CrosshairFloatsAheadAndFacesTheCamera) {
    const auto reticle = loadMesh("zamer.3ds");
    ASSERT_NE(reticle, nullptr);
    EXPECT_GE(-reticle->centre.z, 30.0f);
    EXPECT_LE(-reticle->centre.z, 40.0f);
    EXPECT_NEAR(reticle->centre.x, 0.0f, 0.1f);
    EXPECT_NEAR(reticle->centre.y, 0.0f, 0.1f) << "the game raises it to the muzzle height itself";
    const std::vector<Vec3> t = triangles(*reticle);
    ASSERT_FALSE(t.empty());
    for (size_t i = 0; i < t.size(); i += 3)
        ASSERT_GT(cross(subtract(t[i + 1], t[i]), subtract(t[i + 2], t[i])).z, 0.0f)
            << "face " << i / 3;
}

TEST(ContentGeometry, WeaponsLieAlongMinusZAtMuzzleHeight) {
    for (int i = 1; i <= 5; ++i) {
        const auto gun = loadMesh("w" + std::to_string(i) + ".3ds");
        ASSERT_NE(gun, nullptr) << i;
        EXPECT_LT(gun->boundsMin.y, SHOT_HEIGHT) << i;
        EXPECT_GT(gun->boundsMax.y, SHOT_HEIGHT) << i;
        EXPECT_LT(gun->boundsMin.z, -2.5f) << i << ": the muzzle should be well ahead of the body";
        EXPECT_LT(std::max(std::abs(gun->boundsMin.x), std::abs(gun->boundsMax.x)), 1.5f) << i;
    }
}

TEST(ContentGeometry, CharactersStandOnEveryMapsFloorAndTheDeadLieDown) {
    for (const MapFile& m : maps()) {
        const auto ground = loadMesh(m.ground);
        ASSERT_NE(ground, nullptr) << m.name;
        const float floor = ground->boundsMin.y;
        // Camera mode 4 keeps its eye at height 0: on the floor it would see it edge-on.
        EXPECT_LT(floor, -0.4f) << m.name;
        for (const CharacterFile& c : characters()) {
            SCOPED_TRACE(m.name + " " + c.name);
            const auto stand = loadMesh(fill(readAnimation(c.stand).pattern, 1));
            ASSERT_NE(stand, nullptr);
            EXPECT_NEAR(stand->boundsMin.y, floor, 0.3f) << "feet on the floor";
            EXPECT_NEAR(stand->boundsMax.y - floor, 8.0f, 1.0f) << "about the collision body";
            EXPECT_LT(stand->boundsMax.x - stand->boundsMin.x, 5.0f);
            const AnimationFile death = readAnimation(c.death);
            const auto fallen = loadMesh(fill(death.pattern, death.keys));
            ASSERT_NE(fallen, nullptr);
            EXPECT_LT(fallen->boundsMax.y, floor + 3.0f) << "the last death key lies down";
            EXPECT_GT(fallen->boundsMin.y, floor - 0.5f) << "and does not sink through the floor";
        }
    }
}

TEST(ContentGeometry, CollisionModelsEncloseTheirLevels) {
    for (const MapFile& m : maps()) {
        SCOPED_TRACE(m.name);
        const auto level = loadMesh(m.level), collision = loadMesh(m.collision);
        ASSERT_NE(level, nullptr);
        ASSERT_NE(collision, nullptr);
        const Vec3 lo = collision->boundsMin, hi = collision->boundsMax;
        EXPECT_LT(lo.x, level->boundsMin.x);
        EXPECT_LT(lo.z, level->boundsMin.z);
        EXPECT_GT(hi.x, level->boundsMax.x);
        EXPECT_GT(hi.z, level->boundsMax.z);
        EXPECT_LE(lo.y, -4.0f) << "margin below the floor";
        EXPECT_GE(hi.y, SHOT_HEIGHT + 8.0f) << "margin above the shots";
        // A creature's centre is a sphere of radius 1 at the shot height: the
        // floor, if any, must stay clear of it.
        EXPECT_LT(lo.y, SHOT_HEIGHT - 1.0f);
    }
}

TEST(ContentGeometry, StartAndSpawnAreasAreClearOfCollisionTriangles) {
    for (const MapFile& m : maps()) {
        SCOPED_TRACE(m.name);
        const auto collision = loadMesh(m.collision);
        ASSERT_NE(collision, nullptr);
        const std::vector<Vec3> t = triangles(*collision);
        std::vector<Vec3> points;
        for (float y = 0; y <= 8; y += 2) {
            for (float x = SPAWN_X0; x <= SPAWN_X1; x += 1)
                for (float z = SPAWN_Z0; z <= SPAWN_Z1; z += 1) points.push_back({x, y, z});
            points.push_back({START_X, y, START_Z});
        }
        int blocked = 0;
        for (const Vec3& p : points)
            for (size_t i = 0; i < t.size(); i += 3)
                if (spherePolygonCollision(&t[i], p, 3, SPAWN_CLEARANCE)) ++blocked;
        EXPECT_EQ(blocked, 0);
    }
}
