#include "core/game_state.h"
#include "core/game_window.h"
#include "core/object_ref.h"
#include "core/text.h"
#include "core/video.h"
#include "models/mdl.h"
#include "platform/failure.h"
#include "platform/input/cursor.h"
#include "platform/input/device.h"
#include "platform/input/key_codes.h"
#include "platform/rm/device.h"
#include "platform/rm/texture.h"
#include "platform/rm/viewport.h"
#include "platform/ui/units.h"
#include "player/control.h"
#include "player/held_models.h"
#include "player/player.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double kPi = 3.14159265359;
constexpr double kSensitivityStep = 0.1;
constexpr double kLeastSensitivity = 1.0;
constexpr double kMostSensitivity = 2.0;
constexpr double kMostPivot = 0.4;
constexpr double kPitchPerDegree = 1.0 / 100;        // pivot per degree of vertical look
constexpr double kScopedPitchPerDegree = 1.0 / 400;  // with the scope on
constexpr float kScopedTurnDivisor = 5;
constexpr double kLookDivisor = 3;
constexpr float kNoScope = 1;  // the view's front plane without the scope
constexpr float kScopeFront = 8;
constexpr uint32_t kBlack = 0;
constexpr float kSniperSight = 0.1f;
constexpr int32_t kSniperOrigin = 256;
constexpr float kCrosshair = 0.2f;
constexpr int32_t kCrosshairOrigin = 128;
constexpr int32_t kPageUp = 201;
constexpr int32_t kMostSpeed = 8;
constexpr int32_t kTwistStep = 15;  // degrees of `colonne` per frame
constexpr int32_t kFullTwist = 30;
constexpr double kBodyTurnPerTwist = 3;  // degrees of body turn per degree of twist step
constexpr double kAxe2PitchPerPivot = 3;
constexpr float kOrbitTurn = 2;
constexpr int32_t kStandingChase = 5;
constexpr double kChaseDivisor = 75;
constexpr int32_t kLastKeyCode = 255;

const rm::Vector kUp{0, 1, 0};
const rm::Vector kAcross{1, 0, 0};

double Radians(double degrees) { return degrees * kPi / 180; }

rm::Viewport& CurrentView() { return Ref(Vues.at(size_t(VueCourante))); }

// Turns `frame` about its own vertical axis, keeping the lengths of its axes.
void TurnAboutOwnY(const rm::FramePtr& frame, double degrees) {
    const double a = Radians(degrees);
    Ref(frame).SetOrientation(frame, {float(std::sin(a)), 0, float(std::cos(a))}, kUp);
}

void RemoveVisuals(rm::Frame& frame) {
    while (frame.GetVisualCount() > 0) frame.DeleteVisual(rm::VisualPtr(frame.GetVisual(frame.GetVisualCount() - 1)));
}

void ShowSight(rm::Frame& devant, const std::shared_ptr<rm::Texture>& sight, float size, int32_t origin) {
    Ref(sight).SetDecalTransparency(true);
    sight->SetDecalTransparentColor(kBlack);
    TexViseurCourant = sight;
    sight->SetDecalSize(size, size);
    sight->SetDecalOrigin(origin, origin);
    devant.AddVisual(TexViseurCourant);
}

void CheckKeyCode(int32_t code) {
    if (code < 0 || code > kLastKeyCode)
        throw Failure(failure_number::SubscriptOutOfRange, "No key " + std::to_string(code));
}

}  // namespace

bool player::Control::Down(int32_t code) const {
    CheckKeyCode(code);
    return (keys[size_t(code)] & input::Down) != 0;
}

bool player::Control::Pressed(int32_t code) const { return Down(code) && !PrevKeys[size_t(code)]; }

