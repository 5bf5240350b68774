// Geometric tests: normals, angle sums, segment projection, sphere against plane and triangle.
#include "Geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Vec3Checks.h"

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

TEST(Geometry, VectorArithmeticOnEveryComponent) {
    const Vec3 a{1, 2, 3}, b{4, -5, 6};
    expectVec(add(a, b), 5, -3, 9);
    expectVec(subtract(a, b), -3, 7, -3);
    expectVec(scale(a, 2), 2, 4, 6);
    expectVec(divide(b, 2), 2, -2.5f, 3);
    expectVec(cross(a, b), 27, 6, -13);
    expectVec(normalize({3, 0, 4}), 0.6f, 0, 0.8f);
    Vec3 zeroed = b;
    setZero(zeroed);
    expectVec(zeroed, 0, 0, 0);
    EXPECT_EQ(dot(a, b), 12.0f);
    EXPECT_EQ(length({2, 3, 6}), 7.0f);
    EXPECT_EQ(distance(a, {3, 5, 9}), 7.0f);
    EXPECT_EQ(absolute(-2.5f) + absolute(0.5f), 3.0f);
    EXPECT_EQ(planeOffset({0, 1, 0}, {5, 2, 7}), -2.0f);
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
