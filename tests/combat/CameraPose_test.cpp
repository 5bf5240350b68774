// Camera placements around the followed creature.
#include "CameraPose.h"

#include <gtest/gtest.h>

#include "Vec3Checks.h"

namespace {

TEST(CameraPose, PlacementsOfTheFollowingModes) {
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
}

TEST(CameraPose, UnknownModeLeavesPoseUntouched) {
    CameraPose pose;
    pose.eye = {1, 2, 3};
    EXPECT_FALSE(cameraPose(7, {0, 0, -50}, 0.0f, 1.0f, pose));
    EXPECT_FALSE(cameraPose(-1, {0, 0, -50}, 0.0f, 1.0f, pose));
    expectVec(pose.eye, 1, 2, 3);
}

}  // namespace
