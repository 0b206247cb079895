#include "core/rank.h"

#include "core/game_state.h"
#include "player/player.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(CalculeRang, RankChangesAtFiveTenAndFifteen) {
    const std::pair<int32_t, int32_t> cases[] = {{-3, 1}, {4, 1}, {5, 2}, {9, 2}, {10, 3}, {14, 3}, {15, 4}, {900, 4}};
    for (const auto& [kills, rank] : cases) {
        StatKiller = kills;
        CalculeRang();
        EXPECT_EQ(WeaponPower, rank) << kills << " kills";
    }
}

TEST(CalculeRang, HeadShotsCountFiveAndDeathsSubtract) {
    StatSnipper = 1;
    CalculeRang();
    EXPECT_EQ(WeaponPower, 2);
    StatKiller = 12;
    StatKilled = 2;
    StatSnipped = 1;  // 10 + 5 x (1 - 1)
    CalculeRang();
    EXPECT_EQ(WeaponPower, 3);
    StatSnipped = 2;  // 10 - 5
    CalculeRang();
    EXPECT_EQ(WeaponPower, 2);
}

// Totals come from the settings and the web server: extreme ones still give
// a rank rather than an overflow.
TEST(CalculeRang, ExtremeTotalsStillGiveARank) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    StatKiller = kMax;
    StatKilled = kMin;
    StatSnipper = kMax;
    StatSnipped = kMin;
    CalculeRang();
    EXPECT_EQ(WeaponPower, 4);
    StatKiller = kMin;
    StatKilled = kMax;
    StatSnipper = kMin;
    StatSnipped = kMax;
    CalculeRang();
    EXPECT_EQ(WeaponPower, 1);
}

TEST(CalculeRang, DuringAGameTheLocalPlayersCountersJoinTheTotals) {
    StatKiller = 3;
    Joueurs[2].tueur = 2;
    CalculeRang();
    EXPECT_EQ(WeaponPower, 1);  // no game: the totals alone
    IndiceLocal = 2;
    CalculeRang();
    EXPECT_EQ(WeaponPower, 2);
    Joueurs[2].snipper = 3;
    Joueurs[2].snipped = 1;
    CalculeRang();  // 5 + 5 x (3 - 1)
    EXPECT_EQ(WeaponPower, 4);
    Joueurs[2].tue = 15;
    CalculeRang();
    EXPECT_EQ(WeaponPower, 1);
    StatKiller = std::numeric_limits<int32_t>::max();
    Joueurs[2].tueur = std::numeric_limits<int32_t>::max();
    CalculeRang();
    EXPECT_EQ(WeaponPower, 4);
}

}  // namespace
