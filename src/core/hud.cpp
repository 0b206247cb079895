#include "core/hud.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "core/text.h"
#include "player/player.h"

#include "platform/os/locale.h"

#include <charconv>
#include <limits>

namespace {
constexpr int32_t HudLeft = 10;

class Composer {
public:
    explicit Composer(HudLignes& lignes) : lignes_(lignes) { lignes_.nombre = 0; }

    std::string& Line(int32_t y, const char* label) {
        HudLigne& ligne = lignes_.lignes.at(lignes_.nombre++);
        ligne.y = y;
        ligne.texte.assign(label);
        return ligne.texte;
    }
    void Line(int32_t y, const char* label, const std::string& value) { Line(y, label).append(value); }
    void Line(int32_t y, const char* label, int32_t value) {
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        Line(y, label).append(digits, end);
    }

private:
    HudLignes& lignes_;
};

// The rate changes once every thirty frames: its text is made only then.
const std::string& RateText(float imagesParSeconde) {
    static float shown = std::numeric_limits<float>::quiet_NaN();
    static std::string separator;
    static std::string text;
    if (imagesParSeconde != shown || os::LocaleDecimalSeparator() != separator) {
        shown = imagesParSeconde;
        separator = os::LocaleDecimalSeparator();
        text = Format(imagesParSeconde, "#.0");
    }
    return text;
}
}  // namespace

const HudLignes& LignesHUD(const HudBoucle& boucle, const player& local) {
    static HudLignes lignes;
    Composer hud(lignes);
    const int32_t vie = local.mort ? 0 : local.force;
    hud.Line(10, "Frame Rate : ", RateText(boucle.imagesParSeconde));
    if (AfficheInfos) {
        hud.Line(25, "Suppr = VUES");
        hud.Line(40, "F11 & F12 reglage sensibilité SOURIS, Fin = Blocage SOURIS");
        hud.Line(55, "Page Down = chgt ARMES");
        hud.Line(70, "F5 = CHAT/PAUSE");
        hud.Line(85, "CTRL = BAISSER");
        hud.Line(100, "VIE : ", vie);
        hud.Line(115, "TUEUR : ", local.tueur);
        hud.Line(130, "TUE : ", local.tue);
        hud.Line(145, "SNIPPER : ", local.snipper);
        hud.Line(160, "SNIPPED : ", local.snipped);
        hud.Line(175, "AMMO: ", local.NbBastos);
        hud.Line(190, "WEAPON POWER: ", WeaponPower);
        hud.Line(205, "TERRORISTES: ", boucle.rosterTerroristes);
        hud.Line(220, "GIGN: ", boucle.rosterGign);
    } else {
        hud.Line(25, "F1 INFOS");
        hud.Line(40, "VIE : ", vie);
    }
    hud.Line(250, "", Message1);
    hud.Line(280, "", Message2);
    return lignes;
}

void AfficheHUD(const HudBoucle& boucle, const player& local) {
    const HudLignes& hud = LignesHUD(boucle, local);
    Form1& window = GameWindow();
    for (int32_t i = 0; i < hud.nombre; ++i) window.AfficheTexte(hud.lignes[i].texte, HudLeft, hud.lignes[i].y);
}
