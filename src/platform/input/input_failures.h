#pragma once

#include <cstdint>

// Failure numbers of the input layer: the result codes that the input
// services of the original platform reported, so that a failure reads the
// same in the game's messages.
namespace input::failure {
inline constexpr int32_t NotAcquired = static_cast<int32_t>(0x8007000Cu);
inline constexpr int32_t InvalidParam = static_cast<int32_t>(0x80070057u);
inline constexpr int32_t DeviceNotRegistered = static_cast<int32_t>(0x80040154u);
inline constexpr int32_t NotInitialized = static_cast<int32_t>(0x80070015u);
}  // namespace input::failure
