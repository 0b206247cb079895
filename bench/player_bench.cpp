// The players of a full game, on the generated data set beside the build
// (build/game), with sound on a device that plays nothing. Each benchmark
// reports a ratio against a baseline measured in the same run:
//  - making eight players (Initplayer) against loading the models they wear
//    (the player body and the thirteen weapons): `players_over_models`,
//    below 1 the players cost less;
//  - a frame's pass over one local and seven remote players (Avance) against
//    their model animation alone (Anime): `pass_over_anime`, with the
//    allocations of a remote player's frame once steady;
//  - the local player's state message against the bare session calls that
//    make and send one like it: `state_over_bare`;
//  - a shot that hits one of seven other players (the pick and the hit
//    message) against a bare pick of the same ray: `shot_over_pick`;
//  - the local player's body animation against its model animation alone:
//    `animation_over_anime`.

#include "../tests/support/player_test_access.h"
#include "core/game_state.h"
#include "core/weapons.h"
#include "counted_allocations.h"
#include "models/mdl.h"
#include "platform/play/direct_play.h"
#include "platform/rm/direct3drm.h"
#include "platform/sound/buffer.h"
#include "platform/sound/direct_sound.h"
#include "platform/sound/sound_flags.h"
#include "player/player.h"
#include "solo_session.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <new>

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

// Slot 0 local, the others remote: each stands apart, facing its own way,
// holding its weapon, legs idle; the local and one other animated in full.
void MakeGame() {
    PrepareGame();
    DSListener =
        DSound->CreateSoundBuffer(sound::DSBCAPS_PRIMARYBUFFER | sound::DSBCAPS_CTRL3D)->GetDirectSound3DListener();
    LoadModels();
    MakeScene();
    OpenSoloSession();
    IndiceLocal = 0;
    // The chat box open: the local player's control reads no device, which
    // this game has none of.
    ChatTyping = true;
    MakeEightPlayers();
    for (int32_t slot = 0; slot < 8; ++slot) {
        player& p = Joueurs[size_t(slot)];
        p.gPlayerpositionx = slot * 10.0;
        p.gPlayerpositionz = -slot * 5.0;
        p.gPlayerori1x = 1;
        p.gPlayerori1z = slot;
        p.gPlayerArme = p.IdArme;
        p.rendu = slot < 2;
    }
}

void BM_FramePassAgainstAnime(benchmark::State& state) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    MakeGame();
    double pass = 0, anime = 0;
    int64_t remoteAllocations = 0;
    // Each measures a new pose: the clocks move before each.
    const auto tick = [] {
        for (int32_t slot = 0; slot < 8; ++slot) Joueurs[size_t(slot)].fps += 1;
    };
    for (auto _ : state) {
        tick();
        Clock::time_point start = Clock::now();
        for (int32_t slot = 0; slot < 8; ++slot) PlayerModels[0]->Anime(Joueurs[size_t(slot)]);
        const double animating = Seconds(start);
        tick();
        start = Clock::now();
        Joueurs[0].Avance();
        const int64_t before = Allocations;
        for (int32_t slot = 1; slot < 8; ++slot) Joueurs[size_t(slot)].Avance();
        remoteAllocations += Allocations - before;
        const double passing = Seconds(start);
        state.SetIterationTime(passing + animating);
        pass += passing;
        anime += animating;
    }
    state.counters["pass_ms"] = pass * 1000 / double(state.iterations());
    state.counters["pass_over_anime"] = pass / anime;
    state.counters["remote_allocations_per_frame"] = double(remoteAllocations) / double(state.iterations()) / 7;
    ResetGameState();
}
BENCHMARK(BM_FramePassAgainstAnime)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

void BM_StateMessageAgainstBareCalls(benchmark::State& state) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    MakeGame();
    player& local = Joueurs[0];
    double sending = 0, bare = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        PlayerTestAccess::EnvoieEtat(local);
        const double one = Seconds(start);
        start = Clock::now();
        const auto message = DPlay->CreateMessage();
        message->WriteLong(1);
        for (int i = 0; i < 7; ++i) message->WriteDouble(i);
        for (int i = 0; i < 10; ++i) message->WriteLong(i);
        for (int i = 0; i < 3; ++i) message->WriteDouble(i);
        for (int i = 0; i < 2; ++i) message->WriteLong(i);
        DPlay->Send(IdLocalDP, 0, 0, message);
        const double made = Seconds(start);
        state.SetIterationTime(one + made);
        sending += one;
        bare += made;
    }
    state.counters["state_us"] = sending * 1e6 / double(state.iterations());
    state.counters["state_over_bare"] = sending / bare;
    ResetGameState();
}
BENCHMARK(BM_StateMessageAgainstBareCalls)->UseManualTime()->Iterations(20000)->Unit(benchmark::kMicrosecond);

// The other seven shown and pickable where their states put them, and a gun
// aimed along +x through the body of slot 3.
rm::FramePtr ShowOthersAndAim() {
    for (int32_t slot = 1; slot < 8; ++slot) {
        Joueurs[size_t(slot)].Avance();
        Joueurs[size_t(slot)].joueur->SetTraversalOptions(3);
    }
    const rm::Vector target = Joueurs[3].joueur->GetPosition(FrameMonde);
    const rm::FramePtr gun = D3DRM->CreateFrame(FrameMonde);
    gun->SetPosition(FrameMonde, target.x - 20, target.y + 2, target.z);
    gun->SetOrientation(FrameMonde, {1, 0, 0}, {0, 1, 0});
    return gun;
}

void BM_ShotAgainstBarePick(benchmark::State& state) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    MakeGame();
    const rm::FramePtr gun = ShowOthersAndAim();
    rm::Ray ray;
    ray.position = gun->GetPosition(FrameMonde);
    ray.direction = {1, 0, 0};
    rm::PickArray picks;
    FrameJoueurs->RayPick(FrameJoueurs, ray, picks);
    if (picks.GetSize() == 0) state.SkipWithError("the gun misses");
    double shooting = 0, picking = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        Joueurs[0].lance_une_Bastos(gun);
        const double shot = Seconds(start);
        start = Clock::now();
        FrameJoueurs->RayPick(FrameJoueurs, ray, picks);
        rm::PickRecord record;
        benchmark::DoNotOptimize(picks.GetPickVisual(0, record));
        const double pick = Seconds(start);
        state.SetIterationTime(shot + pick);
        shooting += shot;
        picking += pick;
    }
    state.counters["shot_us"] = shooting * 1e6 / double(state.iterations());
    state.counters["shot_over_pick"] = shooting / picking;
    ResetGameState();
}
BENCHMARK(BM_ShotAgainstBarePick)->UseManualTime()->Iterations(5000)->Unit(benchmark::kMicrosecond);

void BM_AnimationAgainstAnime(benchmark::State& state) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    MakeGame();
    player& local = Joueurs[0];
    local.ratio = 1;
    local.NbBastos = 1;  // no reload on the way
    double animating = 0, anime = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        local.animation();
        const double step = Seconds(start);
        local.fps += 0.5;  // a new pose for the model alone too
        start = Clock::now();
        PlayerModels[0]->Anime(local);
        const double bare = Seconds(start);
        state.SetIterationTime(step + bare);
        animating += step;
        anime += bare;
    }
    state.counters["animation_us"] = animating * 1e6 / double(state.iterations());
    state.counters["animation_over_anime"] = animating / anime;
    ResetGameState();
}
BENCHMARK(BM_AnimationAgainstAnime)->UseManualTime()->Iterations(5000)->Unit(benchmark::kMicrosecond);

}  // namespace
