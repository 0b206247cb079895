#include "core/game_start.h"

#include "core/built_in_levels.h"
#include "core/game_sound.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/main_loop.h"
#include "core/map_level.h"
#include "core/object_ref.h"
#include "core/paths.h"
#include "core/video.h"
#include "platform/failure.h"
#include "platform/input/direct_input.h"
#include "platform/os/executable.h"
#include "platform/os/files.h"
#include "platform/os/program_end.h"
#include "platform/rm/rm.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"

#include <exception>
#include <string>
#include <typeinfo>

namespace {

constexpr uint32_t kBlack = 0;

std::string InGameFolder(const std::string& gamePath) { return NativePath(CheminJeu + gamePath); }

void OpenInput() {
    auto directInput = input::DirectInputCreate();
    DevClavier = directInput->CreateDevice("GUID_SysKeyboard");
    DevClavier->SetCommonDataFormat(input::DIFORMAT_KEYBOARD);
    DevSouris = directInput->CreateDevice("GUID_Sysmouse");
    DevSouris->SetCommonDataFormat(input::DIFORMAT_MOUSE);
}

void LoadInfoSounds() {
    for (size_t i = 0; i < InfoSoundFiles.size(); ++i) {
        std::shared_ptr<sound::Buffer3D> none;
        ChargeSon(InGameFolder(InfoSoundFiles[i]), DSound, SonsJeu[i], none, false);
    }
}

void LoadSights() {
    TexSniper = Ref(D3DRM).LoadTexture(InGameFolder("\\weapons\\sniper2.bmp"));
    TexSniper->SetDecalTransparency(true);
    TexSniper->SetDecalTransparentColor(kBlack);
    TexSniper->SetDecalOrigin(256, 256);
    TexViseur = Ref(D3DRM).LoadTexture(InGameFolder("\\weapons\\croix2.bmp"));
    TexViseur->SetDecalTransparency(true);
    TexViseur->SetDecalTransparentColor(kBlack);
    TexViseur->SetDecalSize(0.2f, 0.2f);
    TexViseur->SetDecalOrigin(128, 128);
    TexViseurCourant = TexViseur;
}

// The scene up to the level; every failure passes to the caller.
void BuildScene(Form1& window) {
    window.Text2.SetVisible(true);
    window.Text2.SetText(window.Text2.Text() + "LOAD IN PROGRESS,PLEASE WAIT");
    ui::DoEvents();
    window.Show(ui::vbModeless);
    ui::DoEvents();
    PartieEnCours = true;
    VueCourante = 0;
    OpenInput();
    InitDirectSound();
    D3DRM = Ref(DX7).Direct3DRMCreate();
    CheminJeu = os::ExecutableFolder();
    D3DRM->SetSearchPath(InGameFolder("\\media"));
    if (DSound) LoadInfoSounds();
    FrameScene = D3DRM->CreateFrame(nullptr);
    FrameMonde = D3DRM->CreateFrame(FrameScene);
    ChargeModeles();
    D3DRM->SetSearchPath(InGameFolder("\\media"));
    FrameCamera = D3DRM->CreateFrame(FrameMonde);
    LoadSights();
    FrameCouloir1 = D3DRM->CreateFrame(FrameMonde);
    FrameCouloir2 = D3DRM->CreateFrame(FrameMonde);
    FrameMurs = D3DRM->CreateFrame(FrameMonde);
    FrameSols = D3DRM->CreateFrame(FrameMonde);
    FramePlafonds = D3DRM->CreateFrame(FrameMonde);
    EchelleJoueur = 0.08;
}

void BuildLevel() {
    if (NomMap == "couloirs") {
        ChargeCouloirs();
    } else if (NomMap == "entrepot") {
        ChargeEntrepot();
    } else {
        Ref(FrameMonde).AddLight(Ref(D3DRM).CreateLightRGB(rm::light_type::Ambient, 0.4f, 0.4f, 0.4f));
        FrameEchelles = Ref(D3DRM).CreateFrame(FrameMurs);
        ChargeCarte();
    }
}

// From the level to the video device. On "couloirs" each failing statement
// is skipped; elsewhere the first failure passes to the caller.
void FinishStart(Form1& window) {
    const bool skipping = NomMap == "couloirs";
    const auto step = [skipping](auto&& statement) {
        if (skipping)
            skip(statement);
        else
            statement();
    };
    step([] { FrameJoueurs = Ref(D3DRM).CreateFrame(FrameMurs); });
    step([] { NbJoueurs = 8; });
    step([] { os::ChDir(CheminJeu); });
    step([&] { window.Text2.SetVisible(false); });
    step([&] { window.Image1.SetVisible(false); });
    step([&] { window.Image2.SetVisible(false); });
    step([&] { window.Image3.SetVisible(false); });
    step([&] { window.Image4.SetVisible(false); });
    step([&] { window.Image5.SetVisible(false); });
    step([] { ui::DoEvents(); });
    if (ScreenMode == 1) {
        step([&] { InitPleinEcran(window); });
    } else {
        step([] { ui::DoEvents(); });
        step([&] { InitFenetre(window, window.hWnd()); });
    }
    step([] { FinitDevice(); });
    step([] { ui::SetMousePointer(ui::vbDefault); });
}

// The failures a game start reports. Anything else, such as a test's stand-in
// for the program's end, passes through.
template <class Body>
void ReportingFailures(Body&& body) {
    std::exception_ptr error;
    try {
        body();
    } catch (const Failure&) {
        error = std::current_exception();
    } catch (const std::logic_error&) {
        error = std::current_exception();
    } catch (const std::bad_cast&) {
        error = std::current_exception();
    } catch (const std::bad_alloc&) {
        error = std::current_exception();
    }
    if (!error) return;
    const Failure failure = AsFailure(error);
    ui::MsgBox(failure.Description() + ": " + std::to_string(failure.Number()));
    os::EndProgram("the game start failed");
}

}  // namespace

void AjoutePointChargement() {
    Form1& window = GameWindow();
    window.Text2.SetText(window.Text2.Text() + ".");
    ui::DoEvents();
}

void InitJeu() {
    ui::SetMousePointer(ui::vbHourglass);
    ui::DoEvents();
    if (!SetupDone) os::EndProgram("no video set-up");
    ReportingFailures([] {
        Form1& window = GameWindow();
        BuildScene(window);
        BuildLevel();
        FinishStart(window);
        BoucleJeu();
    });
    os::EndProgram("the main loop returned");
}
