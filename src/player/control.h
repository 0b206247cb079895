#pragma once

// One frame of the local player's control: what the devices read, and the
// working values that its steps hand on to each other. Made afresh each
// frame, on the stack.

#include "platform/input/input_source.h"
#include "platform/rm/math.h"
#include "player/player.h"

struct player::Control {
    bool chat = false;  // the chat box is open: every key and button reads up
    input::KeyBytes keys{};
    bool left = false;  // mouse buttons
    bool right = false;
    input::Point cursor;
    double centreX = 0;  // the current view's centre on the screen, pixels
    double centreY = 0;
    float ax = 0;  // look angles of this frame, degrees
    float ay = 0;
    int32_t side = 0;   // -1 right strafe, +1 left
    int32_t drive = 0;  // speed step: -1, 0 or +1
    int32_t axial = 0;  // 1 while forward or back is held
    int32_t twist = 0;  // body turn step: -15, 0 or +15
    rm::Vector start;   // the root's world position before this frame's turn
    double chase = 0;   // how fast the camera closes in
    rm::Vector camera;  // the camera's world position before it moves

    // Whether key `code` is down; a code outside 0 to 255 is a Failure.
    bool Down(int32_t code) const;
    // Down now and up when the key memory last recorded it.
    bool Pressed(int32_t code) const;
};
