// Geometric tests: normals, angle sums, segment projection, sphere against plane and triangle.
#include "Geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
void expectVec(Vec3 actual, Vec3 expected) {
    EXPECT_FLOAT_EQ(actual.x, expected.x);
    EXPECT_FLOAT_EQ(actual.y, expected.y);
    EXPECT_FLOAT_EQ(actual.z, expected.z);
}

// A triangle in the ground plane y = 0.
const Vec3 kGround[3] = {{0, 0, 0}, {10, 0, 0}, {0, 0, 10}};
}  // namespace

TEST(Geometry, TriangleNormalPointsAwayFromCounterClockwiseViewer) {
    expectVec(triangleNormal({0, 0, 0}, {1, 0, 0}, {0, 1, 0}), {0, 0, -1});
    const Vec3 n = triangleNormal({0, 0, 0}, {1, 0, 0}, {2, 0, 0});
    EXPECT_TRUE(std::isnan(n.x) && std::isnan(n.y) && std::isnan(n.z));
}

TEST(Geometry, AngleBetweenIsZeroWhenUndefined) {
    EXPECT_DOUBLE_EQ(angleBetween({1, 0, 0}, {0, 0, 0}), 0.0);
    EXPECT_NEAR(angleBetween({1, 0, 0}, {-1, 0, 0}), M_PI, 1e-6);
    EXPECT_NEAR(angleBetween({1, 0, 0}, {0, 3, 0}), M_PI / 2, 1e-6);
}

TEST(Geometry, InsidePolygonByAngleSum) {
    const Vec3 centroid{10.0f / 3, 0, 10.0f / 3};
    EXPECT_TRUE(insidePolygon(centroid, kGround, 3));
    EXPECT_FALSE(insidePolygon({50, 0, 50}, kGround, 3));
    EXPECT_FALSE(insidePolygon(centroid, kGround, 0));
    EXPECT_TRUE(insidePolygon({5, 0, 0}, kGround, 3)) << "a point on an edge is inside";
    EXPECT_FALSE(insidePolygon({0, 0, 0}, kGround, 3)) << "a point on a corner is outside";
    // The 1 % slack: just outside the long edge of a long thin triangle still counts.
    const Vec3 thin[3] = {{-100, 0, 0}, {100, 0, 0}, {0, 0, 1}};
    EXPECT_TRUE(insidePolygon({0, 0, -0.1f}, thin, 3));
    EXPECT_FALSE(insidePolygon({0, 0, -5}, thin, 3));
}

TEST(Geometry, ClosestPointOnSegmentClampsToEnds) {
    const Vec3 a{0, 0, 0}, b{10, 0, 0};
    expectVec(closestPointOnSegment(a, b, {-5, 3, 0}), a);
    expectVec(closestPointOnSegment(a, b, {15, 3, 0}), b);
    expectVec(closestPointOnSegment(a, b, {4, 3, 0}), {4, 0, 0});
    expectVec(closestPointOnSegment(a, a, {4, 3, 0}), a);
}

TEST(Geometry, ClassifySphereReturnsDistanceForEveryClass) {
    const Vec3 up{0, 1, 0}, origin{0, 0, 0};
    SphereClassification c = classifySphere({0, 0.5f, 0}, up, origin, 1);
    EXPECT_EQ(c.sphereClass, Intersects);
    EXPECT_FLOAT_EQ(c.distance, 0.5f);
    c = classifySphere({0, 1, 0}, up, origin, 1);
    EXPECT_EQ(c.sphereClass, InFront);
    EXPECT_FLOAT_EQ(c.distance, 1.0f);
    c = classifySphere({0, -1, 0}, up, origin, 1);
    EXPECT_EQ(c.sphereClass, Behind);
    EXPECT_FLOAT_EQ(c.distance, -1.0f);
    const Vec3 nanNormal{NAN, NAN, NAN};
    EXPECT_EQ(classifySphere({0, 100, 0}, nanNormal, origin, 1).sphereClass, Intersects);
}

TEST(Geometry, SpherePolygonCollisionFacesAndEdges) {
    // Above the face, inside the radius.
    EXPECT_TRUE(spherePolygonCollision(kGround, {2, 0.5f, 2}, 3, 1));
    // Above the face, beyond the radius.
    EXPECT_FALSE(spherePolygonCollision(kGround, {2, 1.5f, 2}, 3, 1));
    // Projects outside, within the radius of the edge x = 0.
    EXPECT_TRUE(spherePolygonCollision(kGround, {-0.5f, 0.2f, 5}, 3, 1));
    // Same sphere moved beyond the radius from every edge.
    EXPECT_FALSE(spherePolygonCollision(kGround, {-1.5f, 0.2f, 5}, 3, 1));
    EXPECT_FALSE(edgeSphereCollision({0, 0, 0}, kGround, 0, 1));
}

TEST(Geometry, CollinearTriangleBlocksOnlyAlongItsEdges) {
    const Vec3 line[3] = {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}};
    EXPECT_TRUE(spherePolygonCollision(line, {5, 0.5f, 0}, 3, 1));
    EXPECT_FALSE(spherePolygonCollision(line, {5, 1.5f, 0}, 3, 1));
}
