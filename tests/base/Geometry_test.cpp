// Geometric tests: normals, angle sums, segment projection, sphere against plane and triangle;
// camera placements around the followed creature.
#include "Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Angles.h"
#include "CameraPose.h"
#include "Vec3Checks.h"

namespace {
const Vec3 kGround[3] = {{0, 0, 0}, {10, 0, 0}, {0, 0, 10}};  // in the plane y = 0
}

TEST(Geometry, NormalsAndAnglesOfDegenerateInput) {
    const Vec3 n = triangleNormal({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(n.z, -1.0f) << "away from the viewer who sees the corners counter-clockwise";
    EXPECT_TRUE(std::isnan(triangleNormal({0, 0, 0}, {1, 0, 0}, {2, 0, 0}).x));
    EXPECT_EQ(angleBetween({1, 0, 0}, {0, 0, 0}), 0.0);
    EXPECT_NEAR(angleBetween({1, 0, 0}, {-1, 0, 0}), PI, 1e-6);
}

TEST(Geometry, InsidePolygonByAngleSum) {
    EXPECT_TRUE(insidePolygon({10.0f / 3, 0, 10.0f / 3}, kGround, 3));
    EXPECT_FALSE(insidePolygon({50, 0, 50}, kGround, 3));
    EXPECT_FALSE(insidePolygon({1, 0, 1}, kGround, 0));
    EXPECT_TRUE(insidePolygon({5, 0, 0}, kGround, 3)) << "on an edge";
    EXPECT_FALSE(insidePolygon({0, 0, 0}, kGround, 3)) << "on a corner";
    const Vec3 thin[3] = {{-100, 0, 0}, {100, 0, 0}, {0, 0, 1}};
    EXPECT_TRUE(insidePolygon({0, 0, -0.1f}, thin, 3)) << "within the 1 % slack";
}

TEST(Geometry, VectorArithmeticOnEveryComponent) {
    const Vec3 a{1, 2, 3}, b{4, -5, 6};
    Vec3 zeroed = b;
    setZero(zeroed);
    std::vector<float> seen;
    for (Vec3 v : {add(a, b), subtract(a, b), scale(a, 2), divide(b, 2), cross(a, b),
                   normalize({3, 0, 4}), zeroed})
        seen.insert(seen.end(), {v.x, v.y, v.z});
    EXPECT_EQ(seen, (std::vector<float>{5, -3, 9, -3,  7,    -3, 2,    4, 6, 2, -2.5f,
                                        3, 27, 6, -13, 0.6f, 0,  0.8f, 0, 0, 0}));
    EXPECT_EQ(
        (std::vector<float>{dot(a, b), length({2, 3, 6}), distance(a, {3, 5, 9}), absolute(-2.5f),
                            absolute(0.5f), planeOffset({0, 1, 0}, {5, 2, 7})}),
        (std::vector<float>{12, 7, 7, 2.5f, 0.5f, -2}));
    EXPECT_TRUE(sameXY({1, 2, 3}, {1, 2, 9}));
    EXPECT_FALSE(sameXY({1, 2, 3}, {1, 5, 3}) || sameXY({1, 2, 3}, {4, 2, 3}));
}

TEST(Geometry, ClosestPointOnSegmentClampsToEnds) {
    const Vec3 a{0, 0, 0}, b{10, 0, 0};
    expectVec(closestPointOnSegment(a, b, {-5, 3, 0}), 0, 0, 0);
    expectVec(closestPointOnSegment(a, b, {15, 3, 0}), 10, 0, 0);
    expectVec(closestPointOnSegment(a, b, {4, 3, 0}), 4, 0, 0, 1e-5f);
    expectVec(closestPointOnSegment(a, b, {0.5f, 3, 0}), 0.5f, 0, 0, 1e-6f);
    expectVec(closestPointOnSegment(a, a, {4, 3, 0}), 0, 0, 0);  // degenerate segment
}

TEST(Geometry, ClassifySphereKeepsTheDistanceForEveryClass) {
    const Vec3 up{0, 1, 0}, o{0, 0, 0};
    std::vector<std::pair<int, float>> seen;
    for (float y : {0.5f, 1.0f, -1.0f}) {
        const SphereClassification c = classifySphere({0, y, 0}, up, o, 1);
        seen.push_back({c.sphereClass, c.distance});
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, float>>{
                        {Intersects, 0.5f}, {InFront, 1.0f}, {Behind, -1.0f}}));
    EXPECT_EQ(classifySphere({0, 9, 0}, {NAN, NAN, NAN}, o, 1).sphereClass, Intersects);
}

TEST(Geometry, SphereAgainstTriangleFaceAndEdges) {
    EXPECT_TRUE(spherePolygonCollision(kGround, {2, 0.5f, 2}, 3, 1));
    EXPECT_FALSE(spherePolygonCollision(kGround, {2, 1.5f, 2}, 3, 1));
    EXPECT_TRUE(spherePolygonCollision(kGround, {-0.5f, 0.2f, 5}, 3, 1)) << "near the edge x = 0";
    EXPECT_FALSE(spherePolygonCollision(kGround, {-1.5f, 0.2f, 5}, 3, 1));
    const Vec3 line[3] = {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}};  // collinear: edges only
    EXPECT_TRUE(spherePolygonCollision(line, {5, 0.5f, 0}, 3, 1));
    EXPECT_FALSE(spherePolygonCollision(line, {5, 1.5f, 0}, 3, 1));
}

TEST(CameraPose, PlacementsOfTheFollowingModesAndNoneForUnknownOnes) {
    struct Case {
        int mode;
        Vec3 position;
        float headingSin, headingCos;
        Vec3 eye, centre, up;
    };
    const Vec3 start{0, 0, -50};
    // Heading 90 (sin 1): forward is +x, right is +z; that creature floats at y = 7,
    // and the eye keeps its absolute height.
    const Vec3 floating{10, 7, 20};
    const Case cases[] = {
        {0, start, 0, 1, {0, 40, 0}, {0, 0, -70}, {0, 1, 0}},
        {2, start, 0, 1, {5, 6, -30}, {0, 0, -120}, {0, 1, 0}},
        {6, start, 0, 1, {0, 100, -50}, {0, 0, -50}, {1, 0, 0}},
        {5, start, 0, 1, {0, 100, -75}, {0, 0, -85}, {0, 1, 0}},
        {3, start, 0, 1, {0, 100, -40}, {0, 0, -60}, {0, 1, 0}},
        {4, floating, 1, 0, {30, 0, 15}, {-60, 7, 20}, {0, 1, 0}},  // 20 ahead, 5 left, looking
                                                                    // back
        {1, floating, 1, 0, {-10, 10, 20}, {80, 7, 20}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CameraPose pose;
        ASSERT_TRUE(cameraPose(c.mode, c.position, c.headingSin, c.headingCos, pose));
        expectVec(pose.eye, c.eye.x, c.eye.y, c.eye.z, 1e-5f);
        expectVec(pose.centre, c.centre.x, c.centre.y, c.centre.z, 1e-5f);
        expectVec(pose.up, c.up.x, c.up.y, c.up.z, 1e-5f);
    }
    // Unknown modes leave the pose untouched.
    CameraPose pose;
    pose.eye = {1, 2, 3};
    for (int mode : {7, -1}) EXPECT_FALSE(cameraPose(mode, {0, 0, -50}, 0.0f, 1.0f, pose)) << mode;
    expectVec(pose.eye, 1, 2, 3);
}
