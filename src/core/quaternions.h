#pragma once

#include "platform/rm/math.h"

// Rotation about `axis` by `angle` radians; the axis is taken as it is, not
// normalised.
rm::Quaternion QuatAxeAngle(const rm::Vector& axis, float angle);

// Rotation by the angles (radians) about X, Y and Z, combined as (qY · qX) · qZ.
rm::Quaternion QuatEuler(const rm::Vector& angles);
