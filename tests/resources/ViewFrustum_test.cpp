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
    // 10 units ahead the view reaches 5.52 to either side and 4.14 up and down. Columns: x, y,
    // z, inside (1).
    const float points[][4] = {
        {0, 0, -10, 1},     {0, 0, 10, 0},      {0, 0, -300, 0},
        {0, 0, -0.5f, 0},  // in front of the near plane
        {0, 0, -1.1f, 1},   {0, 0, -249, 1},    {5.4f, 0, -10, 1},
        {5.7f, 0, -10, 0},  {-5.4f, 0, -10, 1}, {-5.7f, 0, -10, 0},
        {0, 4.0f, -10, 1},  {0, 4.3f, -10, 0},  {0, -4.0f, -10, 1},
        {0, -4.3f, -10, 0}, {NAN, 0, -10, 0},
    };
    for (const auto& p : points)
        EXPECT_EQ(v.pointInFrustum(p[0], p[1], p[2]), p[3] == 1)
            << p[0] << " " << p[1] << " " << p[2];

    // Boxes are hidden only when wholly behind one plane; corners may come in any order.
    // Columns: two corners, inside (1).
    const float boxes[][7] = {
        {-1000, -1000, -1000, 1000, 1000, 1000, 1},  // encloses the volume
        {-200, -1, -11, -100, 1, -9, 0},             // all to the left
        {-200, -1, -11, 0, 1, -9, 1},                // reaches into it
        {1, 1, -9, -1, -1, -11, 1},                  // corners swapped
        {-1, -1, 1, 1, 1, 5, 0},                     // behind the viewer
        {-1, -1, -400, 1, 1, -300, 0},               // beyond far
    };
    for (const auto& b : boxes)
        EXPECT_EQ(v.boxInFrustum(b[0], b[1], b[2], b[3], b[4], b[5]), b[6] == 1)
            << b[0] << " " << b[2] << " .. " << b[3] << " " << b[5];

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
    // y > 1: only the upper corners pass, and y counts alone.
    v.planes[ViewFrustum::LEFT][0] = v.planes[ViewFrustum::LEFT][2] = 0.0f;
    v.planes[ViewFrustum::LEFT][1] = 1.0f, v.planes[ViewFrustum::LEFT][3] = -1.0f;
    EXPECT_TRUE(v.boxInFrustum(0, 0, 0, 0, 2, 0));
}

}  // namespace
