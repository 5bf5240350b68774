// A vector compared component by component, with the test's own tolerance.
#pragma once

#include <gtest/gtest.h>

#include "Vec3.h"

inline void expectVec(Vec3 actual, float x, float y, float z, float tolerance = 1e-6f) {
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}
