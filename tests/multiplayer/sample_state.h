#pragma once

// A state message whose every field differs from the others, with
// coordinates that single precision holds exactly.

#include "multiplayer/messages.h"

inline StateMessage SampleState() {
    return {.position = {1.5, -2.25, 300},
            .facing = {0, 0.6, -0.8},
            .pivot = -0.3,
            .colonne = -30,
            .Anipos = 7,
            .AniBuste = -1,
            .weapon = 12,
            .fps = 41,
            .fps2 = -2,
            .traversal = 3,
            .idson = 4,
            .idson2 = 1,
            .idson3 = 2,
            .blood = {-7, 8, 9.5},
            .bloodStep = 10,
            .flashStep = 3};
}
