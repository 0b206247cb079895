#include "core/game_state.h"
#include "core/game_sound.h"

#include "core/built_in_levels.h"
#include "core/frame_timing.h"
#include "core/main_loop.h"
#include "core/video.h"

#include "core/map_level.h"

void ResetGameState() {
    IndiceLocal = -1;
    ProductTitle = {};
    IdSoft = {};
    ReleaseVersion = {};
    CheminJeu = {};
    SetupDone = {};
    PartieEnCours = {};
    QuitteJeu = {};
    DPlay = {};
    IdLocalDP = {};
    IdsJoueurs = {};
    NbJoueurs = {};
    NomMap = {};
    Joueurs.ClearAll();
    ScreenMode = {};
    ScreenWidth = {};
    ScreenHeight = {};
    BitDepth = {};
    FullScreen = {};
    DDrawGuid = {};
    D3DDeviceGuid = {};
    RenderQuality = {};
    TextureQuality = {};
    ModeBox = {};
    InverseSouris = {};
    SkinLocal = {};
    IdModeleLocal = {};
    StatKiller = {};
    StatKilled = {};
    StatSnipper = {};
    StatSnipped = {};
    WeaponPower = {};
    DX7 = {};
    D3DRM = {};
    Device3D = {};
    SurfPrimaire = {};
    SurfArriere = {};
    Vues = {};
    VueCourante = {};
    LargeurDevice = {};
    HauteurDevice = {};
    LargeurVue = {};
    HauteurVue = {};
    DevClavier = {};
    DevSouris = {};
    PrevKeys = {};
    DSound = {};
    DSListener = {};
    DSPrimaire = {};
    SonsJeu = {};
    FrameScene = {};
    FrameMonde = {};
    FrameCamera = {};
    FrameCouloir1 = {};
    FrameCouloir2 = {};
    FrameSols = {};
    FrameMurs = {};
    FramePlafonds = {};
    FrameEchelles = {};
    FrameSol1 = {};
    FrameMur1 = {};
    FramePlafond1 = {};
    FrameSol2 = {};
    FrameMur2 = {};
    FramePlafond2 = {};
    MeshCouloirs = {};
    MeshEscaliers = {};
    FrameJoueurs = {};
    SeuilSol = {};
    EchelleJoueur = {};
    TeamGame = {};
    SpawnPoints = {};
    TexViseur = {};
    TexSniper = {};
    TexViseurCourant = {};
    PlayerModels = {};
    WeaponModels = {};
    Message1 = {};
    Message2 = {};
    AfficheInfos = {};
    ChatTyping = {};
    TickCounter = {};
    ClockSeconds = {};
    RateWindowStart = {};
    FrameTime = {};
    LastTick = {};
    FramesPerSecond = {};
    FrameCount = {};
    LoopSkipsFailures = {};
    JoueurRendu = {};
    RosterTerroristes = {};
    RosterGIGN = {};
    DDraw7 = {};
    DDrawFenetre = {};
    ClipperEcran = {};
    MeshSol = {};
    MeshMur = {};
    MeshPlafond = {};
    MeshSol2 = {};
    MeshMur2 = {};
    MeshPlafond2 = {};
    CielMap = {};
    PosLumiere = {};
}
