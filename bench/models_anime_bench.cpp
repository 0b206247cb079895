// One tick of the body model's animation for a player of the generated data
// set: fully skinned (a player marked for full update this frame) and
// unmarked (skeleton posing only). Reports the allocations made per tick.

#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/rm/direct3drm.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

namespace {

std::atomic<long> allocations{0};

// The generated data set lies beside the build's bench folder.
std::string GameFolder() {
    return (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "game").string();
}

struct Player {
    rm::FramePtr base, Peau, MDroite, tete;
    int32_t IdSkm = 0;
    std::string texture = "TS01.bmp";
    int32_t indice = 0, IdModele = 0, Anipos = 0, AniBuste = -1;
    double fps = 0, fps2 = 0;
    bool rendu = true;
    int32_t colonne = 20;
    double pivot = 0.2;
};

void Tick(benchmark::State& state, bool marked) {
    CheminJeu = GameFolder();
    D3DRM = std::make_shared<rm::Direct3DRM>();
    MDL body;
    body.Boite = true;
    body.Load(nullptr, "terror.qc", CheminJeu + "\\models\\", false);
    const rm::FramePtr scene = D3DRM->CreateFrame(nullptr);
    Player player;
    player.base = D3DRM->CreateFrame(scene);
    player.Peau = D3DRM->CreateFrame(scene);
    body.RenvMesh(player);
    player.Anipos = body.RenvAnimations("run");
    player.AniBuste = body.RenvAnimations("ref_aim_rifle");
    player.rendu = marked;
    const double runLength = body.RenvAniMax(player.Anipos), aimLength = body.RenvAniMax(player.AniBuste);

    const long before = allocations.load();
    for (auto _ : state) {
        player.fps = player.fps + 0.7 >= runLength ? 0 : player.fps + 0.7;
        player.fps2 = player.fps2 + 0.7 > aimLength ? 0 : player.fps2 + 0.7;
        body.Anime(player);
    }
    state.counters["allocations_per_tick"] =
        benchmark::Counter(double(allocations.load() - before) / double(state.iterations()));
}

void BM_AnimeFullySkinned(benchmark::State& state) { Tick(state, true); }
void BM_AnimeUnmarked(benchmark::State& state) { Tick(state, false); }

}  // namespace

BENCHMARK(BM_AnimeFullySkinned)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnimeUnmarked)->Unit(benchmark::kMicrosecond);

void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
