#include "core/video.h"
#include "core/game_state.h"
#include "player/player.h"

#include "platform/rm/rm.h"
#include "platform/ui/device_host.h"
#include "platform/ui/form.h"
#include "scene_frames.h"

#include <gtest/gtest.h>

namespace {

class TestWindow : public ui::Form {
public:
    TestWindow() : ui::Form("TestWindow") {}
    ui::DeviceHost area{*this, "area"};

protected:
    void Design() override { Move(0, 0, 320 * 15, 240 * 15); }
};

class Video : public testing::Test {
protected:
    void SetUp() override {
        MakeSceneFrames();
        ScreenWidth = 640;
        ScreenHeight = 480;
        BitDepth = 32;
        RenderQuality = 0x241;
        TextureQuality = 1;
        window_.Show();
    }
    // The device goes before its window does.
    void TearDown() override {
        ResetGameState();
        window_.Unload();
    }
    TestWindow window_;
};

TEST_F(Video, TheWindowedDeviceTakesTheWindowsInnerSize) {
    InitFenetre(window_, window_.area.hWnd());
    EXPECT_EQ(window_.ScaleMode(), ui::vbPixels);
    EXPECT_EQ(Device3D->GetRenderMode(), 11);
    FinitDevice();
    EXPECT_EQ(LargeurDevice, static_cast<int32_t>(window_.ScaleWidth()));
    EXPECT_EQ(HauteurDevice, static_cast<int32_t>(window_.ScaleHeight()));
    EXPECT_EQ(LargeurVue, LargeurDevice);
    EXPECT_EQ(HauteurVue, HauteurDevice);
    EXPECT_EQ(Device3D->GetQuality(), 0x241);
    EXPECT_EQ(Device3D->GetTextureQuality(), 1);
    EXPECT_EQ(Device3D->GetRenderMode(), 2);
    EXPECT_EQ(FrameMonde->GetSortMode(), 2);
    EXPECT_FALSE(SurfArriere);
}

TEST_F(Video, TheFullScreenDeviceKeepsTheChosenModeAndDrawsIntoTheBackBuffer) {
    InitPleinEcran(window_);
    FinitDevice();
    EXPECT_EQ(LargeurDevice, 640);
    EXPECT_EQ(HauteurDevice, 480);
    ASSERT_TRUE(SurfPrimaire && SurfArriere);
    EXPECT_TRUE(SurfPrimaire->IsPrimary());
    EXPECT_EQ(Device3D->GetBufferCount(), 2);
}

TEST_F(Video, AViewportAlwaysCoversTheWholeDevice) {
    InitFenetre(window_, window_.area.hWnd());
    FinitDevice();
    LargeurVue = 100;  // a view shrunk by the keypad keeps its size
    VueCourante = 2;
    int32_t x = 7, y = 9, width = 11, height = 13;
    std::shared_ptr<rm::Frame> camera;
    CreeViewport(x, y, width, height, camera);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(width, Device3D->GetWidth());
    EXPECT_EQ(height, Device3D->GetHeight());
    EXPECT_EQ(camera, FrameCamera);
    ASSERT_TRUE(Vues[2]);
    EXPECT_EQ(Vues[2]->GetCamera(), FrameCamera);
    EXPECT_EQ(Vues[2]->GetWidth(), width);
    EXPECT_EQ(Vues[2]->GetFront(), 1);
    EXPECT_EQ(Vues[2]->GetBack(), 10000);
    EXPECT_FLOAT_EQ(Vues[2]->GetField(), 0.6f);
    EXPECT_EQ(LargeurVue, 100);

    auto other = D3DRM->CreateFrame(FrameMonde);
    camera = other;
    CreeViewport(x, y, width, height, camera);
    EXPECT_EQ(Vues[2]->GetCamera(), other);
}

TEST_F(Video, WithoutADeviceTheViewportSlotStaysEmptyAndReleaseStillCompletes) {
    int32_t x = 1, y = 1, width = 1, height = 1;
    std::shared_ptr<rm::Frame> camera;
    Vues[0] = nullptr;
    CreeViewport(x, y, width, height, camera);
    EXPECT_FALSE(Vues[0]);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(camera, FrameCamera);

    InitFenetre(window_, window_.area.hWnd());
    IndiceLocal = 3;  // a local slot that holds no player
    LibereDirectX();
    EXPECT_FALSE(Joueurs.Peek(3));
    EXPECT_FALSE(FrameCamera || FrameMonde || FrameScene || Device3D || ClipperEcran || DDrawFenetre);
    EXPECT_TRUE(D3DRM);
}

}  // namespace
