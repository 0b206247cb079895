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
#include "platform/input/key_codes.h"
#include "platform/os/executable.h"
#include "platform/os/files.h"
#include "platform/os/program_end.h"
#include "platform/play/direct_play.h"
#include "platform/rm/rm.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"
#include "player/formal_name.h"
#include "player/player.h"

#include <algorithm>
#include <exception>
#include <string>

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

// One statement of the start from the level on: skipped when it fails on
// "couloirs", else its failure passes to the caller.
class StartStep {
public:
    explicit StartStep(bool skipping) : skipping_(skipping) {}
    template <class Statement>
    void operator()(Statement&& statement) const {
        if (skipping_)
            skip(std::forward<Statement>(statement));
        else
            statement();
    }

private:
    bool skipping_;
};

// The local player's fixed keys; the launcher only shows them.
void DonneTouches(player& local) {
    local.K_up = input::KeyUp;
    local.k_down = input::KeyDown;
    local.k_right = input::KeyRight;
    local.k_left = input::KeyLeft;
    local.k_Tir = input::KeyP;
    local.k_V1 = input::KeyDelete;
    local.k_V2 = input::KeyEnd;
    local.k_Arme = input::KeyPageDown;
    local.k_Arme2 = input::KeyBackspace;
    local.k_baisser = input::KeyRightControl;
    local.Souris = true;
}

// One player per session member, named by the session; the local player's
// side and skin are the settings, another's come from its formal name.
void MakePlayer(int32_t i, const StartStep& step) {
    step([] { AjoutePointChargement(); });
    step([i] { Joueurs.Set(size_t(i), std::make_shared<player>()); });
    player& p = Joueurs[size_t(i)];
    step([&] {
        p.MDLid = 0;
        p.IdArme = 0;
        p.indice = i;
        p.id = IdsJoueurs.at(size_t(i));
        p.mousesens = 1;
    });
    step([&] { p.nom = Ref(DPlay).GetPlayerFriendlyName(p.id); });
    if (p.id == IdLocalDP) {
        step([&] {
            IndiceLocal = i;
            p.IdModele = IdModeleLocal;
            p.texture = SkinFileName(IdModeleLocal, SkinLocal);
            p.inverse = InverseSouris != 0 ? -1 : 1;
        });
    } else {
        step([&] {
            const FormalNameParts name = ReadFormalName(Ref(DPlay).GetPlayerFormalName(p.id));
            p.IdModele = name.side;
            p.texture = SkinFileName(name.side, name.skin);
        });
    }
    step([&] { p.Initplayer(); });
}

// The players, the local one drawn (never hit on its own machine) and given
// its fixed keys; from then on the main loop visits every slot.
void MakePlayers(const StartStep& step) {
    step([] {
        if (NbJoueurs > Joueurs.size())
            throw Failure(failure_number::SubscriptOutOfRange, "Too many players: " + std::to_string(NbJoueurs));
    });
    for (int32_t i = 0; i < std::min<int32_t>(NbJoueurs, int32_t(Joueurs.size())); ++i) MakePlayer(i, step);
    step([] { Ref(JoueurLocal().joueur).SetTraversalOptions(rm::traversal::Draw); });
    step([] { NbJoueurs = 8; });
    step([] { DonneTouches(JoueurLocal()); });
}

// From the level to the video device.
void FinishStart(Form1& window) {
    const StartStep step(NomMap == "couloirs");
    step([] { FrameJoueurs = Ref(D3DRM).CreateFrame(FrameMurs); });
    MakePlayers(step);
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
    } catch (...) {
        error = std::current_exception();
        if (!IsFailure(error)) throw;
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
