#include "core/quaternions.h"
#include "support/expect_near.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

TEST(Quaternions, AxisAngleTakesTheAxisAsItIs) {
    const float pi = std::numbers::pi_v<float>;
    ExpectNear(QuatAxeAngle({0, 1, 0}, pi), {std::cos(pi / 2), 0, 1, 0});
    const rm::Quaternion longer = QuatAxeAngle({0, 2, 0}, pi);
    EXPECT_GT(std::sqrt(longer.s * longer.s + longer.y * longer.y), 1.5f);
}

TEST(Quaternions, EulerCombinesYThenXThenZ) {
    ExpectNear(QuatEuler({0, 0, 0}), {1, 0, 0, 0});
    ExpectNear(QuatEuler({0.7f, 0, 0}), QuatAxeAngle({1, 0, 0}, 0.7f));
    const rm::Quaternion qX = QuatAxeAngle({1, 0, 0}, 0.3f);
    const rm::Quaternion qY = QuatAxeAngle({0, 1, 0}, 0.5f);
    const rm::Quaternion qZ = QuatAxeAngle({0, 0, 1}, 0.9f);
    ExpectNear(QuatEuler({0.3f, 0.5f, 0.9f}), rm::QuaternionMultiply(rm::QuaternionMultiply(qY, qX), qZ));
    // The order matters: X then Y differs from Y then X.
    const rm::Quaternion other = rm::QuaternionMultiply(rm::QuaternionMultiply(qX, qY), qZ);
    EXPECT_GT(std::fabs(QuatEuler({0.3f, 0.5f, 0.9f}).z - other.z), 1e-3);
}

TEST(Quaternions, HamiltonProduct) {
    // i · j = k and j · i = -k.
    ExpectNear(rm::QuaternionMultiply({0, 1, 0, 0}, {0, 0, 1, 0}), {0, 0, 0, 1});
    ExpectNear(rm::QuaternionMultiply({0, 0, 1, 0}, {0, 1, 0, 0}), {0, 0, 0, -1});
}

}  // namespace
