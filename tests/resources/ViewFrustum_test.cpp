// Visibility tests of the view frustum, planes taken from matrices built here.
#include "ViewFrustum.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Angles.h"

namespace {

// gluPerspective's matrix (45 degrees, near 1, far 250) in OpenGL column order,
// with the modelview moving the world `worldZ` units along z.
ViewFrustum view(float aspect, float worldZ = 0) {
    const float f = 1.0f / std::tan(45.0f * float(PI) / 360.0f), n = 1, far = 250;
    float p[16] = {};
    p[0] = f / aspect;
    p[5] = f;
    p[10] = (far + n) / (n - far);
    p[11] = -1.0f;
    p[14] = 2.0f * far * n / (n - far);
    const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, worldZ, 1};
    ViewFrustum v;
    v.setFromMatrices(p, m);
    return v;
}

TEST(ViewFrustumTest, PointsAndBoxesOfTheStartupCamera) {
    const ViewFrustum fresh;  // nothing is visible before the first refresh
    EXPECT_FALSE(fresh.pointInFrustum(0, 0, -10));
    EXPECT_FALSE(fresh.boxInFrustum(-1000, -1000, -1000, 1000, 1000, 1000));

    const ViewFrustum v = view(4.0f / 3.0f);  // at the origin facing -z
    struct Point {
        float x, y, z;
        bool in;
    };
    // 10 units ahead the view reaches 5.52 to either side and 4.14 up and down.
    const Point points[] = {
        {0, 0, -10, true},      {0, 0, 10, false},     {0, 0, -300, false},
        {0, 0, -0.5f, false},  // in front of the near plane
        {0, 0, -1.1f, true},    {0, 0, -249, true},    {5.4f, 0, -10, true},
        {5.7f, 0, -10, false},  {-5.4f, 0, -10, true}, {-5.7f, 0, -10, false},
        {0, 4.0f, -10, true},   {0, 4.3f, -10, false}, {0, -4.0f, -10, true},
        {0, -4.3f, -10, false}, {NAN, 0, -10, false},
    };
    for (const Point& p : points)
        EXPECT_EQ(v.pointInFrustum(p.x, p.y, p.z), p.in) << p.x << " " << p.y << " " << p.z;

    // Boxes are hidden only when wholly behind one plane; corners may come in any order.
    struct Box {
        float b[6];
        bool in;
    };
    const Box boxes[] = {
        {{-1000, -1000, -1000, 1000, 1000, 1000}, true},  // encloses the volume
        {{-200, -1, -11, -100, 1, -9}, false},            // all to the left
        {{-200, -1, -11, 0, 1, -9}, true},                // reaches into it
        {{1, 1, -9, -1, -1, -11}, true},                  // corners swapped
        {{-1, -1, 1, 1, 1, 5}, false},                    // behind the viewer
        {{-1, -1, -400, 1, 1, -300}, false},              // beyond far
    };
    for (const Box& b : boxes)
        EXPECT_EQ(v.boxInFrustum(b.b[0], b.b[1], b.b[2], b.b[3], b.b[4], b.b[5]), b.in)
            << b.b[0] << " " << b.b[2] << " .. " << b.b[3] << " " << b.b[5];

    // Planes are normalised, so their d is a distance.
    EXPECT_NEAR(v.planes[ViewFrustum::NEAR][2], -1.0f, 1e-5f);  // z < -1 is in front
    EXPECT_NEAR(v.planes[ViewFrustum::NEAR][3], -1.0f, 1e-4f);
    EXPECT_NEAR(v.planes[ViewFrustum::FAR][3], 250.0f, 0.05f);

    const ViewFrustum moved = view(1.0f, -100.0f);  // world 100 units away from the camera
    EXPECT_TRUE(moved.pointInFrustum(0, 0, 0));
    EXPECT_FALSE(moved.pointInFrustum(0, 0, -200));
}

TEST(ViewFrustumTest, OnAPlaneIsOutsideAndOneCornerInsideKeepsABox) {
    ViewFrustum v;
    for (auto& p : v.planes) p[3] = 1.0f;   // every plane passes: a = b = c = 0, d = 1
    v.planes[ViewFrustum::LEFT][0] = 1.0f;  // x + 1 > 0
    EXPECT_TRUE(v.pointInFrustum(0, 0, 0));
    EXPECT_FALSE(v.pointInFrustum(-1, 0, 0));
    // An oblique plane x + y + z > 5 that only the corner (2, 2, 2) passes,
    // given first or last.
    v.planes[ViewFrustum::LEFT][1] = v.planes[ViewFrustum::LEFT][2] = 1.0f;
    v.planes[ViewFrustum::LEFT][3] = -5.0f;
    EXPECT_TRUE(v.boxInFrustum(0, 0, 0, 2, 2, 2));
    EXPECT_TRUE(v.boxInFrustum(2, 2, 2, 0, 0, 0));
    EXPECT_FALSE(v.boxInFrustum(0, 0, 0, 1.5f, 1.5f, 1.5f));
    // x - y - z > 1.5: only the corner (2, 0, 0) passes.
    v.planes[ViewFrustum::LEFT][1] = v.planes[ViewFrustum::LEFT][2] = -1.0f;
    v.planes[ViewFrustum::LEFT][3] = -1.5f;
    EXPECT_TRUE(v.boxInFrustum(0, 0, 0, 2, 2, 2));
}

}  // namespace
