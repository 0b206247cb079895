#pragma once

#include "platform/rm/math.h"

#include <gtest/gtest.h>

// Component-wise comparisons of the layer's vectors, quaternions and
// matrices: each component within `tolerance` of the expected one.

inline void ExpectNear(const rm::Vector& actual, const rm::Vector& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectNear(const rm::Quaternion& actual, const rm::Quaternion& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.s, expected.s, tolerance);
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectNear(const rm::Matrix4& actual, const rm::Matrix4& expected, float tolerance = 1e-4f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual.m[r][c], expected.m[r][c], tolerance) << "at " << r << "," << c;
}
