#pragma once

#include <memory>

namespace rm {
class Frame;
}

// Empties a frame tree: every descendant of `frame` is detached, the deepest
// first and, within one frame, the last child first. A failure of the 3D
// services passes to the caller.
void DetruitEnfants(const std::shared_ptr<rm::Frame>& frame);

// Removes every visual of `frame`, the last first.
void DeleteVisuals(rm::Frame& frame);
