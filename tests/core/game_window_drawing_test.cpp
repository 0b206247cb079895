// The game window with a real windowed device: the view size keys and the
// HUD drawn over the presented picture.

#include "core/game_keys.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/hud.h"
#include "platform/input/device.h"
#include "platform/input/key_codes.h"
#include "platform/input/scripted_input.h"
#include "platform/rm/device.h"
#include "platform/rm/direct3drm.h"
#include "platform/rm/directdraw.h"
#include "platform/rm/directx7.h"
#include "platform/rm/display.h"
#include "platform/rm/viewport.h"
#include "player/player.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <dlfcn.h>

namespace {

// Kept loaded so that the GL driver's own leaks stay attributable to it.
[[maybe_unused]] const bool kDriverKept =
    dlopen("swrast_dri.so", RTLD_LAZY | RTLD_NODELETE) != nullptr ||
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_LAZY | RTLD_NODELETE) != nullptr;

using input::key::KeypadMinus, input::key::KeypadPlus;

class WindowedGame : public testing::Test {
protected:
    void SetUp() override {
        Form1& window = GameWindow();
        window.Show();
        window.Text2.SetVisible(false);
        for (ui::Image* image : {&window.Image1, &window.Image2, &window.Image3, &window.Image4, &window.Image5})
            image->SetVisible(false);
        DX7 = std::make_shared<rm::DirectX7>();
        D3DRM = DX7->Direct3DRMCreate();
        const auto clipper = DX7->DirectDraw4Create("")->CreateClipper(0);
        clipper->SetHWnd(window.hWnd());
        LargeurDevice = static_cast<int32_t>(window.ScaleWidth() / 15);
        HauteurDevice = static_cast<int32_t>(window.ScaleHeight() / 15);
        Device3D = D3DRM->CreateDeviceFromClipper(clipper, "IID_IDirect3DHALDevice", LargeurDevice, HauteurDevice);
        FrameScene = D3DRM->CreateFrame(nullptr);
        FrameCamera = D3DRM->CreateFrame(FrameScene);
        Vues[0] = D3DRM->CreateViewport(Device3D, FrameCamera, 0, 0, LargeurDevice, HauteurDevice);
        DevClavier = std::make_shared<input::Device>(input::Device::Kind::Keyboard);
        DevClavier->SetCommonDataFormat(input::DIFORMAT_KEYBOARD);
        DevClavier->Acquire();
    }
    void TearDown() override {
        Vues = {};
        Device3D = nullptr;
        GameWindow().Unload();
    }

    void Press(int32_t code) {
        keys.PressKey(code);
        ScruteClavierJeu();
        keys.ReleaseKey(code);
        ScruteClavierJeu();
    }
    QRect View() { return {Vues[0]->GetX(), Vues[0]->GetY(), Vues[0]->GetWidth(), Vues[0]->GetHeight()}; }

    input::ScriptedInput keys;
};

TEST_F(WindowedGame, KeypadResizesTheViewCentredWithHalvesToEven) {
    ASSERT_EQ(LargeurDevice, 569);
    ASSERT_EQ(HauteurDevice, 390);
    LargeurVue = 558;
    HauteurVue = 379;
    Press(KeypadPlus);
    EXPECT_EQ(View(), QRect(0, 0, 568, 389));  // (1, 1) / 2 rounds to even
    Press(KeypadPlus);
    EXPECT_EQ(View(), QRect(0, 0, 569, 390));  // capped at the device
    Press(KeypadMinus);
    Press(KeypadPlus);
    EXPECT_EQ(View(), QRect(5, 5, 559, 380));  // - takes 20, + gives back 10
    Press(KeypadMinus);
    EXPECT_EQ(View(), QRect(15, 15, 539, 360));

    LargeurVue = 130;
    HauteurVue = 100;
    Press(KeypadMinus);
    EXPECT_EQ(View(), QRect(224, 150, 120, 90));  // the floors; 224.5 rounds to even
    Press(KeypadMinus);
    EXPECT_EQ(View(), QRect(224, 150, 120, 90));
}

TEST_F(WindowedGame, HudIsDrawnInWhiteOverThePresentedPicture) {
    Vues[0]->Clear(rm::clear::Target | rm::clear::ZBuffer);
    Device3D->Update();
    const std::string none;
    player local;
    local.force = 100;
    AfficheHUD({0, none, none}, local);
    auto* display = GameWindow().hWnd()->findChild<rm::Display*>();
    ASSERT_TRUE(display);
    QImage shown = display->grab().toImage();
    auto whiteIn = [&](QRect area) {
        int white = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) white += shown.pixelColor(x, y) == Qt::white;
        return white;
    };
    EXPECT_GT(whiteIn({10, 10, 120, 14}), 20);  // "Frame Rate : .0"
    EXPECT_GT(whiteIn({10, 40, 60, 14}), 10);   // "VIE : 100"
    EXPECT_EQ(whiteIn({0, 0, 9, 390}), 0);      // nothing left of x = 10
    EXPECT_EQ(whiteIn({10, 60, 300, 180}), 0);  // the long panel is off

    Device3D->Update();  // the next present drops the text
    shown = display->grab().toImage();
    EXPECT_EQ(whiteIn({10, 10, 120, 14}), 0);
}

TEST(FullScreenGame, KeypadPaintsTheBorderAroundASmallerViewBlack) {
    input::ScriptedInput keys;
    DevClavier = std::make_shared<input::Device>(input::Device::Kind::Keyboard);
    DevClavier->SetCommonDataFormat(input::DIFORMAT_KEYBOARD);
    DevClavier->Acquire();
    DX7 = std::make_shared<rm::DirectX7>();
    D3DRM = DX7->Direct3DRMCreate();
    const auto draw = DX7->DirectDrawCreate("");
    draw->SetCooperativeLevel(GameWindow().hWnd(), 19);
    draw->SetDisplayMode(320, 240, 32, 0, 0);
    SurfPrimaire = draw->CreateSurface(33, 25112, 1);
    SurfArriere = SurfPrimaire->GetAttachedSurface(24588);
    Device3D = D3DRM->CreateDeviceFromSurface("IID_IDirect3DHALDevice", draw, SurfArriere, 0);
    FrameCamera = D3DRM->CreateFrame(D3DRM->CreateFrame(nullptr));
    Vues[0] = D3DRM->CreateViewport(Device3D, FrameCamera, 0, 0, 320, 240);
    LargeurDevice = LargeurVue = 320;
    HauteurDevice = HauteurVue = 240;
    SurfPrimaire->BltColorFill({0, 0, 320, 240}, 0xFFFFFF);

    keys.PressKey(KeypadMinus);
    ScruteClavierJeu();
    EXPECT_EQ(SurfPrimaire->Picture().pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(SurfPrimaire->Picture().pixelColor(319, 239), QColor(Qt::black));
    EXPECT_EQ(Vues[0]->GetX(), 10);
    EXPECT_EQ(Vues[0]->GetWidth(), 300);

    Vues = {};
    Device3D = nullptr;
    SurfArriere = SurfPrimaire = nullptr;
    GameWindow().Unload();
}

}  // namespace
