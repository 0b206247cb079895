// Loading a game's models (ChargeModeles) and the sample map folder's level
// (ChargeCarte) from the generated data set beside the build (build/game), as
// the game start does. Each reports, as "ratio", its time over the time of
// reading every file of the folders it loads from, measured in the same run:
// what the loaders add to the disk's part.
// Needs the application object: run with QT_QPA_PLATFORM=offscreen, or
// under xvfb-run.

#include "bench_main.h"
#include "core/game_start.h"
#include "core/game_state.h"
#include "core/map_level.h"
#include "platform/os/executable.h"
#include "platform/rm/rm.h"
#include "scene_frames.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path GameFolder() { return fs::path(os::ExecutableFolder()) / ".." / "game"; }

// Seconds to read every file below the given folders of the game folder,
// the fastest of a few rounds.
double ReadSeconds(std::initializer_list<const char*> folders) {
    double fastest = 0;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        size_t bytes = 0;
        for (const char* folder : folders)
            for (const auto& file : fs::recursive_directory_iterator(GameFolder() / folder)) {
                if (!file.is_regular_file()) continue;
                std::ifstream in(file.path(), std::ios::binary);
                bytes += std::string(std::istreambuf_iterator<char>(in), {}).size();
            }
        benchmark::DoNotOptimize(bytes);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (round == 0 || seconds < fastest) fastest = seconds;
    }
    return fastest;
}

// Times `load` on a fresh scene each iteration.
template <class Load>
void TimeLoads(benchmark::State& state, std::initializer_list<const char*> folders, Load load) {
    CheminJeu = GameFolder().string();
    const double read = ReadSeconds(folders);
    double seconds = 0;
    for (auto _ : state) {
        MakeSceneFrames();
        FrameEchelles = D3DRM->CreateFrame(FrameMurs);
        const auto start = std::chrono::steady_clock::now();
        load();
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        seconds += took;
        state.SetIterationTime(took);
    }
    state.counters["ratio"] = read > 0 ? seconds / double(state.iterations()) / read : 0;
}

void BM_ChargeModeles(benchmark::State& state) {
    TimeLoads(state, {"models", "weapons"}, [] { ChargeModeles(); });
}
BENCHMARK(BM_ChargeModeles)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ChargeCarte(benchmark::State& state) {
    NomMap = "docks";
    TimeLoads(state, {"map"}, [] { ChargeCarte(); });
}
BENCHMARK(BM_ChargeCarte)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInApplication(argc, argv); }
