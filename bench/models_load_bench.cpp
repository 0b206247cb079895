// Loading the game's models as the game start does: the player body with its
// hit boxes and the thirteen weapons with their per-bone meshes, from the
// generated data set beside the build (build/game).

#include "core/game_state.h"
#include "core/weapons.h"
#include "models/mdl.h"
#include "platform/rm/direct3drm.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

std::string GameFolder() {
    return (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "game").string();
}

void BM_LoadPlayerAndWeapons(benchmark::State& state) {
    D3DRM = std::make_shared<rm::Direct3DRM>();
    CheminJeu = GameFolder();
    for (auto _ : state) {
        auto body = std::make_shared<MDL>();
        body->Boite = true;
        body->Load(nullptr, "terror.qc", CheminJeu + "\\models\\", false);
        std::vector<std::shared_ptr<MDL>> weapons;
        for (int32_t index = 0; index < 13; ++index) {
            auto weapon = std::make_shared<MDL>();
            weapon->MultiMesh = true;
            weapon->Load(nullptr, NomFichierArme(index), CheminJeu + "\\weapons", true);
            weapons.push_back(weapon);
        }
        benchmark::DoNotOptimize(weapons.data());
    }
}
BENCHMARK(BM_LoadPlayerAndWeapons)->Unit(benchmark::kMillisecond);

}  // namespace
