#include "core/rank.h"

#include "core/game_state.h"
#include "player/player.h"

#include <cstdint>

void CalculeRang() {
    int64_t kills = StatKiller, deaths = StatKilled, headShotKills = StatSnipper, headShotDeaths = StatSnipped;
    if (IndiceLocal != -1) {
        const player& local = JoueurLocal();
        kills += local.tueur;
        deaths += local.tue;
        headShotKills += local.snipper;
        headShotDeaths += local.snipped;
    }
    const int64_t score = (kills - deaths) + 5 * (headShotKills - headShotDeaths);
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
