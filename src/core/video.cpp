#include "core/video.h"

#include "core/game_state.h"
#include "core/object_ref.h"
#include "core/text.h"
#include "platform/failure.h"
#include "platform/rm/rm.h"
#include "platform/ui/form.h"
#include "player/player.h"

namespace {

// DirectX constants of the surfaces and the device.
constexpr int32_t kFullScreenExclusive = 19;  // full screen + allow reboot + exclusive
constexpr int32_t kSurfaceCapsAndBackBuffers = 33;
constexpr int32_t kPrimaryFlippingCaps = 25112;
constexpr int32_t kBackBufferCaps = 24588;
constexpr int32_t kRenderModeBlended = 11;
constexpr int32_t kRenderModeSorted = 2;
constexpr int32_t kSortFrontToBack = 2;

}  // namespace

void InitPleinEcran(ui::Form& window) {
    DDraw7 = {};
    DDraw7 = Ref(DX7).DirectDrawCreate(DDrawGuid);
    Ref(DDraw7).SetCooperativeLevel(window.hWnd(), kFullScreenExclusive);
    Ref(DDraw7).SetDisplayMode(ScreenWidth, ScreenHeight, BitDepth, 0, 0);
    window.SetWindowState(ui::vbMaximized);
    SurfPrimaire = Ref(DDraw7).CreateSurface(kSurfaceCapsAndBackBuffers, kPrimaryFlippingCaps, 1);
    SurfArriere = Ref(SurfPrimaire).GetAttachedSurface(kBackBufferCaps);
    ClipperEcran = Ref(DDraw7).CreateClipper(0);
    Ref(ClipperEcran).SetHWnd(window.hWnd());
    Ref(SurfArriere).SetClipper(ClipperEcran);
    Device3D = Ref(D3DRM).CreateDeviceFromSurface(D3DDeviceGuid, DDraw7, SurfArriere, 0);
    Ref(Device3D).SetBufferCount(2);
}

void InitFenetre(ui::Form& window, WindowHandle deviceArea) {
    window.SetScaleMode(ui::vbPixels);
    DDrawFenetre = Ref(DX7).DirectDraw4Create(DDrawGuid);
    const rm::DisplayMode current = Ref(DDrawFenetre).GetDisplayMode();
    Ref(DDrawFenetre).SetDisplayMode(ScreenWidth, ScreenHeight, current.bits, 0, 0);
    window.SetWindowState(FullScreen ? ui::vbMaximized : ui::vbNormal);
    ClipperEcran = Ref(DDrawFenetre).CreateClipper(0);
    Ref(ClipperEcran).SetHWnd(deviceArea);
    Device3D = Ref(D3DRM).CreateDeviceFromClipper(ClipperEcran, D3DDeviceGuid, CLng(window.ScaleWidth()),
                                                  CLng(window.ScaleHeight()));
    Ref(Device3D).SetRenderMode(kRenderModeBlended);
}

void FinitDevice() {
    LargeurDevice = Ref(Device3D).GetWidth();
    HauteurDevice = Ref(Device3D).GetHeight();
    HauteurVue = HauteurDevice;
    LargeurVue = LargeurDevice;
    Ref(Device3D).SetQuality(RenderQuality);
    Ref(Device3D).SetTextureQuality(TextureQuality);
    Ref(Device3D).SetRenderMode(kRenderModeSorted);
    Ref(FrameMonde).SetSortMode(kSortFrontToBack);
}

void CreeViewport(int32_t& x, int32_t& y, int32_t& width, int32_t& height, std::shared_ptr<rm::Frame>& camera) {
    skip([&] { x = 0; });
    skip([&] { y = 0; });
    skip([&] {
        if (!camera) camera = FrameCamera;
    });
    skip([&] { Vues.at(VueCourante) = {}; });
    skip([&] { width = Ref(Device3D).GetWidth(); });
    skip([&] { height = Ref(Device3D).GetHeight(); });
    skip([&] { Vues.at(VueCourante) = Ref(D3DRM).CreateViewport(Device3D, camera, x, y, width, height); });
    skip([&] { Ref(Vues.at(VueCourante)).SetFront(1); });
    skip([&] { Ref(Vues.at(VueCourante)).SetBack(10000); });
    skip([&] { Ref(Vues.at(VueCourante)).SetField(0.6f); });
}

void LibereDirectX() {
    skip([] { JoueurLocal().Destroy(); });
    skip([] { Joueurs.Clear(size_t(IndiceLocal)); });
    skip([] { FrameCamera = {}; });
    skip([] { FrameMonde = {}; });
    skip([] { FrameScene = {}; });
    skip([] { SurfPrimaire = {}; });
    skip([] { SurfArriere = {}; });
    skip([] { ClipperEcran = {}; });
    skip([] { Device3D = {}; });
    skip([] { DDrawFenetre = {}; });
}
