// Ray picks against a 10,000-face mesh builder, as the player code makes
// several of each frame.

#include "platform/rm/direct3drm.h"

#include <benchmark/benchmark.h>

namespace {

// A 100 × 100 grid of quads over a bumpy floor, 1 unit apart.
rm::MeshBuilderPtr Grid(rm::Direct3DRM& d3drm) {
    auto builder = d3drm.CreateMeshBuilder();
    constexpr int kSide = 100;
    for (int z = 0; z <= kSide; ++z)
        for (int x = 0; x <= kSide; ++x) builder->AddVertex(float(x), float((x * 7 + z * 13) % 5) * 0.1f, float(z));
    for (int z = 0; z < kSide; ++z)
        for (int x = 0; x < kSide; ++x) {
            const auto face = builder->CreateFace();
            const int corner = z * (kSide + 1) + x;
            for (int index : {corner, corner + kSide + 1, corner + kSide + 2, corner + 1})
                face->AddVertexAndNormalIndexed(index, -1);
        }
    return builder;
}

struct Level {
    rm::Direct3DRM d3drm;
    rm::FramePtr world = d3drm.CreateFrame(nullptr);
    rm::FramePtr floors = d3drm.CreateFrame(world);
    rm::MeshBuilderPtr grid = Grid(d3drm);
    Level() {
        const rm::FramePtr holder = d3drm.CreateFrame(floors);
        holder->AddVisual(grid);
    }
};

void BM_GroundPick(benchmark::State& state) {
    Level level;
    rm::PickArray picks;
    level.floors->RayPick(level.world, {{0, -1, 0}, {50, 10, 50}}, picks);  // builds the hierarchy once
    float x = 0.5f;
    for (auto _ : state) {
        level.floors->RayPick(level.world, {{0, -1, 0}, {x, 10, 37.3f}}, picks);
        benchmark::DoNotOptimize(picks.GetSize());
        x = x > 98 ? 0.5f : x + 0.77f;
    }
    state.counters["faces"] = level.grid->GetFaceCount();
}
BENCHMARK(BM_GroundPick);

void BM_GrazingPick(benchmark::State& state) {
    Level level;
    rm::PickArray picks;
    level.floors->RayPick(level.world, {{1, -0.02f, 1}, {0, 1, 0}}, picks);
    for (auto _ : state) {
        level.floors->RayPick(level.world, {{1, -0.02f, 1}, {0, 1, 0}}, picks);
        benchmark::DoNotOptimize(picks.GetSize());
    }
}
BENCHMARK(BM_GrazingPick);

void BM_HierarchyRebuild(benchmark::State& state) {
    Level level;
    rm::PickArray picks;
    for (auto _ : state) {
        level.grid->ScaleMesh(1, 1, 1);  // marks the faces changed
        level.floors->RayPick(level.world, {{0, -1, 0}, {50, 10, 50}}, picks);
    }
}
BENCHMARK(BM_HierarchyRebuild)->Unit(benchmark::kMillisecond);

}  // namespace
