#include "core/main_loop.h"

#include "core/frame_timing.h"
#include "core/game_keys.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/hud.h"
#include "core/object_ref.h"
#include "core/text.h"
#include "core/video.h"
#include "launcher/settings.h"
#include "platform/failure.h"
#include "platform/input/cursor.h"
#include "platform/input/device.h"
#include "platform/os/program_end.h"
#include "platform/rm/rm.h"
#include "platform/sound/listener.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/units.h"

namespace {

constexpr int32_t kClearAll = rm::clear::Target | rm::clear::ZBuffer | rm::clear::DirtyRects;
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
        // The local player's camera frame is FrameCamera until players exist.
        std::shared_ptr<rm::Frame> camera = FrameCamera;
        CreeViewport(x, y, width, height, camera);
    });
    Step([] { ui::DoEvents(); });
    Step([] { RateWindowStart = 1.0f; });
    Step([] { LastTick = ReadTickCounter(); });
    Step([] { Ref(DevClavier).Acquire(); });
    Step([] { JoueurRendu = 0; });
    Step([] { input::ShowCursor(false); });
}

void Frame() {
    ChoixJoueurRendu choice;
    Step([] { RosterTerroristes.clear(); });
    Step([] { RosterGIGN.clear(); });
    Step([&] { choice.Termine(); });
    Step([] { ScruteClavierJeu(); });
    Step([] { MesureImage(); });
    Step([] { Ref(Vues.at(VueCourante)).Clear(kClearAll); });
    Step([] { Ref(Vues.at(VueCourante)).Render(FrameMonde); });
    Step([] { ++FrameCount; });
    Step([] { PresenteImage(); });
    // The local player's figures join the HUD with the player.
    Step([] { AfficheHUD({FramesPerSecond, RosterTerroristes, RosterGIGN}, HudJoueur{}); });
    Step([] { ui::DoEvents(); });
    Step([] {
        if (DSound) Ref(DSListener).CommitDeferredSettings();
    });
}

void EndOfGame() {
    Step([] { input::ShowCursor(true); });
    Step([] { Ecrit_Ini(); });
    Step([] { ui::SetMousePointer(ui::vbHourglass); });
    Step([] { GameWindow().Unload(); });
    Step([] { LibereDirectX(); });
}

}  // namespace

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
    do {
        Frame();
    } while (!QuitteJeu);
    EndOfGame();
    os::EndProgram("end of the game");
}
