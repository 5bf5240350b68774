// Visibility tests of the view frustum, planes taken from matrices built here.
#include "ViewFrustum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// gluPerspective's matrix in OpenGL column order.
void perspective(float fovY, float aspect, float zNear, float zFar, float m[16]) {
    const float f = 1.0f / std::tan(fovY * 3.14159265f / 360.0f);
    for (int i = 0; i < 16; ++i) m[i] = 0.0f;
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1.0f;
    m[14] = 2.0f * zFar * zNear / (zNear - zFar);
}

constexpr float IDENTITY[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// The start-up camera: 45 degrees, aspect 4:3, near 1, far 250, at the origin facing -z.
ViewFrustum startupView() {
    float p[16];
    perspective(45.0f, 4.0f / 3.0f, 1.0f, 250.0f, p);
    ViewFrustum view;
    view.setFromMatrices(p, IDENTITY);
    return view;
}

TEST(ViewFrustumTest, NothingIsVisibleBeforeTheFirstRefresh) {
    ViewFrustum view;
    EXPECT_FALSE(view.pointInFrustum(0, 0, -10));
    EXPECT_FALSE(view.boxInFrustum(-1000, -1000, -1000, 1000, 1000, 1000));
}

TEST(ViewFrustumTest, PointsInFrontBehindAndBeyondFarPlane) {
    const ViewFrustum view = startupView();
    EXPECT_TRUE(view.pointInFrustum(0, 0, -10));
    EXPECT_FALSE(view.pointInFrustum(0, 0, 10));
    EXPECT_FALSE(view.pointInFrustum(0, 0, -300));
    EXPECT_FALSE(view.pointInFrustum(0, 0, -0.5f));  // in front of the near plane
    EXPECT_TRUE(view.pointInFrustum(0, 0, -249));
    EXPECT_FALSE(view.pointInFrustum(100, 0, -10));  // far off to the right
    EXPECT_FALSE(view.pointInFrustum(0, -100, -10));
    EXPECT_FALSE(view.pointInFrustum(NAN, 0, -10));
}

TEST(ViewFrustumTest, PlanesAreNormalised) {
    const ViewFrustum view = startupView();
    EXPECT_NEAR(view.planes[ViewFrustum::NEAR][2], -1.0f, 1e-5f);  // z < -1 is in front
    EXPECT_NEAR(view.planes[ViewFrustum::NEAR][3], -1.0f, 1e-4f);
    EXPECT_NEAR(view.planes[ViewFrustum::FAR][3], 250.0f, 0.05f);
}

TEST(ViewFrustumTest, PointExactlyOnAPlaneIsOutside) {
    ViewFrustum view;
    for (auto& p : view.planes) p[3] = 1.0f;   // every plane passes: a = b = c = 0, d = 1
    view.planes[ViewFrustum::LEFT][0] = 1.0f;  // x + 1 > 0
    EXPECT_TRUE(view.pointInFrustum(0, 0, 0));
    EXPECT_FALSE(view.pointInFrustum(-1, 0, 0));
}

TEST(ViewFrustumTest, ModelviewMovesTheVolume) {
    float p[16];
    perspective(45.0f, 1.0f, 1.0f, 250.0f, p);
    float m[16];
    for (int i = 0; i < 16; ++i) m[i] = IDENTITY[i];
    m[14] = -100.0f;  // world moved 100 units away from the camera
    ViewFrustum view;
    view.setFromMatrices(p, m);
    EXPECT_TRUE(view.pointInFrustum(0, 0, 0));
    EXPECT_FALSE(view.pointInFrustum(0, 0, -200));
}

TEST(ViewFrustumTest, BoxesAreHiddenOnlyWhenWhollyBehindOnePlane) {
    const ViewFrustum view = startupView();
    EXPECT_TRUE(view.boxInFrustum(-1000, -1000, -1000, 1000, 1000, 1000));  // encloses it
    EXPECT_FALSE(view.boxInFrustum(-200, -1, -11, -100, 1, -9));            // all to the left
    EXPECT_TRUE(view.boxInFrustum(-200, -1, -11, 0, 1, -9));                // reaches into it
    EXPECT_TRUE(view.boxInFrustum(1, 1, -9, -1, -1, -11));                  // corners in any order
    EXPECT_FALSE(view.boxInFrustum(-1, -1, 1, 1, 1, 5));                    // behind the viewer
    EXPECT_FALSE(view.boxInFrustum(-1, -1, -400, 1, 1, -300));              // beyond far
}

}  // namespace
