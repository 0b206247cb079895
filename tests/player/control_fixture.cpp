#include "control_fixture.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "models/mdl.h"
#include "platform/input/device.h"
#include "platform/input/key_codes.h"
#include "platform/rm/rm.h"
#include "platform/ui/units.h"
#include "player/held_models.h"

#include <QApplication>

namespace {

// A one-sided rectangle through the four corners, in world coordinates.
void Rectangle(const rm::FramePtr& parent, std::initializer_list<rm::Vector> corners) {
    const auto mesh = D3DRM->CreateMeshBuilder();
    const auto face = mesh->CreateFace();
    for (const rm::Vector& c : corners) face->AddVertex(c.x, c.y, c.z);
    const rm::FramePtr frame = D3DRM->CreateFrame(parent);
    frame->AddVisual(mesh);
}

void Floor(float y, float x0, float x1, float z0, float z1) {
    Rectangle(FrameSols, {{x0, y, z0}, {x0, y, z1}, {x1, y, z1}, {x1, y, z0}});
}

}  // namespace

void MakeTestLevel() {
    SeuilSol = 5;
    Floor(0, -20, 20, -20, 20);
    Floor(-3, 20, 40, -20, 20);
    Floor(-6, -40, -20, -20, 20);
    Floor(2.5f, -20, 20, -40, -20);
    Rectangle(FrameMurs, {{-20, -10, 20}, {-20, 30, 20}, {20, 30, 20}, {20, -10, 20}});
    Rectangle(FrameMurs, {{40, -10, -20}, {40, 30, -20}, {40, 30, 20}, {40, -10, 20}});
    FrameEchelles = D3DRM->CreateFrame(FrameMurs);
    Rectangle(FrameEchelles, {{5, -5, 10}, {5, 30, 10}, {9, 30, 10}, {9, -5, 10}});
}

void ControlFixture::SetUp() {
    PlayerFixture::SetUp();
    NomMap = "test";
    MakeTestLevel();
    DevClavier = std::make_shared<input::Device>(input::Device::Kind::Keyboard);
    DevClavier->SetCommonDataFormat(input::DIFORMAT_KEYBOARD);
    DevClavier->Acquire();
    DevSouris = std::make_shared<input::Device>(input::Device::Kind::Mouse);
    DevSouris->SetCommonDataFormat(input::DIFORMAT_MOUSE);
    Form1& window = GameWindow();
    window.Show();
    window.Move(30 * ui::TwipsPerPixel, 20 * ui::TwipsPerPixel, 500 * ui::TwipsPerPixel, 400 * ui::TwipsPerPixel);
    DX7 = std::make_shared<rm::DirectX7>();
    MakeView(320, 240);
    WeaponPower = 4;
    player& local = Configure(0, true);
    local.K_up = input::key::UpArrow;
    local.k_down = input::key::DownArrow;
    local.k_right = input::key::RightArrow;
    local.k_left = input::key::LeftArrow;
    local.k_Tir = input::key::P;
    local.k_V1 = input::key::Delete;
    local.k_V2 = input::key::End;
    local.k_Arme = input::key::PageDown;
    local.k_Arme2 = input::key::Backspace;
    local.k_baisser = input::key::RightControl;
    local.Souris = true;
    local.mousesens = 1;
    local.inverse = 1;
    local.Initplayer();
    local.NbBastos = WeaponModel(local.IdArme).NbBastos;  // loaded: no reload in the first frames
    p = &local;
    Place(0, 2.5f, 0);
    input.MoveCursor(Centre());
}

void ControlFixture::TearDown() {
    Vues = {};
    Device3D = nullptr;
    GameWindow().Unload();
}

void ControlFixture::MakeView(int32_t width, int32_t height) {
    Vues = {};
    const auto clipper = DX7->DirectDraw4Create("")->CreateClipper(0);
    clipper->SetHWnd(GameWindow().hWnd());
    Device3D = D3DRM->CreateDeviceFromClipper(clipper, "IID_IDirect3DHALDevice", width, height);
    Vues[0] = D3DRM->CreateViewport(Device3D, p ? p->cam : FrameCamera, 0, 0, width, height);
    VueCourante = 0;
}

void ControlFixture::Frame(std::initializer_list<int32_t> down, double ratio) {
    for (int32_t code : held) input.ReleaseKey(code);
    held.assign(down);
    for (int32_t code : held) input.PressKey(code);
    p->ratio = ratio;
    p->scrute_clavier();
}

void ControlFixture::Place(float x, float y, float z, float dx, float dz) {
    p->joueur->SetPosition(FrameMonde, x, y, z);
    p->joueur->SetOrientation(FrameMonde, {dx, 0, dz}, {0, 1, 0});
    const auto scale = static_cast<float>(EchelleJoueur);
    p->joueur->AddScale(rm::combine::Before, scale, scale, scale);
}

rm::Vector ControlFixture::At() const { return p->joueur->GetPosition(FrameMonde); }

input::Point ControlFixture::Centre() const {
    Form1& window = GameWindow();
    const double left = window.Left() / ui::TwipsPerPixelX() + Vues[0]->GetX() + Vues[0]->GetWidth() / 2.0;
    const double top = window.Top() / ui::TwipsPerPixelY() + Vues[0]->GetY() + Vues[0]->GetHeight() / 2.0;
    return {static_cast<int32_t>(std::nearbyint(left)), static_cast<int32_t>(std::nearbyint(top))};
}

void ControlFixture::Walk(int frames, bool back) {
    for (int i = 0; i < frames; ++i) {
        p->vitesse = back ? -7 : 7;
        Frame({back ? input::key::DownArrow : input::key::UpArrow});
    }
}
