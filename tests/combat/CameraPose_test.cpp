// Camera placements around the followed creature.
#include "CameraPose.h"

#include <gtest/gtest.h>

namespace {

void expectVec(Vec3 actual, float x, float y, float z) {
    EXPECT_FLOAT_EQ(actual.x, x);
    EXPECT_FLOAT_EQ(actual.y, y);
    EXPECT_FLOAT_EQ(actual.z, z);
}

const Vec3 START{0.0f, 0.0f, -50.0f};

TEST(CameraPose, FollowsCreatureAtStartFacingMinusZ) {
    CameraPose pose;
    ASSERT_TRUE(cameraPose(0, START, 0.0f, 1.0f, pose));
    expectVec(pose.eye, 0, 40, 0);
    expectVec(pose.centre, 0, 0, -70);
    expectVec(pose.up, 0, 1, 0);

    ASSERT_TRUE(cameraPose(2, START, 0.0f, 1.0f, pose));
    expectVec(pose.eye, 5, 6, -30);
    expectVec(pose.centre, 0, 0, -120);

    ASSERT_TRUE(cameraPose(6, START, 0.0f, 1.0f, pose));
    expectVec(pose.eye, 0, 100, -50);
    expectVec(pose.centre, 0, 0, -50);
    expectVec(pose.up, 1, 0, 0);
}

TEST(CameraPose, TurnsWithHeadingAndKeepsAbsoluteEyeHeight) {
    // Heading 90: forward is +x, right is +z. The creature floats at y = 7.
    const Vec3 p{10.0f, 7.0f, 20.0f};
    CameraPose pose;
    ASSERT_TRUE(cameraPose(4, p, 1.0f, 0.0f, pose));
    expectVec(pose.eye, 30, 0, 15);      // 20 ahead, 5 to the left
    expectVec(pose.centre, -60, 7, 20);  // looking back past the creature
    ASSERT_TRUE(cameraPose(1, p, 1.0f, 0.0f, pose));
    expectVec(pose.eye, -10, 10, 20);
    expectVec(pose.centre, 80, 7, 20);
}

TEST(CameraPose, UnknownModeLeavesPoseUntouched) {
    CameraPose pose;
    pose.eye = {1, 2, 3};
    EXPECT_FALSE(cameraPose(7, START, 0.0f, 1.0f, pose));
    EXPECT_FALSE(cameraPose(-1, START, 0.0f, 1.0f, pose));
    expectVec(pose.eye, 1, 2, 3);
}

}  // namespace
