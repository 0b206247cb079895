#include "platform/sound/argument_checks.h"

#include "platform/failure.h"
#include "platform/sound/sound_failures.h"
#include "platform/sound/sound_flags.h"

#include <cmath>
#include <string>

namespace sound {

bool IsDeferred(int32_t apply) {
    if (apply != DS3D_IMMEDIATE && apply != DS3D_DEFERRED) {
        throw Failure(failure::InvalidParam, "Invalid parameter: apply flag " + std::to_string(apply));
    }
    return apply == DS3D_DEFERRED;
}

void CheckFinite(std::initializer_list<float> values) {
    for (const float value : values) {
        if (!std::isfinite(value)) throw Failure(failure::InvalidParam, "Invalid parameter: not a finite number");
    }
}

void CheckRange(float value, float low, float high) {
    if (!(value >= low && value <= high)) {
        throw Failure(failure::InvalidParam, "Invalid parameter: " + std::to_string(value) + " out of range");
    }
}

}  // namespace sound
