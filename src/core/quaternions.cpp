#include "core/quaternions.h"

#include <cmath>

rm::Quaternion QuatAxeAngle(const rm::Vector& axis, float angle) {
    const float half = angle / 2;
    const float sine = std::sin(half);
    return {std::cos(half), sine * axis.x, sine * axis.y, sine * axis.z};
}

rm::Quaternion QuatEuler(const rm::Vector& angles) {
    const rm::Quaternion qX = QuatAxeAngle({1, 0, 0}, angles.x);
    const rm::Quaternion qY = QuatAxeAngle({0, 1, 0}, angles.y);
    const rm::Quaternion qZ = QuatAxeAngle({0, 0, 1}, angles.z);
    return rm::QuaternionMultiply(rm::QuaternionMultiply(qY, qX), qZ);
}
