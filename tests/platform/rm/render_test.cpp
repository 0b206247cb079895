// Drawing through real OpenGL contexts; the pictures are read back.

#include "platform/rm/device.h"
#include "platform/rm/direct3drm.h"
#include "platform/rm/directdraw.h"
#include "platform/rm/directx7.h"
#include "platform/rm/viewport.h"

#include "platform/failure.h"
#include "scene_fixture.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <dlfcn.h>

using namespace rm;

namespace {

constexpr int kSize = 64;

// The GL library unloads its driver when the display closes, before the leak
// check runs; kept loaded, the driver's own leaks stay attributable to it (and
// suppressed as such).
[[maybe_unused]] const bool kDriverKept =
    dlopen("swrast_dri.so", RTLD_LAZY | RTLD_NODELETE) != nullptr ||
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_LAZY | RTLD_NODELETE) != nullptr;

class Rendering : public testing::Test {
protected:
    DirectX7 dx7;
    std::shared_ptr<Direct3DRM> d3drm = dx7.Direct3DRMCreate();
    FramePtr scene = d3drm->CreateFrame(nullptr);
    FramePtr camera = d3drm->CreateFrame(scene);
    QWidget window;
    std::shared_ptr<Device> device;
    std::shared_ptr<Viewport> viewport;