void player::scrute_clavier() {
    Control c;
    c.chat = ChatTyping;
    if (!c.chat) {
        ReadDevices(c);
        AdjustSensitivity(c);
        if (mort && pret && c.left) return Respawn();
    }
    if (!c.chat && !mort) {
        c.start = Ref(joueur).GetPosition(FrameMonde);
        MouseLook(c);
        TurnAndPitch(c);
        Trigger(c);
        RecentreCursor(c);
        ChangeWeapon(c);
        SwitchView(c);
        Scope(c);
        PitchLock(c);
        MovementKeys(c);
        TurnForStrafe(c);
        MovementStep(c);
        ChaseFactor(c);
    }
    // After the move and before the camera; also while dead or chatting.
    animation();
    PlaceAimAndCamera(c);
    RememberKeys(c);
}

// The mouse must be acquired anew each frame: another program may have taken it.
void player::ReadDevices(Control& c) {
    input::Device& mouse = Ref(DevSouris);
    mouse.Acquire();
    const input::MouseState buttons = mouse.GetDeviceStateMouse();
    c.left = buttons.buttons[0] != 0;
    c.right = buttons.buttons[1] != 0;
    c.cursor = input::GetCursorPos();
    const input::KeyboardState keyboard = Ref(DevClavier).GetDeviceStateKeyboard();
    for (int32_t code = 0; code <= kLastKeyCode; ++code) c.keys[size_t(code)] = keyboard.Key(code);
}

void player::AdjustSensitivity(const Control& c) {
    if (c.Down(input::key::F12)) mousesens += kSensitivityStep;
    if (c.Down(input::key::F11)) mousesens -= kSensitivityStep;
    if (mousesens > kMostSensitivity) mousesens = kMostSensitivity;
    if (mousesens < kLeastSensitivity) mousesens = kLeastSensitivity;
}

void player::Respawn() {
    force = 100;
    mort = false;
    action = "aim";
    ani_lib = "ref_" + action + "_" + WeaponModel(IdArme).typ_arme;
    PlaceJoueur();
    Attend();
}

// The look follows the cursor's offset from the view's centre, where it is
// put back each frame. Both axes compare with the centre as the cursor is
// put there, rounded: an odd view size must not read as a half-pixel move
// in every frame. A window and view that leave no width or height to divide
// by give no look.
void player::MouseLook(Control& c) {
    if (!Souris) return;
    rm::Viewport& view = CurrentView();
    const double left = GameWindow().Left() / ui::TwipsPerPixelX();
    const double top = GameWindow().Top() / ui::TwipsPerPixelY();
    const double across = left + view.GetX() + view.GetWidth();
    const double down = top + view.GetY() + view.GetHeight();
    c.centreX = left + view.GetX() + view.GetWidth() / 2.0;
    c.centreY = top + view.GetY() + view.GetHeight() / 2.0;
    const bool usable = across != 0 && down != 0;
    if (usable && c.cursor.x != CLng(c.centreX))
        c.ax = static_cast<float>((c.cursor.x - c.centreX) * 180 / across / kLookDivisor);
    if (SourisBloque) {
        pivot = savedPitch_;
    } else if (usable && c.cursor.y != CLng(c.centreY)) {
        c.ay = static_cast<float>((c.cursor.y - c.centreY) * 180 / down * inverse / kLookDivisor);
    }
    c.ay = static_cast<float>(c.ay * mousesens);
    c.ax = static_cast<float>(c.ax * mousesens);
}

// With the right button in the third-person view the mouse steers the
// orbiting camera instead.
void player::TurnAndPitch(Control& c) {
    if (!c.right || vue) {
        if (CurrentView().GetFront() == kNoScope) {
            pivot += c.ay * kPitchPerDegree;
            TurnAboutOwnY(joueur, c.ax);
        } else {
            pivot += c.ay * kScopedPitchPerDegree;
            TurnAboutOwnY(joueur, c.ax / kScopedTurnDivisor);
        }
    }
    c.ax = std::nearbyint(c.ax);
    c.ay = std::nearbyint(c.ay);
    pivot = std::clamp(pivot, -kMostPivot, kMostPivot);
}

