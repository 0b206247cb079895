// Making the players of a full game (eight Initplayer) against loading the
// models they wear (the player body and the thirteen weapons), on the
// generated data set beside the build (build/game), with sound on a device
// that plays nothing. The counter `players_over_models` is the ratio of the
// two, measured in the same run; below 1 the players cost less.

#include "core/game_state.h"
#include "core/weapons.h"
#include "models/mdl.h"
#include "platform/rm/direct3drm.h"
#include "platform/sound/direct_sound.h"
#include "player/player.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace {

using Clock = std::chrono::steady_clock;

std::string GameFolder() {
    return (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "game").string();
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The models as the game start loads them.
void LoadModels() {
    PlayerModels[0] = std::make_shared<MDL>();
    PlayerModels[0]->Boite = true;
    PlayerModels[0]->Load(nullptr, "terror.qc", CheminJeu + "\\models\\", false);
    WeaponModels.assign(14, nullptr);
    for (int32_t index = 0; index < 13; ++index) {
        WeaponModels[size_t(index)] = std::make_shared<MDL>();
        WeaponModels[size_t(index)]->MultiMesh = true;
        WeaponModels[size_t(index)]->Load(nullptr, NomFichierArme(index), CheminJeu + "\\weapons", true);
    }
}

void MakeScene() {
    FrameScene = D3DRM->CreateFrame(nullptr);
    FrameMonde = D3DRM->CreateFrame(FrameScene);
    FrameMurs = D3DRM->CreateFrame(FrameMonde);
    FrameSols = D3DRM->CreateFrame(FrameMonde);
    FrameJoueurs = D3DRM->CreateFrame(FrameMurs);
}

void MakeEightPlayers() {
    for (int32_t slot = 0; slot < 8; ++slot) {
        player& p = Joueurs[size_t(slot)];
        p.indice = slot;
        p.IdModele = slot % 2;
        p.texture = slot % 2 == 0 ? "TS01.bmp" : "GS01.bmp";
        p.IdArme = slot;
        p.Initplayer();
    }
}

// Each game starts afresh: nothing that one loaded is left for the next.
void PrepareGame() {
    ResetGameState();
    CheminJeu = GameFolder();
    D3DRM = std::make_shared<rm::Direct3DRM>();
    DSound = sound::DirectSoundCreate("");
    EchelleJoueur = 0.08;
    NomMap = "entrepot";
}

void BM_EightPlayersAgainstTheirModels(benchmark::State& state) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    double models = 0, players = 0;
    for (auto _ : state) {
        PrepareGame();
        const Clock::time_point start = Clock::now();
        LoadModels();
        const double loading = Seconds(start);
        MakeScene();
        const Clock::time_point made = Clock::now();
        MakeEightPlayers();
        const double making = Seconds(made);
        state.SetIterationTime(loading + making);
        models += loading;
        players += making;
    }
    const auto n = double(state.iterations());
    state.counters["models_ms"] = models * 1000 / n;
    state.counters["one_player_ms"] = players * 1000 / n / 8;
    state.counters["players_over_models"] = players / models;
    ResetGameState();
}
BENCHMARK(BM_EightPlayersAgainstTheirModels)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