    void SetUp() override {
        window.resize(kSize, kSize);
        window.show();
        const auto clipper = dx7.DirectDraw4Create("")->CreateClipper(0);
        clipper->SetHWnd(&window);
        device = d3drm->CreateDeviceFromClipper(clipper, "IID_IDirect3DHALDevice", kSize, kSize);
        viewport = d3drm->CreateViewport(device, camera, 0, 0, kSize, kSize);
    }
    void Draw() {
        viewport->Clear(clear::Target | clear::ZBuffer);
        viewport->Render(scene);
    }
    QColor At(int x, int y) { return device->Picture().pixelColor(x, y); }
    // A quad facing the camera at distance 5, `half` wide each way.
    MeshBuilderPtr AddQuad(const FramePtr& frame, float half) {
        auto builder = d3drm->CreateMeshBuilder();
        const auto face = builder->CreateFace();
        face->AddVertex(-half, -half, 5);
        face->AddVertex(-half, half, 5);
        face->AddVertex(half, half, 5);
        face->AddVertex(half, -half, 5);
        const float uv[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
        for (int i = 0; i < 4; ++i) builder->SetTextureCoordinates(i, uv[i][0], uv[i][1]);
        frame->AddVisual(builder);
        return builder;
    }
    static bool Near(const QColor& c, int r, int g, int b) {
        return std::abs(c.red() - r) < 8 && std::abs(c.green() - g) < 8 && std::abs(c.blue() - b) < 8;
    }
};

TEST_F(Rendering, LitTexturedColourKeyedQuad) {
    const auto quad = AddQuad(scene, 2);
    quad->GenerateNormals(1, 1);
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    const auto texture = Texture::FromImage(picture);
    texture->SetDecalTransparentColor(dx7.CreateColorRGB(0, 0, 1));
    texture->SetDecalTransparency(true);
    quad->SetTexture(texture);
    device->SetTextureQuality(0);

    Draw();  // no light at all: the quad is black
    EXPECT_TRUE(Near(At(20, 32), 0, 0, 0)) << At(20, 32).name().toStdString();

    const FramePtr sun = d3drm->CreateFrame(scene);  // shines along its z axis, onto the quad
    sun->AddLight(d3drm->CreateLightRGB(light_type::Directional, 1, 1, 1));
    Draw();
    EXPECT_TRUE(Near(At(20, 32), 255, 0, 0)) << At(20, 32).name().toStdString();
    EXPECT_TRUE(Near(At(44, 32), 0, 0, 0)) << "keyed texels are not drawn";
    EXPECT_TRUE(Near(At(2, 2), 0, 0, 0)) << "outside the quad";

    sun->SetTraversalOptions(traversal::Pick);  // a frame not drawn lights nothing
    Draw();
    EXPECT_TRUE(Near(At(20, 32), 0, 0, 0));
}

TEST_F(Rendering, PointAndSpotLightsShineFromTheirFrames) {
    AddQuad(scene, 2)->GenerateNormals(1, 1);
    const FramePtr lamp = d3drm->CreateFrame(scene);
    lamp->AddLight(d3drm->CreateLightRGB(light_type::Point, 0, 1, 0));
    Draw();  // lit at the corners (Gouraud), each seen at an angle
    EXPECT_GT(At(32, 32).green(), 200);
    EXPECT_EQ(At(32, 32).red(), 0);

    scene->DeleteChild(lamp);
    const FramePtr spot = d3drm->CreateFrame(scene);
    spot->SetPosition(nullptr, 0, 0, -20);
    spot->AddLight(d3drm->CreateLightRGB(light_type::Spot, 1, 0, 0));
    Draw();
    EXPECT_TRUE(Near(At(32, 32), 255, 0, 0)) << "inside the cone";
    spot->SetOrientation(scene, {0, 0, -1}, {0, 1, 0});
    Draw();
    EXPECT_TRUE(Near(At(32, 32), 0, 0, 0)) << "turned away";
}

TEST_F(Rendering, DecalFacesTheCameraFromItsOrigin) {
    const FramePtr spot = d3drm->CreateFrame(scene);
    spot->SetPosition(nullptr, 0, 0, 5);
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const auto decal = Texture::FromImage(picture);
    decal->SetDecalSize(2, 2);
    decal->SetDecalOrigin(0, 0);  // the top-left texel sits on the frame
    spot->AddVisual(decal);
    camera->AddRotation(combine::Replace, {0, 0, 1}, 0.0f);
    Draw();
    EXPECT_TRUE(Near(At(40, 40), 255, 255, 255)) << "right of and below the origin";
    EXPECT_TRUE(Near(At(24, 24), 0, 0, 0)) << "left of and above it";
}

TEST_F(Rendering, ConfiguredViewportLeavesTheRestUntouched) {
    AddQuad(scene, 10);
    scene->AddLight(d3drm->CreateLightRGB(light_type::Ambient, 1, 1, 1));
    Draw();
    ASSERT_TRUE(Near(At(1, 1), 255, 255, 255));
    viewport->Configure(16, 16, 32, 32);
    EXPECT_EQ(viewport->GetX(), 16);
    EXPECT_EQ(viewport->GetWidth(), 32);
    viewport->Clear(clear::Target | clear::ZBuffer | clear::DirtyRects);
    EXPECT_TRUE(Near(At(30, 30), 0, 0, 0));
    EXPECT_TRUE(Near(At(1, 1), 255, 255, 255));
    EXPECT_TRUE(Near(At(50, 50), 255, 255, 255));
    EXPECT_THROW(viewport->Configure(40, 0, 32, 32), Failure);

    // Raising the front plane narrows the view: the edge of a small quad
    // moves out of the picture.
    viewport->Configure(0, 0, kSize, kSize);
    scene->DeleteVisual(scene->GetVisual(0));
    AddQuad(scene, 1);
    Draw();
    EXPECT_TRUE(Near(At(4, 32), 0, 0, 0));
    viewport->SetFront(4);
    Draw();
    EXPECT_TRUE(Near(At(4, 32), 255, 255, 255));
}

TEST_F(Rendering, AQuadAHundredThousandFramesDownIsDrawn) {
    const auto [top, bottom] = rm_test::Chain(*d3drm, 100000, 0);
    AddQuad(bottom, 1);
    scene->AddChild(top);
    scene->AddLight(d3drm->CreateLightRGB(light_type::Ambient, 1, 1, 1));
    Draw();
    EXPECT_TRUE(Near(At(32, 32), 255, 255, 255));
}

TEST_F(Rendering, WireframeQualityDrawsOnlyEdges) {
    AddQuad(scene, 1.5f);
    scene->AddLight(d3drm->CreateLightRGB(light_type::Ambient, 1, 1, 1));
    device->SetQuality(64);
    Draw();
    EXPECT_TRUE(Near(At(32, 32), 0, 0, 0));
}

TEST_F(Rendering, UpdateShowsThePictureAndTextLiesOverIt) {
    AddQuad(scene, 10);
    scene->AddLight(d3drm->CreateLightRGB(light_type::Ambient, 0, 0, 1));
    Draw();
    device->Update();
    device->SetTextColor(dx7.CreateColorRGB(1, 1, 1));
    device->SetTextFont("Arial Black", 10);
    device->TextOut(2, 2, "HUD");
    auto* display = window.findChild<Display*>();
    ASSERT_TRUE(display);
    EXPECT_EQ(display->geometry(), window.rect());
    const QImage shown = display->grab().toImage();
    EXPECT_TRUE(Near(shown.pixelColor(60, 60), 0, 0, 255));
    int white = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) white += Near(shown.pixelColor(x, y), 255, 255, 255);
    EXPECT_GT(white, 5);
}

