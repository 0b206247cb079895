#pragma once

#include <cstdint>

// Failure numbers of the sound layer: the result codes that the sound
// services of the original platform reported, so that a failure reads the
// same in the game's messages. A missing file is the game's own "file not
// found" (failure_number::FileNotFound).
namespace sound::failure {
inline constexpr int32_t NoDriver = static_cast<int32_t>(0x88780078u);
inline constexpr int32_t BadFormat = static_cast<int32_t>(0x88780064u);
inline constexpr int32_t InvalidCall = static_cast<int32_t>(0x88780032u);
inline constexpr int32_t ControlUnavailable = static_cast<int32_t>(0x8878001Eu);
inline constexpr int32_t InvalidParam = static_cast<int32_t>(0x80070057u);
inline constexpr int32_t OutOfMemory = static_cast<int32_t>(0x8007000Eu);
inline constexpr int32_t NoInterface = static_cast<int32_t>(0x80004002u);
}  // namespace sound::failure
