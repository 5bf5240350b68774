// Geometric tests: normals, angle sums, segment projection, sphere against plane and triangle;
// camera placements around the followed creature.
#include "Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CameraPose.h"
#include "Text.h"

namespace {
const Vec3 kGround[3] = {{0, 0, 0}, {10, 0, 0}, {0, 0, 10}};  // in the plane y = 0

// A vector to two decimals, "x y z", each followed by a blank.
std::string v(Vec3 p) {
    auto r = [](float x) { return std::round(x * 100) / 100 + 0.0f; };  // no "-0"
    return format("%g %g %g ", r(p.x), r(p.y), r(p.z));
}
}  // namespace

// Inside from an angle sum of 0.99 of a turn: beyond the middle of the long edge of a thin
// triangle (200 long) the sum is 4 atan(100 / h), which passes that at h = 1.5708.
TEST(Geometry, InsidePolygonByAngleSum) {
    EXPECT_TRUE(insidePolygon({10.0f / 3, 0, 10.0f / 3}, kGround, 3));
    EXPECT_FALSE(insidePolygon({50, 0, 50}, kGround, 3));
    EXPECT_TRUE(insidePolygon({5, 0, 0}, kGround, 3)) << "on an edge";
    EXPECT_FALSE(insidePolygon({0, 0, 0}, kGround, 3)) << "on a corner";
    const Vec3 thin[3] = {{-100, 0, 0}, {100, 0, 0}, {0, 0, 1}};
    EXPECT_TRUE(insidePolygon({0, 0, -1.57f}, thin, 3)) << "within the 1 % slack";
    EXPECT_FALSE(insidePolygon({0, 0, -1.58f}, thin, 3)) << "just beyond it";
}

// The closest point on a segment reaches its ends exactly at 0 and at the segment's length
// along it; a degenerate segment gives its point. A sphere at a distance equal to its radius
// does not intersect; the distance is kept for every class. The plane is y = 2, so the
// heights just inside the radius are exact.
TEST(Geometry, ClosestPointsAndSpheresAgainstPlanesTrianglesAndEdges) {
    std::string got;
    for (float x : {-5.0f, 0.0f, 0.5f, 4.0f, 10.0f, 15.0f})
        got += v(closestPointOnSegment({0, 0, 0}, {10, 0, 0}, {x, 3, 0}));
    EXPECT_EQ(got + v(closestPointOnSegment({0, 0, 0}, {0, 0, 0}, {4, 3, 0})),
              "0 0 0 0 0 0 0.5 0 0 4 0 0 10 0 0 10 0 0 0 0 0 ");
    const float above = std::nextafter(3.0f, 0.0f), below = std::nextafter(1.0f, 2.0f);
    const struct {
        float y;
        SphereClass sphereClass;
    } cases[] = {
        {2.5f, Intersects}, {above, Intersects}, {3, InFront}, {below, Intersects}, {1, Behind}};
    for (const auto& c : cases) {
        const SphereClassification got = classifySphere({3, c.y, 4}, {0, 1, 0}, {7, 2, 9}, 1);
        EXPECT_EQ(got.sphereClass, c.sphereClass) << c.y;
        EXPECT_EQ(got.distance, c.y - 2) << c.y;
    }
    EXPECT_EQ(classifySphere({0, 9, 0}, {NAN, NAN, NAN}, {}, 1).sphereClass, Intersects);
    // Only the first three corners make the face, whatever the count; an edge touches from
    // just under the radius.
    EXPECT_TRUE(spherePolygonCollision(kGround, {2, 0.5f, 2}, 3, 1));
    EXPECT_FALSE(spherePolygonCollision(kGround, {2, 1.5f, 2}, 3, 1));
    EXPECT_TRUE(spherePolygonCollision(kGround, {-0.5f, 0.2f, 5}, 3, 1)) << "near the edge x = 0";
    EXPECT_FALSE(spherePolygonCollision(kGround, {-1.5f, 0.2f, 5}, 3, 1));
    const Vec3 line[3] = {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}};  // collinear: edges only
    EXPECT_TRUE(spherePolygonCollision(line, {5, 0.5f, 0}, 3, 1));
    EXPECT_FALSE(spherePolygonCollision(line, {5, 1.5f, 0}, 3, 1));
    const Vec3 quad[4] = {kGround[0], kGround[1], kGround[2], {10, 0, 10}};
    EXPECT_FALSE(spherePolygonCollision(quad, {8, 0.5f, 8}, 3, 1))
        << "the fourth corner is no face";
    EXPECT_FALSE(edgeSphereCollision({-1, 0, 5}, kGround, 3, 1)) << "at the radius";
    EXPECT_TRUE(edgeSphereCollision({-std::nextafter(1.0f, 0.0f), 0, 5}, kGround, 3, 1));
    EXPECT_FALSE(edgeSphereCollision({5, 0, 5}, kGround, 0, 1)) << "no edges";
    EXPECT_TRUE(edgeSphereCollision({5, 0, -0.5f}, kGround, 3, 1)) << "the first edge counts";
}

TEST(CameraPose, PlacementsOfTheFollowingModesAndNoneForUnknownOnes) {
    // Heading 90 (sin 1): forward is +x, right is +z; that creature floats at y = 7, and the
    // eye keeps its absolute height. Mode 4 stands 20 ahead, 5 left, looking back.
    const Vec3 start{0, 0, -50}, floating{10, 7, 20};
    const struct {
        int mode;
        Vec3 position;
        float headingSin, headingCos;
        std::string pose;  // eye, centre, up
    } cases[] = {{0, start, 0, 1, "0 40 0 0 0 -70 0 1 0 "},
                 {2, start, 0, 1, "5 6 -30 0 0 -120 0 1 0 "},
                 {6, start, 0, 1, "0 100 -50 0 0 -50 1 0 0 "},
                 {5, start, 0, 1, "0 100 -75 0 0 -85 0 1 0 "},
                 {3, start, 0, 1, "0 100 -40 0 0 -60 0 1 0 "},
                 {4, floating, 1, 0, "30 0 15 -60 7 20 0 1 0 "},
                 {1, floating, 1, 0, "-10 10 20 80 7 20 0 1 0 "},
                 {7, start, 0, 1, "none 1 2 3 0 0 0 0 0 0 "},
                 {-1, start, 0, 1, "none 1 2 3 0 0 0 0 0 0 "}};
    for (const auto& c : cases) {
        CameraPose pose{{1, 2, 3}, {}, {}};  // what an unknown mode leaves untouched
        const bool known = cameraPose(c.mode, c.position, c.headingSin, c.headingCos, pose);
        EXPECT_EQ((known ? "" : "none ") + v(pose.eye) + v(pose.centre) + v(pose.up), c.pose)
            << "mode " << c.mode;
    }
}
