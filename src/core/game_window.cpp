#include "core/game_window.h"

#include "core/game_state.h"
#include "launcher/splash.h"
#include "multiplayer/session_setup.h"
#include "platform/failure.h"
#include "platform/rm/device.h"
#include "platform/rm/directx7.h"
#include "platform/ui/picture.h"

namespace {
constexpr int32_t Black = 0;
constexpr int32_t White = 16777215;
constexpr int32_t Yellow = 65535;
constexpr int32_t TimedLineMilliseconds = 10000;
constexpr const char* WindowFont = "Arial Black";
constexpr int32_t HudPoints = 10;
}  // namespace

Form1::Form1() : ui::Form("Form1") {
    Text1.KeyPress = [this](int& keyAscii) { Text1_KeyPress(keyAscii); };
    // Only the open box sends: closing it moves the focus away too.
    Text1.LostFocus = [this] {
        if (ChatTyping) Text1_LostFocus();
    };
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer2.Tick = [this] { Timer2_Timer(); };
}

void Form1::Design() {
    SetBorderStyle(ui::vbBSNone);
    SetWidth(8535);
    SetHeight(5850);
    SetBackColor(Black);
    SetFontName(WindowFont);

    // The loading screen's two banners, centred across the window.
    Image1.Move(427, 0);
    Image1.SetPicture(ui::LoadPicture(":/pictures/game/image1.bmp"));
    Image2.Move(427, 3840);
    Image2.SetPicture(ui::LoadPicture(":/pictures/game/image2.bmp"));
    for (ui::Image* image : {&Image3, &Image4, &Image5}) image->SetStretch(true);
    Image3.Move(150, 2730, 2790, 2820);
    Image4.Move(3720, 3360, 2385, 2235);
    Image5.Move(5790, 3120, 2520, 2505);

    Text2.Move(150, 5490, 4125, 270);
    Text2.SetForeColor(Yellow);
    Text2.SetBackColor(Black);
    Text2.SetFontName(WindowFont);

    Text1.Move(30, 5490, 8475, 315);
    Text1.SetForeColor(White);
    Text1.SetBackColor(Black);
    Text1.SetFontName("System");
    Text1.SetVisible(false);

    for (ui::Timer* timer : {&Timer1, &Timer2}) {
        timer->SetInterval(TimedLineMilliseconds);
        timer->SetEnabled(false);
    }
}

void Form1::Form_Load() {
    // The splash window holds these three pictures from its design.
    SplashWindow().RenvoieImage(Image3, 0);
    SplashWindow().RenvoieImage(Image4, 1);
    SplashWindow().RenvoieImage(Image5, 2);
    SplashWindow().Unload();
    ZOrder(0);
}

void Form1::Form_Resize() { Text1.Move(50, ScaleHeight() - 3 * Text1.Height() - 50, ScaleWidth() - 100); }

// The DirectPlay objects may already be gone, so nothing here may stop the
// unload.
void Form1::Form_Unload(int& /*cancel*/) {
    LeaveSession();
    skip([&] { DX7 = nullptr; });
}

void Form1::AfficheTexte(const std::string& text, int32_t x, int32_t y) {
    if (!Device3D) throw Failure(failure_number::ObjectNotSet, "No device to draw the text on");
    Device3D->SetTextColor(White);
    Device3D->SetTextFont(WindowFont, HudPoints);
    Device3D->TextOut(x, y, text);
}

Form1& GameWindow() {
    static Form1* const window = new Form1;
    return *window;
}
