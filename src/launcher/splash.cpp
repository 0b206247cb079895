#include "launcher/splash.h"

#include "core/paths.h"
#include "launcher/installation.h"
#include "launcher/launcher_window.h"
#include "platform/failure.h"
#include "platform/os/executable.h"
#include "platform/os/files.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/picture.h"

namespace {
constexpr int kTimerMilliseconds = 10;
// The window's margin around the splash picture, right and below.
constexpr float kMarginTwips = 120;
}  // namespace

Form4::Form4() : ui::Form("Form4") {
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void Form4::Design() {
    SetBorderStyle(ui::vbBSNone);
    img(0).SetPicture(ui::LoadPicture(":/pictures/splash/img0.bmp"));
    img(1).SetPicture(ui::LoadPicture(":/pictures/splash/img1.bmp"));
    img(1).SetVisible(false);
    img(2).SetPicture(ui::LoadPicture(":/pictures/splash/img2.bmp"));
    img(2).SetVisible(false);
    Timer1.SetInterval(kTimerMilliseconds);
    Timer1.SetEnabled(false);
}

void Form4::Form_Load() {
    skip([&] { img(0).Move(0, 0); });
    skip([&] { Move(Left(), Top(), img(0).Width() + kMarginTwips, img(0).Height() + kMarginTwips); });
    // Maps are unpacked into it and read from it; it may exist already.
    skip([] { os::MkDir(JoinPath(os::ExecutableFolder(), "map")); });
}

void Form4::Splash() {
    ZOrder(0);
    ui::SetMousePointer(ui::vbHourglass);
    InstalleComposants();
    LitSeparateurDecimal();
    ui::DoEvents();
    Timer1.SetEnabled(true);
    Show(ui::vbModal);
}

// The launcher's load takes its pictures from the splash, which unloads it;
// the modal display ends once this tick returns.
void Form4::Timer1_Timer() {
    Timer1.SetEnabled(false);
    LauncherWindow().Show();
}

void Form4::RenvoieImage(ui::Image& ImgDest, int32_t id) {
    Hide();
    ImgDest.SetPicture(img(id).Picture());
    Unload();
}

Form4& SplashWindow() {
    static Form4* const window = new Form4;
    return *window;
}
