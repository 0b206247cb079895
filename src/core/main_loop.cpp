#include "core/main_loop.h"

#include "core/frame_timing.h"
#include "core/game_keys.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/hud.h"
#include "core/object_ref.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/video.h"
#include "launcher/settings.h"
#include "multiplayer/receiver.h"
#include "platform/failure.h"
#include "platform/input/cursor.h"
#include "platform/input/device.h"
#include "platform/os/program_end.h"
#include "platform/rm/rm.h"
#include "platform/sound/listener.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/units.h"
#include "player/player.h"
#include "web/status_window.h"

namespace {

constexpr int32_t kBltWait = 0x1000000;

// One statement of the loop: its failure passes on until the first rate
// sample, and is skipped from then on.
template <class Statement>
void Step(Statement&& statement) {
    if (LoopSkipsFailures)
        skip(std::forward<Statement>(statement));
    else
        statement();
}

void SetUp() {
    Step([] {
        int32_t x = 0, y = 0;
        int32_t width = Ref(Device3D).GetWidth();
        int32_t height = Ref(Device3D).GetHeight();
        std::shared_ptr<rm::Frame> camera = JoueurLocal().cam;
        CreeViewport(x, y, width, height, camera);
    });
    Step([] { ui::DoEvents(); });
    Step([] { RateWindowStart = 1.0f; });
    Step([] { LastTick = ReadTickCounter(); });
    Step([] { Ref(DevClavier).Acquire(); });
    Step([] { JoueurRendu = 0; });
    Step([] { input::ShowCursor(false); });
}

void AddToRoster(const player& p) { (p.IdModele == 0 ? RosterTerroristes : RosterGIGN).append(p.nom).append(", "); }

// Every slot up to the player count (read once): each player's roster line
// and update (Avance), the choice of the other player animated in full, and every
// slot's mark cleared.
void PasseJoueurs(ChoixJoueurRendu& choice) {
    const int32_t count = NbJoueurs;
    for (int32_t i = 0; i < count; ++i) {
        bool present = false;
        Step([&] { present = Joueurs[size_t(i)].joueur != nullptr; });
        if (present) {
            Step([&] { AddToRoster(Joueurs[size_t(i)]); });
            Step([&] { Joueurs[size_t(i)].Avance(); });
            Step([&] { choice.Considere(i, IndiceLocal); });
        }
        Step([&] { Joueurs[size_t(i)].rendu = false; });
    }
}

void Frame() {
    Step([] { ReceiveMessages(); });
    ChoixJoueurRendu choice;
    Step([] { RosterTerroristes.clear(); });
    Step([] { RosterGIGN.clear(); });
    PasseJoueurs(choice);
    MarqueRendu();
    Step([&] { choice.Termine(); });
    Step([] { ScruteClavierJeu(); });
    Step([] { MesureImage(); });
    Step([] { AppliqueRatio(JoueurLocal().ratio); });
    Step([] { Ref(Vues.at(VueCourante)).Clear(rm::clear::All); });
    Step([] { Ref(Vues.at(VueCourante)).Render(FrameMonde); });
    Step([] { ++FrameCount; });
    Step([] { PresenteImage(); });
    Step([] { AfficheHUD({FramesPerSecond, RosterTerroristes, RosterGIGN}, JoueurLocal()); });
    Step([] { ui::DoEvents(); });
    Step([] {
        if (DSound) Ref(DSListener).CommitDeferredSettings();
    });
}

void EndOfGame() {
    Trace("game ended");
    Step([] { input::ShowCursor(true); });
    // The game's counters join the career totals; a sum that would pass the
    // 32-bit range fails and leaves its total as it was.
    Step([] { StatKiller = CLng(static_cast<double>(StatKiller) + JoueurLocal().tueur); });
    Step([] { StatKilled = CLng(static_cast<double>(StatKilled) + JoueurLocal().tue); });
    Step([] { StatSnipper = CLng(static_cast<double>(StatSnipper) + JoueurLocal().snipper); });
    Step([] { StatSnipped = CLng(static_cast<double>(StatSnipped) + JoueurLocal().snipped); });
    Step([] { Ecrit_Ini(); });
    Step([] { ui::SetMousePointer(ui::vbHourglass); });
    Step([] { GameWindow().Unload(); });
    // After leaving the session: the host's game is off the web list before
    // its statistics go.
    Step([] { StatusWindow().quitte_server(); });
    Step([] { LibereDirectX(); });
}

// A slot outside the array (the choice is -1 when there is none) marks
// nothing.
void Marque(int32_t slot) {
    if (slot >= 0 && static_cast<size_t>(slot) < Joueurs.size()) Joueurs[size_t(slot)].rendu = true;
}

}  // namespace

void MarqueRendu() {
    skip([] { Marque(JoueurRendu); });
    skip([] { Marque(IndiceLocal); });
}

void PresenteImage() {
    if (!SurfArriere) {
        Ref(Device3D).Update();
        return;
    }
    const int32_t width = Ref(Device3D).GetWidth();
    const int32_t bottom =
        ChatTyping ? CLng(GameWindow().Text1.Top() / ui::TwipsPerPixelY()) : Ref(Device3D).GetHeight();
    const rm::Rect area{0, 0, width, bottom};
    Ref(SurfPrimaire).Blt(area, SurfArriere, area, kBltWait);
}

void BoucleJeu() {
    SetUp();
    Frame();
    Trace("first frame shown");
    while (!QuitteJeu) Frame();
    EndOfGame();
    os::EndProgram("end of the game");
}
