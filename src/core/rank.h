#pragma once

// The rank that unlocks the weapon levels, from the score
// kills - deaths + 5 x (head-shot kills - head-shot deaths): 1 below 5,
// 2 below 10, 3 below 15, else 4. The score is summed in 64 bits, so any
// totals (they come from the settings and the web server) give a rank.

// Sets WeaponPower from the career totals and, during a game (IndiceLocal
// not -1), the local player's counters of this game.
void CalculeRang();
