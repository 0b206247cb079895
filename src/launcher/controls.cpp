// The controls page: the game's fixed keys, shown one per disabled list, and
// the inverted-mouse box, the page's only choice.

#include "core/game_state.h"
#include "launcher/launcher_window.h"

#include <array>

namespace {

struct Binding {
    const char* action;
    const char* key;
};

constexpr std::array<Binding, 10> kBindings{{
    {"AVANCER:", "FLECHE HAUT"},
    {"RECULER:", "FLECHE BAS"},
    {"ESQUIVE GAUCHE:", "FLECHE GAUCHE"},
    {"ESQUIVE DROITE:", "FLECHE DROITE"},
    {"TIR:", "SOURIS GAUCHE"},
    {"CAMERA LIBRE:", "SOURIS DROITE"},
    {"CHANGEMENT VUES:", "TOUCHE SUPPR"},
    {"BLOCAGE VISEE:", "TOUCHE FIN"},
    {"CHANGEMENT ARMES:", "TOUCHE PAGE DOWN"},
    {"BAISSER:", "TOUCHE CTRL DROITE"},
}};

// The rows of the page, in twips.
constexpr float kFirstRowTop = 540;
constexpr float kRowStep = 330;
constexpr float kLabelLeft = 240;
constexpr float kLabelWidth = 2100;
constexpr float kListLeft = 2400;
constexpr float kListWidth = 2400;
constexpr float kRowHeight = 315;

}  // namespace

void form2::DesignControlsPage() {
    for (int i = 0; i < cmbdep.Count(); ++i) {
        const float top = kFirstRowTop + kRowStep * static_cast<float>(i);
        lblAction(i).Move(kLabelLeft, top + 30, kLabelWidth, 255);
        lblAction(i).SetCaption(kBindings[size_t(i)].action);
        cmbdep(i).Move(kListLeft, top, kListWidth, kRowHeight);
        cmbdep(i).SetEnabled(false);
    }
    const float below = kFirstRowTop + kRowStep * static_cast<float>(cmbdep.Count()) + 60;
    lblRotation.Move(kLabelLeft, below, 4560, 255);
    lblRotation.SetCaption("Les rotations du joueur se font \u00e0 la souris");
    Chcnt.Move(kLabelLeft, below + 360, 2600, 255);
    Chcnt.SetCaption("SOURIS INVERSEE");
}

// Any stored value but 0 means inverted: the box takes only 0 and 1, and a
// value it refused would stop the launcher's start.
void form2::ChargeControls() {
    for (int i = 0; i < cmbdep.Count(); ++i) {
        cmbdep(i).Clear();
        cmbdep(i).AddItem(kBindings[size_t(i)].key);
        cmbdep(i).SetListIndex(0);
    }
    Chcnt.SetValue(InverseSouris != 0 ? ui::vbChecked : ui::vbUnchecked);
}

void form2::Chcnt_Click() { InverseSouris = Chcnt.Value(); }
