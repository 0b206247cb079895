#pragma once

// The local player driven frame by frame with scripted keys, buttons and
// cursor, on a device and view of its own in a game window placed where the
// test wants it; by default over a small level built here (floors, walls and
// a ladder), SeuilSol 5.

#include "platform/input/scripted_input.h"
#include "player_fixture.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class ControlFixture : public PlayerFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // One frame with exactly these keys down, at `ratio`.
    void Frame(std::initializer_list<int32_t> down = {}, double ratio = 1);
    // `frames` frames at full speed forward, or back.
    void Walk(int frames, bool back = false);
    // The view of the whole device of `width` x `height` pixels, through `camera`.
    void MakeView(int32_t width, int32_t height);
    // Puts the player at world (x, y, z) facing the world direction (dx, 0, dz).
    void Place(float x, float y, float z, float dx = 0, float dz = 1);
    rm::Vector At() const;
    // The view's centre on the screen, as the cursor is put there.
    input::Point Centre() const;

    input::ScriptedInput input;
    std::vector<int32_t> held;
    player* p = nullptr;
};

// Floors under FrameSols, walls under FrameMurs, a ladder under
// FrameEchelles (world coordinates):
//   floor       y 0     x -20..20  z -20..20   (the player stands at y 2.5)
//   ledge 3     y -3    x 20..40   z -20..20
//   ledge 6     y -6    x -40..-20 z -20..20
//   step        y 2.5   x -20..20  z -40..-20
//   wall        z 20    x -20..20  (along x)
//   wall        x 40    z -20..20  (along z)
//   ladder      z 10    x 5..9, y -5..30
void MakeTestLevel();
