// Frames per second of a 20,000-triangle scene at 640 × 480 against an empty
// scene (the ceiling of clearing, reading back and presenting). Needs an X
// display: run under xvfb-run with QT_QPA_PLATFORM=xcb.

#include "platform/rm/rm.h"

#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QWidget>

#include <cmath>

namespace {

// `count` quads (two triangles each) on a wavy sheet in front of the camera.
rm::MeshBuilderPtr Sheet(rm::Direct3DRM& d3drm, int side, const rm::TexturePtr& texture) {
    auto builder = d3drm.CreateMeshBuilder();
    for (int y = 0; y <= side; ++y)
        for (int x = 0; x <= side; ++x) {
            const float fx = float(x) / float(side) * 8 - 4, fy = float(y) / float(side) * 6 - 3;
            const int v = builder->AddVertex(fx, fy, 10 + 0.3f * std::sin(fx * 3) * std::cos(fy * 2));
            builder->SetTextureCoordinates(v, float(x) / 8, float(y) / 8);
        }
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const auto face = builder->CreateFace();
            const int corner = y * (side + 1) + x;
            for (int index : {corner, corner + side + 1, corner + side + 2, corner + 1})
                face->AddVertexAndNormalIndexed(index, -1);
        }
    builder->GenerateNormals(1, 1);
    builder->SetTexture(texture);
    return builder;
}

void RenderFrames(benchmark::State& state, bool withScene) {
    rm::DirectX7 dx7;
    const auto d3drm = dx7.Direct3DRMCreate();
    const rm::FramePtr scene = d3drm->CreateFrame(nullptr), camera = d3drm->CreateFrame(scene);
    QWidget window;
    window.resize(640, 480);
    const auto clipper = dx7.DirectDraw4Create("")->CreateClipper(0);
    clipper->SetHWnd(&window);
    const auto device = d3drm->CreateDeviceFromClipper(clipper, "", 640, 480);
    const auto viewport = d3drm->CreateViewport(device, camera, 0, 0, 640, 480);
    viewport->SetBack(10000);
    viewport->SetField(0.6f);
    if (withScene) {
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        const auto texture = rm::Texture::FromImage(picture);
        for (int i = 0; i < 10; ++i) {
            const rm::FramePtr frame = d3drm->CreateFrame(scene);
            frame->SetPosition(nullptr, 0, 0, float(i));
            frame->AddVisual(Sheet(*d3drm, 32, texture));  // 1,024 quads: 2,048 triangles
        }
        scene->AddLight(d3drm->CreateLightRGB(rm::light_type::Ambient, 0.3f, 0.3f, 0.3f));
        const rm::FramePtr lamp = d3drm->CreateFrame(scene);
        lamp->SetPosition(nullptr, 2, 3, 0);
        lamp->AddLight(d3drm->CreateLightRGB(rm::light_type::Point, 0.8f, 0.8f, 0.7f));
    }
    for (auto _ : state) {
        viewport->Clear(rm::clear::All);
        viewport->Render(scene);
        device->Update();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Render20000Triangles(benchmark::State& state) { RenderFrames(state, true); }
void BM_RenderEmptyScene(benchmark::State& state) { RenderFrames(state, false); }
BENCHMARK(BM_Render20000Triangles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderEmptyScene)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInApplication(argc, argv); }
