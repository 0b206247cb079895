// The HUD's lines for the short and the long panel.

#include "core/hud.h"
#include "core/game_state.h"
#include "platform/os/locale.h"
#include "player/player.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::pair<int32_t, std::string>>;

class Hud : public testing::Test {
protected:
    void SetUp() override { os::SetLocaleDecimalSeparator("."); }

    Lines Drawn(float rate = 0, const player& local = {}) {
        const HudLignes& hud = LignesHUD({rate, terroristes, gign}, local);
        Lines lines;
        for (int32_t i = 0; i < hud.nombre; ++i) lines.emplace_back(hud.lignes[i].y, hud.lignes[i].texte);
        return lines;
    }

    std::string terroristes;
    std::string gign;
};

// The local player with these figures.
player Local(int32_t force, int32_t tueur = 0, int32_t tue = 0, int32_t snipper = 0, int32_t snipped = 0,
             int32_t NbBastos = 0) {
    player local;
    local.force = force;
    local.tueur = tueur;
    local.tue = tue;
    local.snipper = snipper;
    local.snipped = snipped;
    local.NbBastos = NbBastos;
    return local;
}

TEST_F(Hud, ShortPanelShowsRateHealthAndTheInfoLines) {
    Message1 = "Bob est arrivé";
    EXPECT_EQ(Drawn(0, Local(73)),
              (Lines{{10, "Frame Rate : .0"}, {25, "F1 INFOS"}, {40, "VIE : 73"}, {250, "Bob est arrivé"}, {280, ""}}));
}

TEST_F(Hud, LongPanelShowsKeysScoresRankAndRosters) {
    AfficheInfos = true;
    WeaponPower = 3;
    terroristes = "Ana, Bob, ";
    Message2 = "Ana a tué Bob";
    EXPECT_EQ(Drawn(58.26f, Local(100, 4, 2, 1, 0, 27)),
              (Lines{{10, "Frame Rate : 58.3"},
                     {25, "Suppr = VUES"},
                     {40, "F11 & F12 reglage sensibilité SOURIS, Fin = Blocage SOURIS"},
                     {55, "Page Down = chgt ARMES"},
                     {70, "F5 = CHAT/PAUSE"},
                     {85, "CTRL = BAISSER"},
                     {100, "VIE : 100"},
                     {115, "TUEUR : 4"},
                     {130, "TUE : 2"},
                     {145, "SNIPPER : 1"},
                     {160, "SNIPPED : 0"},
                     {175, "AMMO: 27"},
                     {190, "WEAPON POWER: 3"},
                     {205, "TERRORISTES: Ana, Bob, "},
                     {220, "GIGN: "},
                     {250, ""},
                     {280, "Ana a tué Bob"}}));
}

TEST_F(Hud, ADeadPlayerShowsNoHealthOnBothPanels) {
    player dead = Local(40);
    dead.mort = true;
    EXPECT_EQ(Drawn(0, dead)[2].second, "VIE : 0");
    AfficheInfos = true;
    EXPECT_EQ(Drawn(0, dead)[6].second, "VIE : 0");
}

TEST_F(Hud, FrameRateHasOneDecimalInTheLocaleFormat) {
    EXPECT_EQ(Drawn(0.4f)[0].second, "Frame Rate : .4");
    EXPECT_EQ(Drawn(-12.0f)[0].second, "Frame Rate : -12.0");
    os::SetLocaleDecimalSeparator(",");
    EXPECT_EQ(Drawn(-12.0f)[0].second, "Frame Rate : -12,0");
}

}  // namespace
