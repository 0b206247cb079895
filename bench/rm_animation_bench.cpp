// Posing a 30-bone skeleton from an animation set and writing a 2,000-vertex
// mesh's records from it, as a skinned player is updated each frame.

#include "platform/rm/direct3drm.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kBones = 30;
constexpr int kVertices = 2000;
constexpr int kKeys = 13;

struct Skeleton {
    rm::Direct3DRM d3drm;
    rm::FramePtr root = d3drm.CreateFrame(nullptr);
    std::vector<rm::FramePtr> bones;
    rm::AnimationSetPtr set = d3drm.CreateAnimationSet();
    rm::MeshPtr mesh;
    std::vector<rm::MeshVertex> records;
    std::vector<rm::Vector> local;  // bone-local positions, kVertices / kBones per bone

    Skeleton() {
        for (int b = 0; b < kBones; ++b) {
            // A spine with limbs: every fifth bone starts again from the root's first child.
            const rm::FramePtr parent = b == 0 ? root : b % 5 == 0 ? bones[0] : bones[b - 1];
            bones.push_back(d3drm.CreateFrame(parent));
            const rm::AnimationPtr animation = d3drm.CreateAnimation();
            animation->SetOptions(54);
            animation->SetFrame(bones.back());
            for (int k = 0; k < kKeys; ++k) {
                const float angle = 0.1f * float(k) + 0.01f * float(b);
                animation->AddRotateKey(float(2 * k), {std::cos(angle / 2), 0, std::sin(angle / 2), 0});
                animation->AddPositionKey(float(2 * k), 0, 1 + 0.01f * float(k), 0);
            }
            set->AddAnimation(animation);
        }
        auto builder = d3drm.CreateMeshBuilder();
        for (int v = 0; v < kVertices; ++v) builder->AddVertex(float(v % 7), float(v % 11), float(v % 13));
        for (int v = 0; v + 2 < kVertices; v += 3) {
            const auto face = builder->CreateFace();
            for (int i = 0; i < 3; ++i) face->AddVertexAndNormalIndexed(v + i, -1);
        }
        mesh = builder->CreateMesh();
        records.resize(kVertices);
        mesh->GetVertices(0, 0, kVertices, records.data());
        for (const rm::MeshVertex& r : records) local.push_back(r.position);
    }
};

void BM_PoseAndSkin(benchmark::State& state) {
    Skeleton skeleton;
    float time = 0;
    constexpr int kPerBone = kVertices / kBones + 1;
    for (auto _ : state) {
        skeleton.set->SetTime(time);
        for (int b = 0; b < kBones; ++b) {
            const rm::Matrix4 toRoot = skeleton.bones[b]->GetTransform(skeleton.root);
            for (int v = b * kPerBone; v < std::min(kVertices, (b + 1) * kPerBone); ++v)
                skeleton.records[v].position = rm::TransformPoint(skeleton.local[v], toRoot);
        }
        skeleton.mesh->SetVertices(0, 0, kVertices, skeleton.records.data());
        time += 0.37f;
    }
}
BENCHMARK(BM_PoseAndSkin)->Unit(benchmark::kMicrosecond);

void BM_SetTimeOnly(benchmark::State& state) {
    Skeleton skeleton;
    float time = 0;
    for (auto _ : state) {
        skeleton.set->SetTime(time);
        time += 0.37f;
    }
}
BENCHMARK(BM_SetTimeOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