// Held, the trigger calls tir every frame; tir decides whether a shot leaves.
void player::Trigger(const Control& c) {
    Fire = ((c.left && Souris) || c.Down(k_Tir)) && action != "reload";
    if (Fire) tir();
}

void player::RecentreCursor(const Control& c) {
    if (Souris) input::SetCursorPos(CLng(c.centreX), CLng(c.centreY));
}

// The previous-weapon key is Page Up from the first frame with a weapon the
// rank allows. A weapon the rank no longer allows gives way to weapon 0,
// with or without a key.
void player::ChangeWeapon(const Control& c) {
    if (WeaponModel(IdArme).rang <= WeaponPower) {
        k_Arme2 = kPageUp;
        if (!c.Pressed(k_Arme) && !c.Pressed(k_Arme2)) return;
    }
    if (c.Pressed(k_Arme))
        ++IdArme;
    else if (c.Pressed(k_Arme2))
        --IdArme;
    // The last slot of the weapon models is empty.
    const auto last = static_cast<int32_t>(WeaponModels.size()) - 2;
    if (IdArme > last) IdArme = 0;
    if (IdArme < 0) IdArme = last;
    if (WeaponModel(IdArme).rang > WeaponPower) IdArme = 0;
    ani_lib = "ref_" + action + "_" + WeaponModel(IdArme).typ_arme;
    AniBuste = PlayerModel(MDLid).RenvAnimations(ani_lib);
    HoldWeapon();
}

// Each switch makes the view anew, so the scope is off after it.
void player::SwitchView(const Control& c) {
    if (!c.Pressed(k_V1)) return;
    Ref(Peau).SetTraversalOptions(rm::traversal::Draw);
    RemoveVisuals(Ref(devant));
    int32_t x = 0, y = 0;
    int32_t width = Ref(Device3D).GetWidth();
    int32_t height = Device3D->GetHeight();
    if (vue) {
        vue = false;
        rm::FramePtr camera = cam;
        CreeViewport(x, y, width, height, camera);
        CurrentView().SetFront(kNoScope);
        return;
    }
    ShowSight(*devant, TexViseur, kCrosshair, kCrosshairOrigin);
    vue = true;
    rm::FramePtr camera = chasse;
    CreeViewport(x, y, width, height, camera);
}

// On while the right button is held with a scoped weapon in the
// first-person view; the own body is hidden then, or it would fill the view.
void player::Scope(const Control& c) {
    if (!vue) return;
    rm::Viewport& view = CurrentView();
    if (c.right && WeaponModel(IdArme).snipper) {
        if (view.GetFront() != kNoScope) return;
        Ref(Peau).SetTraversalOptions(0);
        RemoveVisuals(Ref(devant));
        view.SetFront(kScopeFront);
        ShowSight(*devant, TexSniper, kSniperSight, kSniperOrigin);
        return;
    }
    Ref(Peau).SetTraversalOptions(rm::traversal::Draw);
    if (view.GetFront() == kNoScope) return;
    const auto scale = static_cast<float>(5 * EchelleJoueur);
    Ref(chasse).AddScale(rm::combine::Before, scale, scale, scale);
    RemoveVisuals(Ref(devant));
    view.SetFront(kNoScope);
    ShowSight(*devant, TexViseur, kCrosshair, kCrosshairOrigin);
}

void player::PitchLock(const Control& c) {
    if (!c.Pressed(k_V2)) return;
    SourisBloque = !SourisBloque;
    savedPitch_ = pivot;
}

