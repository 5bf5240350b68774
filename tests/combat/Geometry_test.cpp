// Geometric tests: normals, angle sums, segment projection, sphere against plane and triangle.
#include "Geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
const Vec3 kGround[3] = {{0, 0, 0}, {10, 0, 0}, {0, 0, 10}};  // in the plane y = 0
}

TEST(Geometry, NormalsAndAnglesOfDegenerateInput) {
    const Vec3 n = triangleNormal({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(n.z, -1.0f) << "away from the viewer who sees the corners counter-clockwise";
    EXPECT_TRUE(std::isnan(triangleNormal({0, 0, 0}, {1, 0, 0}, {2, 0, 0}).x));
    EXPECT_EQ(angleBetween({1, 0, 0}, {0, 0, 0}), 0.0);
    EXPECT_NEAR(angleBetween({1, 0, 0}, {-1, 0, 0}), M_PI, 1e-6);
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

TEST(Geometry, ClosestPointOnSegmentClampsToEnds) {
    const Vec3 a{0, 0, 0}, b{10, 0, 0};
    EXPECT_EQ(closestPointOnSegment(a, b, {-5, 3, 0}).x, 0.0f);
    EXPECT_EQ(closestPointOnSegment(a, b, {15, 3, 0}).x, 10.0f);
    const Vec3 mid = closestPointOnSegment(a, b, {4, 3, 0});
    EXPECT_FLOAT_EQ(mid.x, 4);
    EXPECT_FLOAT_EQ(mid.y, 0);
    EXPECT_EQ(closestPointOnSegment(a, a, {4, 3, 0}).x, 0.0f) << "degenerate segment";
}

TEST(Geometry, ClassifySphereKeepsTheDistanceForEveryClass) {
    const Vec3 up{0, 1, 0}, o{0, 0, 0};
    EXPECT_EQ(classifySphere({0, 0.5f, 0}, up, o, 1).sphereClass, Intersects);
    const SphereClassification touching = classifySphere({0, 1, 0}, up, o, 1);
    EXPECT_EQ(touching.sphereClass, InFront);
    EXPECT_EQ(touching.distance, 1.0f);
    const SphereClassification behind = classifySphere({0, -1, 0}, up, o, 1);
    EXPECT_EQ(behind.sphereClass, Behind);
    EXPECT_EQ(behind.distance, -1.0f);
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
