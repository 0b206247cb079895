#pragma once

#include <cstdint>

// The game window shown full screen at `width` x `height` pixels, with its
// device and the current view (Vues(0)) over it, as the game start leaves
// them.
void MakeFullScreenView(int32_t width, int32_t height);
