// The local player's movement step on each built-in level and the sample map
// folder's level, from the generated data set (a copy of build/game), against
// the bare ray picks that one step makes (the ground, the wall probe and, on
// a level with ladders, the three ladder rays), measured in the same run:
// `step_over_picks`. The player walks at full speed and turns a little each
// step, so it meets walls, ledges and, on "couloirs", the sector switch. The
// picks are made along the same walk, from where the player stood before
// each step: one ray cast again and again finds its way through the level's
// pick structures already in the cache, a few per cent faster than a walk.
// Needs the application object: run with QT_QPA_PLATFORM=offscreen, or
// under xvfb-run.

#include "../tests/support/player_test_access.h"
#include "bench_main.h"
#include "core/built_in_levels.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/map_level.h"
#include "platform/os/executable.h"
#include "platform/os/program_end.h"
#include "platform/rm/rm.h"
#include "platform/ui/message_box.h"
#include "player/player.h"
#include "scene_frames.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

namespace {

constexpr int kSteps = 200;

// This thread's processor time: the other processes on a loaded machine
// take turns with the benchmark, and their turns would count as its own.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The logos that "couloirs" writes go to a copy, not the generated set.
const QTemporaryDir& GameFolder() {
    static QTemporaryDir copy;
    static const bool made = [] {
        namespace fs = std::filesystem;
        const fs::path source = fs::path(os::ExecutableFolder()) / ".." / "game";
        for (const char* folder : {"media", "models", "map"})
            fs::copy(source / folder, fs::path(copy.path().toStdString()) / folder, fs::copy_options::recursive);
        return true;
    }();
    (void)made;
    return copy;
}

void LoadLevel(const char* level) {
    ResetGameState();
    CheminJeu = GameFolder().path().toStdString();
    os::SetExecutableFolder(CheminJeu);
    os::SetEndHandler([](std::string_view why) {
        std::fprintf(stderr, "the level ended the program: %s\n", std::string(why).c_str());
        std::abort();
    });
    ui::SetMessageBoxHandler([](const ui::MessageBoxSeen& box) {
        std::fprintf(stderr, "message: %s\n", box.prompt.c_str());
        return ui::vbOK;
    });
    MakeSceneFrames();
    D3DRM->SetSearchPath(CheminJeu + "/media");
    NomMap = level;
    EchelleJoueur = 0.08;
    if (std::string(level) == "couloirs")
        ChargeCouloirs();
    else if (std::string(level) == "entrepot")
        ChargeEntrepot();
    else {
        // The game start makes the ladders' frame for a map folder's level.
        FrameEchelles = D3DRM->CreateFrame(FrameMurs);
        ChargeCarte();
    }
    FrameJoueurs = D3DRM->CreateFrame(FrameMurs);
}

// The frames the movement uses, at the level's first spawn point.
player& MakeWalker() {
    IndiceLocal = 0;
    player& p = Joueurs[0];
    p.joueur = D3DRM->CreateFrame(FrameJoueurs);
    p.joueur->AddScale(rm::combine::Before, 0.08f, 0.08f, 0.08f);
    p.Fleche = D3DRM->CreateFrame(FrameMurs);
    SpawnRandom = [] { return 0.0; };
    p.PlaceJoueur();
    p.ratio = 1;
    p.vitesse = 8;
    return p;
}

// What one step picks, without the rest of it, for a player standing at
// `at` and facing `direction` (both in world coordinates).
void BarePicks(const rm::Vector& at, const rm::Vector& direction, rm::PickArray& picks) {
    FrameSols->RayPick(FrameMonde, rm::Ray{{0, -1, 0}, at}, picks);
    FrameMurs->RayPick(FrameMonde, rm::Ray{direction, at}, picks);
    if (!FrameEchelles) return;
    for (const float dy : {0.0f, -5.0f, 5.0f})
        FrameEchelles->RayPick(FrameEchelles, rm::Ray{direction, at + rm::Vector{0, dy, 0}}, picks);
}

void WalkLevel(benchmark::State& state, const char* level) {
    LoadLevel(level);
    player& p = MakeWalker();
    rm::PickArray picks;
    // The player's own transform as each step starts: copied while stepping,
    // turned into the picks' rays afterwards, outside the timed part.
    std::array<rm::Matrix4, kSteps> walked;
    std::array<rm::Vector, kSteps> at, facing;
    double stepping = 0, picking = 0;
    // The turn is the walk's, not the step's: made once, not a sine and a
    // cosine in every timed step.
    const rm::Matrix4 turn = rm::RotationMatrix({0, 1, 0}, 0.05f);
    for (auto _ : state) {
        double start = ThreadSeconds();
        for (int i = 0; i < kSteps; ++i) {
            p.joueur->AddTransform(rm::combine::Before, turn);
            walked[i] = p.joueur->LocalTransform();
            PlayerTestAccess::MovementStep(p);
        }
        const double took = ThreadSeconds() - start;
        stepping += took;
        state.SetIterationTime(took);
        const rm::Matrix4 toWorld =
            rm::Multiply(FrameJoueurs->WorldTransform(), rm::Inverse(FrameMonde->WorldTransform()));
        for (int i = 0; i < kSteps; ++i) {
            const rm::Matrix4 world = rm::Multiply(walked[i], toWorld);
            at[i] = rm::Row(world, 3);
            facing[i] = rm::Normalize(rm::Row(world, 2));
        }
        start = ThreadSeconds();
        for (int i = 0; i < kSteps; ++i) BarePicks(at[i], facing[i], picks);
        picking += ThreadSeconds() - start;
    }
    state.counters["step_us"] = stepping * 1e6 / double(state.iterations()) / kSteps;
    state.counters["step_over_picks"] = picking > 0 ? stepping / picking : 0;
    GameWindow().Unload();
    ResetGameState();
}

BENCHMARK_CAPTURE(WalkLevel, couloirs, "couloirs")->UseManualTime()->Iterations(500)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WalkLevel, entrepot, "entrepot")->UseManualTime()->Iterations(500)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WalkLevel, docks, "docks")->UseManualTime()->Iterations(500)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInApplication(argc, argv); }
