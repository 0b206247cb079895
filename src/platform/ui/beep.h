#pragma once

namespace ui {

// Sounds the system's short warning tone.
void Beep();

}  // namespace ui
