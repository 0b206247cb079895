#include "player_fixture.h"

#include "../core/scene_frames.h"
#include "core/game_start.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "platform/rm/rm.h"
#include "support/free_port.h"

std::shared_ptr<MDL> PlayerFixture::body_;
std::vector<std::shared_ptr<MDL>> PlayerFixture::weapons_;

void MakePlayerScene(const std::string& gameFolder) {
    MakeSceneFrames();
    CheminJeu = gameFolder;
    D3DRM->SetSearchPath(gameFolder + "/media");
    FrameJoueurs = D3DRM->CreateFrame(FrameMurs);
    EchelleJoueur = 0.08;
}

void PlayerFixture::SetUpTestSuite() {
    MakePlayerScene(QUELLMAR_GAME_DIR);
    ChargeModeles();
    body_ = PlayerModels[0];
    weapons_ = WeaponModels;
    GameWindow().Unload();
}

void SessionPlayerFixture::SetUp() {
    PlayerFixture::SetUp();
    UseFreePlayPort();
    local_.Host("Ana");
    observer_.Join("abc");
    DPlay = local_.dp;
    IdLocalDP = local_.id;
}

void PlayerFixture::TearDownTestSuite() {
    body_.reset();
    weapons_.clear();
}

void PlayerFixture::UseScene() {
    MakePlayerScene(QUELLMAR_GAME_DIR);
    PlayerModels[0] = body_;
    WeaponModels = weapons_;
    NomMap = "entrepot";
    SeuilSol = 5;
    SpawnRandom = [] { return 0.0; };
}

player& PlayerFixture::Configure(int32_t slot, bool local) {
    player& p = Joueurs[size_t(slot)];
    p.indice = slot;
    p.id = 100 + slot;
    p.nom = "Player" + std::to_string(slot);
    p.IdModele = slot % 2;
    p.texture = (slot % 2 == 0 ? "TS01.bmp" : "GS02.bmp");
    if (local) IndiceLocal = slot;
    return p;
}

player& PlayerFixture::Build(int32_t slot, bool local) {
    player& p = Configure(slot, local);
    p.Initplayer();
    return p;
}
