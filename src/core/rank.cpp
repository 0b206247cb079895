#include "core/rank.h"

#include "core/game_state.h"

#include <cstdint>

void CalculeRang() {
    const int64_t score = (int64_t{StatKiller} - StatKilled) + 5 * (int64_t{StatSnipper} - StatSnipped);
    if (score < 5) {
        WeaponPower = 1;
    } else if (score < 10) {
        WeaponPower = 2;
    } else if (score < 15) {
        WeaponPower = 3;
    } else {
        WeaponPower = 4;
    }
}
