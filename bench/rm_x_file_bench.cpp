// Mesh files of the generated data set (build/game): the largest level mesh
// loaded into a mesh builder, the pre-scan that every mesh file passes
// before the importer reads it, and a whole map-folder level as the game
// start loads it. After the runs, the pre-scan's cost (processor time) is
// printed as a share of the load it is part of.

#include "core/game_state.h"
#include "core/map_level.h"
#include "platform/rm/direct3drm.h"
#include "platform/rm/x_scan.h"
#include "scene_frames.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// The generated data set lies beside the build's bench folder.
fs::path GameFolder() { return fs::canonical("/proc/self/exe").parent_path().parent_path() / "game"; }

// The largest mesh file of the built-in and the map-folder levels.
std::string LargestLevelMesh() {
    fs::path largest;
    for (const char* folder : {"media", "map"})
        for (const fs::directory_entry& entry : fs::directory_iterator(GameFolder() / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".x" && extension != ".sol" && extension != ".mur" && extension != ".pla" &&
                extension != ".lad")
                continue;
            if (largest.empty() || entry.file_size() > fs::file_size(largest)) largest = entry.path();
        }
    return largest.string();
}

void BM_LoadLevelMesh(benchmark::State& state) {
    const std::string file = LargestLevelMesh();
    rm::Direct3DRM d3drm;
    for (auto _ : state) {
        const auto builder = d3drm.CreateMeshBuilder();
        builder->LoadFromFile(file, [](const std::string&) { return rm::TexturePtr(); });
        benchmark::DoNotOptimize(builder->GetFaceCount());
    }
    state.SetLabel(fs::path(file).filename().string() + ", " + std::to_string(fs::file_size(file)) + " bytes");
}
BENCHMARK(BM_LoadLevelMesh)->Unit(benchmark::kMicrosecond);

void BM_PreScanLevelMesh(benchmark::State& state) {
    const std::string file = LargestLevelMesh();
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    const std::string content = bytes.str();
    for (auto _ : state) {
        const rm::XFileContent scanned = rm::ScanXFile(content, file);  // a copy, as reading the file makes one
        benchmark::DoNotOptimize(scanned.layout.meshes.data());
    }
}
BENCHMARK(BM_PreScanLevelMesh)->Unit(benchmark::kMicrosecond);

// ChargeCarte on the generated map, into fresh level frames each time.
void BM_LoadMap(benchmark::State& state) {
    CheminJeu = GameFolder().string();
    NomMap = "docks";
    for (auto _ : state) {
        MakeSceneFrames();
        FrameEchelles = D3DRM->CreateFrame(FrameMurs);
        ChargeCarte();
        benchmark::DoNotOptimize(FrameMurs->GetVisualCount());
    }
}
BENCHMARK(BM_LoadMap)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration for the summary.
class Summary : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);  // the texture callback yields to its event queue
    benchmark::Initialize(&argc, argv);
    Summary summary;
    benchmark::RunSpecifiedBenchmarks(&summary);
    const auto load = summary.times.find("BM_LoadLevelMesh"), scan = summary.times.find("BM_PreScanLevelMesh");
    if (load != summary.times.end() && scan != summary.times.end() && load->second > 0)
        std::printf("pre-scan / load of the largest level mesh: %.1f %%\n", 100 * scan->second / load->second);
    benchmark::Shutdown();
    return 0;
}
