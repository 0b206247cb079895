// Frames per second of the game's main loop on each built-in level (and the
// sample map folder level), from a prepared game state, in the game window.
// Compare with BM_RenderEmptyScene of rm_render_bench, the renderer's ceiling.
// On "couloirs" also the player walking (forward held) against standing, in
// the same run: `walking_over_standing`, the frame rate's share that is kept
// while the movement and the sector switch run each frame.
// Needs an X display: run under xvfb-run with QT_QPA_PLATFORM=xcb.

#include "core/frame_timing.h"
#include "core/game_start.h"
#include "core/game_state.h"
#include "platform/input/key_codes.h"
#include "platform/input/scripted_input.h"
#include "platform/os/executable.h"
#include "platform/os/program_end.h"
#include "platform/play/direct_play.h"
#include "platform/rm/directx7.h"
#include "platform/ui/message_box.h"
#include "solo_session.h"

#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

constexpr int kWarmUpFrames = 30;
constexpr int kMeasuredFrames = 300;

struct GameOver {};

// A copy of the build's game folder, so that the logos the game writes do
// not touch the generated data set.
const QTemporaryDir& GameFolder() {
    static QTemporaryDir copy;
    static const bool made = [] {
        namespace fs = std::filesystem;
        const fs::path source = fs::path(os::ExecutableFolder()) / ".." / "game";
        for (const char* folder : {"media", "models", "weapons", "map"})
            fs::copy(source / folder, fs::path(copy.path().toStdString()) / folder, fs::copy_options::recursive);
        return true;
    }();
    (void)made;
    return copy;
}

// Seconds of the measured frames of one game on `level`; with `walking`,
// the forward key is held from the start.
double PlayFrames(const char* level, bool walking) {
    ResetGameState();
    DX7 = std::make_shared<rm::DirectX7>();
    SetupDone = true;
    NomMap = level;
    ScreenWidth = 640;
    ScreenHeight = 480;
    BitDepth = 32;
    // The game makes one player per member of its session: here the
    // local player alone.
    OpenSoloSession();
    IdsJoueurs[0] = IdLocalDP;
    NbJoueurs = 1;
    input::ScriptedInput keys;
    if (walking) keys.PressKey(input::key::UpArrow);
    int readings = 0;
    std::chrono::steady_clock::time_point start;
    double seconds = 0;
    TickCounter = [&] {
        ++readings;
        if (readings == 2 * kWarmUpFrames) start = std::chrono::steady_clock::now();
        if (readings == 2 * (kWarmUpFrames + kMeasuredFrames)) {
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            QuitteJeu = true;
        }
        return readings;
    };
    try {
        InitJeu();
    } catch (const GameOver&) {
    }
    // The unloaded game window's widgets go now, not at the program's exit.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return seconds;
}

void UseGameFolder() {
    os::SetExecutableFolder(GameFolder().path().toStdString());
    os::SetEndHandler([](std::string_view) { throw GameOver{}; });
    ui::SetMessageBoxHandler([](const ui::MessageBoxSeen& box) {
        std::fprintf(stderr, "message: %s\n", box.prompt.c_str());
        return ui::vbOK;
    });
}

void PlayLevel(benchmark::State& state, const char* level) {
    UseGameFolder();
    double totalSeconds = 0;
    for (auto _ : state) {
        const double seconds = PlayFrames(level, false);
        state.SetIterationTime(seconds);
        totalSeconds += seconds;
    }
    state.counters["fps"] = totalSeconds > 0 ? double(kMeasuredFrames) * double(state.iterations()) / totalSeconds : 0;
    ResetGameState();
}

void BM_CouloirsWalkingAgainstStanding(benchmark::State& state) {
    UseGameFolder();
    double standing = 0, walking = 0;
    for (auto _ : state) {
        const double still = PlayFrames("couloirs", false);
        const double moving = PlayFrames("couloirs", true);
        state.SetIterationTime(moving);
        standing += still;
        walking += moving;
    }
    state.counters["walking_over_standing"] = walking > 0 ? standing / walking : 0;
    ResetGameState();
}

BENCHMARK_CAPTURE(PlayLevel, couloirs, "couloirs")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlayLevel, entrepot, "entrepot")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlayLevel, docks, "docks")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CouloirsWalkingAgainstStanding)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInApplication(argc, argv); }