// Right strafe wins over left, forward over back, and forward or back set
// the speed's step over the strafe's. The speed ramps by 1 a frame and drops
// to 0 at once when nothing drives it.
void player::MovementKeys(Control& c) {
    baisser = c.Down(k_baisser) ? "crouch_" : "";
    if (c.Down(k_right)) {
        c.side = -1;
        c.drive = 1;
    } else if (c.Down(k_left)) {
        c.side = 1;
        c.drive = 1;
    }
    if (c.Down(K_up)) {
        c.axial = 1;
        c.drive = 1;
    } else if (c.Down(k_down)) {
        c.axial = 1;
        c.drive = -1;
    }
    if (c.drive != 0) {
        vitesse += c.drive;
        if (vitesse > kMostSpeed)
            vitesse -= 1;
        else if (vitesse < -kMostSpeed)
            vitesse += 1;
        Court();
    } else {
        vitesse = 0;
        Attend();
    }
    int32_t target = c.side * kFullTwist - c.side * kTwistStep * c.axial;
    if (c.drive == -1) target = -target;
    if (colonne < target) {
        colonne += kTwistStep;
        c.twist = -kTwistStep;
    } else if (colonne > target) {
        colonne -= kTwistStep;
        c.twist = kTwistStep;
    }
}

// The body turns towards the strafe while the aim below it turns back, so
// the view keeps its direction.
void player::TurnForStrafe(const Control& c) {
    if (c.right && !vue) {
        TurnAboutOwnY(axe2, kOrbitTurn * c.ax);
        axe2->AddRotation(rm::combine::Before, kAcross, float(Radians(c.ay)));
    } else {
        Ref(axe2).AddRotation(rm::combine::Replace, kAcross, float(kAxe2PitchPerPivot * pivot));
    }
    const auto turn = float(Radians(kBodyTurnPerTwist * c.twist));
    Ref(joueur).AddRotation(rm::combine::Before, kUp, turn);
    Ref(axe).AddRotation(rm::combine::Before, kUp, -turn);
}

void player::ChaseFactor(Control& c) {
    c.chase = CLng(vitesse);
    if (c.chase == 0) c.chase = kStandingChase;
    c.camera = Ref(cam).GetPosition(FrameMonde);
}

void player::PlaceAimAndCamera(const Control& c) {
    if (!vue) return PlaceChaseCamera(c);
    const auto scale = static_cast<float>(EchelleJoueur);
    if (CurrentView().GetFront() == kNoScope) {
        PlaceArme();
        Ref(chasse).LookAt(devant, FrameMonde, 0);
        chasse->AddScale(rm::combine::Before, 5 * scale, 5 * scale, 5 * scale);
        return;
    }
    PlaceArme();
    Ref(devant).SetPosition(chasse, 0, 0, 10);
    Ref(chasse).LookAt(devant, FrameMonde, 0);
    chasse->AddScale(rm::combine::Before, scale, scale, scale);
}

// The camera trails the aim: each frame it closes a part of its distance
// that grows with the speed.
void player::PlaceChaseCamera(const Control& c) {
    if (c.right) {
        Ref(devant).SetPosition(axe2, 0, 40, 0);
        Ref(chasse).SetPosition(devant, 0, 0, -100);
    } else {
        Ref(chasse).SetPosition(axe2, 0, 50, -80);
        Ref(devant).SetPosition(axe2, 0, 30, 0);
    }
    chasse->LookAt(devant, FrameMonde, 0);
    const rm::Vector aim = chasse->GetPosition(FrameMonde);
    Ref(cam).LookAt(chasse, FrameMonde, 0);
    const double d = Length(c.camera - aim);
    rm::Vector direction, up;
    cam->GetOrientation(FrameMonde, direction, up);
    cam->SetVelocity(FrameMonde, direction.x, direction.y, direction.z, false);
    skip([&] { cam->Move(std::abs(c.chase) * d / kChaseDivisor * ratio); });
    skip([&] { cam->LookAt(devant, FrameMonde, 0); });
}

void player::RememberKeys(const Control& c) {
    for (int32_t code : {k_Arme, k_Arme2, k_V1, k_V2, input::key::F11, input::key::F12})
        PrevKeys[size_t(code)] = c.Down(code);
}
