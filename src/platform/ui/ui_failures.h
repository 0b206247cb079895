#pragma once

#include <cstdint>

// Failure numbers of the ui layer: the numbers that the original toolkit's
// forms and controls raised, so that a failure reads the same in the game's
// messages. File failures are the game's own (failure_number).
namespace ui::failure {
inline constexpr int32_t ControlArrayElementMissing = 340;
inline constexpr int32_t ObjectAlreadyLoaded = 360;
inline constexpr int32_t CannotUnloadDesignTimeControl = 362;
inline constexpr int32_t InvalidPropertyValue = 380;
inline constexpr int32_t InvalidPropertyArrayIndex = 381;
inline constexpr int32_t FormAlreadyDisplayed = 400;
inline constexpr int32_t InvalidPicture = 481;
}  // namespace ui::failure
