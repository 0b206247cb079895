// The player page's preview, which runs on the user-interface thread 100
// times a second: one tick against a tick of the same device with an empty
// scene, and one rebuild against its two big parts done alone (a device of
// Picture1's size on a clipper, and loading the model). Also prints the
// launcher's start time with the preview. Needs an X display: run under
// xvfb-run with QT_QPA_PLATFORM=xcb. Works in a copy of the game's models.

#include "counted_allocations.h"

#include "core/paths.h"
#include "launcher/launcher_window.h"
#include "launcher/splash.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "platform/rm/rm.h"
#include "platform/ui/message_box.h"
#include "platform/ui/units.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

form2& Window() { return LauncherWindow(); }

// CONFIGURATIONS, then PLAYER: the page whose preview the tick draws.
constexpr int kConfigurations = 1, kPlayer = 9;

// Picture1's size in pixels, read while the launcher stands.
int PictureWidth = 0;
int PictureHeight = 0;

void BM_PreviewTick(benchmark::State& state) {
    Window().Timer1.SetEnabled(false);
    // The first picture on a page just shown also sets the driver up.
    Window().Timer1_Timer();
    const int64_t before = Allocations;
    for (auto _ : state) Window().Timer1_Timer();
    state.counters["allocations_per_tick"] = double(Allocations - before) / double(state.iterations());
}

void BM_EmptySceneTick(benchmark::State& state) {
    Window().Timer1.SetEnabled(false);
    const ModelPreview& preview = Window().Preview();
    const rm::FramePtr scene = preview.rm->CreateFrame(nullptr), camera = preview.rm->CreateFrame(scene);
    const auto viewport = preview.rm->CreateViewport(preview.device, camera, 0, 0, preview.device->GetWidth(),
                                                     preview.device->GetHeight());
    const int64_t before = Allocations;
    for (auto _ : state) {
        scene->Move(0.5);
        viewport->Clear(rm::clear::All);
        viewport->Render(scene);
        preview.device->Update();
    }
    state.counters["allocations_per_tick"] = double(Allocations - before) / double(state.iterations());
}

void BM_AfficheModele(benchmark::State& state) {
    for (auto _ : state) {
        bool ok = false;
        Window().affiche_MODELE(ok);
        if (!ok) state.SkipWithError("the preview could not be made");
    }
    Window().Timer1.SetEnabled(false);
}

// Alone: without the launcher and its preview, so that no other device keeps
// the graphics driver loaded, as none does while the preview is rebuilt.
void BM_DeviceOnClipper(benchmark::State& state) {
    if (Window().IsLoaded()) Window().Unload();
    QWidget picture;
    picture.resize(PictureWidth, PictureHeight);
    rm::DirectX7 dx7;
    for (auto _ : state) {
        const auto clipper = dx7.DirectDraw4Create("")->CreateClipper(0);
        clipper->SetHWnd(&picture);
        const auto d3drm = dx7.Direct3DRMCreate();
        benchmark::DoNotOptimize(d3drm->CreateDeviceFromClipper(clipper, "", PictureWidth, PictureHeight));
    }
}

void BM_LoadTerrorMesh(benchmark::State& state) {
    rm::DirectX7 dx7;
    const std::string models = JoinPath(os::ExecutableFolder(), "models");
    for (auto _ : state) {
        const auto d3drm = dx7.Direct3DRMCreate();
        d3drm->SetSearchPath(os::ExecutableFolder() + ";" + models + ";");
        const rm::FramePtr frame = d3drm->CreateFrame(nullptr);
        frame->LoadFromFile(JoinPath(models, "terror.x"));
    }
}

BENCHMARK(BM_PreviewTick)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_EmptySceneTick)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_AfficheModele)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeviceOnClipper)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadTerrorMesh)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each benchmark's real time per iteration for the summary.
class Summary : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double Of(const std::string& name) const {
        const auto found = times.find(name);
        return found == times.end() ? 0 : found->second;
    }
    std::map<std::string, double> times;
};

// The game's meshes and skins in a folder of the run's own, since the
// preview writes its texture there.
void CopyModels(const fs::path& game) {
    fs::create_directories(game / "models");
    for (const auto& entry : fs::directory_iterator(fs::path(QUELLMAR_GAME_DIR) / "models"))
        if (entry.path().extension() == ".x" || entry.path().extension() == ".bmp")
            fs::copy_file(entry.path(), game / "models" / entry.path().filename());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    QTemporaryDir folder;
    const fs::path game = fs::path(folder.path().toStdString()) / "game";
    CopyModels(game);
    os::SetExecutableFolder(game.string());
    registry::SetHiveFolder(folder.filePath("hive").toStdString());
    ui::SetMessageBoxHandler([](const ui::MessageBoxSeen&) { return int(ui::vbOK); });

    QElapsedTimer start;
    start.start();
    Window().Show();
    const double startMs = double(start.nsecsElapsed()) / 1e6;
    // A tick draws only while the player page shows.
    Window().btn_Click(kConfigurations);
    Window().btn_Click(kPlayer);
    PictureWidth = ui::ToPixels(Window().Picture1.Width(), ui::vbTwips);
    PictureHeight = ui::ToPixels(Window().Picture1.Height(), ui::vbTwips);
    std::printf("launcher start with the preview: %.0f ms (preview %s)\n", startMs,
                Window().Preview().device ? "standing" : "not made");

    Summary summary;
    benchmark::RunSpecifiedBenchmarks(&summary);
    const double tick = summary.Of("BM_PreviewTick"), empty = summary.Of("BM_EmptySceneTick");
    const double build = summary.Of("BM_AfficheModele");
    const double parts = summary.Of("BM_DeviceOnClipper") + summary.Of("BM_LoadTerrorMesh");
    if (empty > 0) std::printf("preview tick / empty-scene tick: %.2fx (within 2x)\n", tick / empty);
    if (parts > 0) std::printf("affiche_MODELE / (device + load terror.x): %.2fx (within 1.5x)\n", build / parts);
    SplashWindow().Unload();
    benchmark::Shutdown();
    return 0;
}
