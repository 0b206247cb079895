#include "core/game_keys.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "core/object_ref.h"
#include "core/text.h"
#include "platform/failure.h"
#include "platform/input/device.h"
#include "platform/input/key_codes.h"
#include "platform/rm/device.h"
#include "platform/rm/directdraw.h"
#include "platform/rm/viewport.h"

namespace {
constexpr int32_t GrowStep = 10;
constexpr int32_t ShrinkStep = 20;
constexpr int32_t SmallestWidth = 120;
constexpr int32_t SmallestHeight = 90;

// A press: down now and up at this key's previous test, which this records.
bool Pressed(const input::KeyboardState& keys, int32_t code) {
    const bool down = (keys.Key(code) & input::Down) != 0;
    const bool pressed = down && !PrevKeys[code];
    PrevKeys[code] = down;
    return pressed;
}

void OpenChatBox() {
    Form1& window = GameWindow();
    window.Text1.Move(50, window.ScaleHeight() - 2 * window.Text1.Height(), window.ScaleWidth() - 100);
    ChatTyping = true;
    window.Text1.SetText("");
    window.Text1.SetVisible(true);
    // The box needs the typed characters; a window that cannot take the
    // focus just leaves the box without them.
    skip([&] { window.Text1.SetFocus(); });
}

void CloseChatBox() {
    // ChatTyping first: the box's focus loss on hiding must not send its line.
    ChatTyping = false;
    GameWindow().Text1.SetVisible(false);
}

// The view of LargeurVue x HauteurVue pixels, centred on the device, with a
// black border around it in full screen.
void ApplyViewSize() {
    if (SurfArriere) Ref(SurfPrimaire).BltColorFill({0, 0, LargeurDevice, HauteurDevice}, 0);
    rm::Viewport& view = Ref(Vues.at(VueCourante));
    view.Clear(rm::clear::All);
    Ref(Device3D).Update();
    view.Configure(CLng((LargeurDevice - LargeurVue) / 2.0), CLng((HauteurDevice - HauteurVue) / 2.0), LargeurVue,
                   HauteurVue);
}
}  // namespace

void ScruteClavierJeu() {
    const input::KeyboardState keys = Ref(DevClavier).GetDeviceStateKeyboard();

    if (keys.Key(input::key::Escape) & input::Down) {
        if (!ChatTyping) {
            QuitteJeu = true;
            return;
        }
        CloseChatBox();
    }
    // The other keys' previous states stay as they were, so a key held
    // while the box was open acts once it closes.
    if (ChatTyping) return;

    if (Pressed(keys, input::key::F1)) AfficheInfos = !AfficheInfos;
    if (Pressed(keys, input::key::F5)) OpenChatBox();
    if (Pressed(keys, input::key::KeypadPlus)) {
        LargeurVue = std::min(LargeurVue + GrowStep, LargeurDevice);
        HauteurVue = std::min(HauteurVue + GrowStep, HauteurDevice);
        ApplyViewSize();
    }
    if (Pressed(keys, input::key::KeypadMinus)) {
        LargeurVue = std::max(LargeurVue - ShrinkStep, SmallestWidth);
        HauteurVue = std::max(HauteurVue - ShrinkStep, SmallestHeight);
        ApplyViewSize();
    }
}
