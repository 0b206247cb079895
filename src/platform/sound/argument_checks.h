#pragma once

#include <cstdint>
#include <initializer_list>

// Checks of the arguments that the sound calls take; each failure is an
// invalid parameter.
namespace sound {

// True for DS3D_DEFERRED, false for DS3D_IMMEDIATE.
bool IsDeferred(int32_t apply);
void CheckFinite(std::initializer_list<float> values);
void CheckRange(float value, float low, float high);

}  // namespace sound
