#pragma once

namespace ui {

// Sounds the system's short warning tone.
void Beep();

// How many times Beep has sounded in this run, for tests.
int BeepCount();

}  // namespace ui
