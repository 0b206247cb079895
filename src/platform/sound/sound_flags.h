#pragma once

#include <cstdint>

// The flag values that the sound calls take.
namespace sound {

inline constexpr int32_t DSSCL_NORMAL = 1;

// Buffer capabilities. Of these only the primary, 3D and frequency flags
// change what a buffer does; the others are accepted.
inline constexpr int32_t DSBCAPS_PRIMARYBUFFER = 0x01;
inline constexpr int32_t DSBCAPS_STATIC = 0x02;
inline constexpr int32_t DSBCAPS_CTRL3D = 0x10;
inline constexpr int32_t DSBCAPS_CTRLFREQUENCY = 0x20;
inline constexpr int32_t DSBCAPS_CTRLPAN = 0x40;
inline constexpr int32_t DSBCAPS_CTRLVOLUME = 0x80;

inline constexpr int32_t DSBPLAY_LOOPING = 1;

// When a 3D setting takes effect: at once, or at the next commit.
inline constexpr int32_t DS3D_IMMEDIATE = 0;
inline constexpr int32_t DS3D_DEFERRED = 1;

// 3D buffer modes: placed in the world, placed relative to the listener,
// or played without 3D processing (at the listener).
inline constexpr int32_t DS3DMODE_NORMAL = 0;
inline constexpr int32_t DS3DMODE_HEADRELATIVE = 1;
inline constexpr int32_t DS3DMODE_DISABLE = 2;

}  // namespace sound