TEST(FullScreen, BlitLeavesTheStripBelowTheRectangle) {
    DirectX7 dx7;
    const auto d3drm = dx7.Direct3DRMCreate();
    const FramePtr scene = d3drm->CreateFrame(nullptr), camera = d3drm->CreateFrame(scene);
    const auto draw = dx7.DirectDrawCreate("");
    draw->SetCooperativeLevel(nullptr, 19);
    draw->SetDisplayMode(kSize, 48, 32, 0, 0);
    const auto primary = draw->CreateSurface(33, 25112, 1);
    const auto back = primary->GetAttachedSurface(24588);
    back->SetClipper(draw->CreateClipper(0));
    const auto device = d3drm->CreateDeviceFromSurface("IID_IDirect3DHALDevice", draw, back, 0);
    device->SetBufferCount(2);
    EXPECT_EQ(device->GetWidth(), kSize);
    EXPECT_EQ(device->GetHeight(), 48);
    const auto viewport = d3drm->CreateViewport(device, camera, 0, 0, kSize, 48);
    const auto face = d3drm->CreateMeshBuilder();
    const auto f = face->CreateFace();
    f->AddVertex(-50, -50, 5);
    f->AddVertex(-50, 50, 5);
    f->AddVertex(50, 50, 5);
    f->AddVertex(50, -50, 5);
    scene->AddVisual(face);
    const auto light = d3drm->CreateLightRGB(light_type::Ambient, 1, 1, 1);
    scene->AddLight(light);

    viewport->Clear(7);
    viewport->Render(scene);
    primary->Blt({0, 0, kSize, 48}, back, {0, 0, kSize, 48}, 16777216);
    EXPECT_EQ(primary->Picture().pixelColor(5, 45), QColor(Qt::white));

    light->SetColorRGB(1, 0, 0);
    viewport->Clear(7);
    viewport->Render(scene);
    primary->Blt({0, 0, kSize, 38}, back, {0, 0, kSize, 38}, 16777216);  // a chat box below row 38
    EXPECT_EQ(primary->Picture().pixelColor(5, 30), QColor(Qt::red));
    EXPECT_EQ(primary->Picture().pixelColor(5, 45), QColor(Qt::white));

    device->TextOut(1, 1, "over the picture");  // goes to the primary surface's window

    primary->BltColorFill({0, 0, kSize, 48}, 0);
    EXPECT_EQ(primary->Picture().pixelColor(5, 45), QColor(Qt::black));
    EXPECT_THROW(back->Blt({0, 0, 1, 1}, primary, {0, 0, 1, 1}), Failure);
    EXPECT_THROW(back->GetAttachedSurface(0), Failure);
    EXPECT_TRUE(primary->GetDisplay()->isWindow());
}

TEST(FullScreen, ShownInTheCooperativeWindowBeneathItsChildren) {
    DirectX7 dx7;
    QWidget window;
    auto* chat = new QWidget(&window);
    const auto draw = dx7.DirectDrawCreate("");
    draw->SetCooperativeLevel(&window, 19);
    draw->SetDisplayMode(kSize, 48, 32, 0, 0);
    const auto primary = draw->CreateSurface(33, 25112, 1);
    EXPECT_TRUE(window.isFullScreen());
    EXPECT_EQ(primary->GetDisplay()->parentWidget(), &window);
    EXPECT_EQ(window.children().last(), chat);  // the chat box lies above the picture
}

TEST(Enumerations, CountFromOne) {
    DirectX7 dx7;
    const DirectDrawEnum drivers = dx7.GetDDEnum();
    ASSERT_EQ(drivers.GetCount(), 1);
    EXPECT_EQ(drivers.GetGuid(1), "");
    EXPECT_THROW(drivers.GetDescription(0), Failure);
    const auto draw = dx7.DirectDraw4Create(drivers.GetGuid(1));
    const DisplayMode desktop = draw->GetDisplayMode();
    const DisplayModesEnum modes = draw->GetDisplayModesEnum(0);
    ASSERT_GE(modes.GetCount(), 2);
    const DisplayMode last = modes.GetModeDesc(modes.GetCount());
    EXPECT_EQ(last.width, desktop.width);
    EXPECT_EQ(last.height, desktop.height);
    EXPECT_THROW(modes.GetModeDesc(modes.GetCount() + 1), Failure);
    const Direct3DEnumDevices devices = draw->GetDirect3D().GetDevicesEnum();
    EXPECT_EQ(devices.GetGuid(1), "IID_IDirect3DHALDevice");
}

}  // namespace
