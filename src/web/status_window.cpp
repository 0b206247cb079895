#include "web/status_window.h"

#include "core/game_state.h"
#include "launcher/window_look.h"
#include "platform/failure.h"
#include "platform/ui/colour.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/picture.h"
#include "web/busy.h"

namespace {

// The pictures at the left and top right, the status text below the second.
constexpr float kMargin = 120;
constexpr float kImage1Width = 127 * 15;
constexpr float kImage1Height = 128 * 15;
constexpr float kTextLeft = kMargin + kImage1Width + kMargin;
constexpr float kTextWidth = 203 * 15;
constexpr float kImage2Height = 45 * 15;
constexpr float kInnerWidth = kTextLeft + kTextWidth + kMargin;
constexpr float kInnerHeight = kMargin + kImage1Height + kMargin;

}  // namespace

Form3::Form3() : ui::Form("Form3") {
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void Form3::Design() {
    SetBorderStyle(ui::vbFixedDialog);
    SetCaption(ProductTitle);
    SetBackColor(ui::vbBlack);
    Move(Left(), Top(), kInnerWidth, kInnerHeight);
    Image1.Move(kMargin, kMargin);
    Image1.SetPicture(ui::LoadPicture(":/pictures/web/image1.bmp"));
    Image2.Move(kTextLeft, kMargin);
    Image2.SetPicture(ui::LoadPicture(":/pictures/web/image2.bmp"));
    lbl.Move(kTextLeft, kMargin + kImage2Height + kMargin, kTextWidth, kImage1Height - kImage2Height - kMargin);
    Timer1.SetInterval(WaitTickMilliseconds);
    Timer1.SetEnabled(false);
}

void Form3::Form_Load() { HabilleForm(*this); }

// Only the procedures that show the window take it down.
void Form3::Form_QueryUnload(int& cancel, int unloadMode) { cancel = unloadMode != ui::vbFormCode; }

Form3& StatusWindow() {
    static Form3* const window = new Form3;
    return *window;
}

Form3::Busy::Busy(Form3& window, ui::Form* qui, End end, Alone alone)
    : window_(window), qui_(qui), end_(end), alone_(alone) {}

void Form3::Busy::Start(const std::string& status) {
    ui::SetMousePointer(ui::vbHourglass);
    if (qui_)
        qui_->SetEnabled(false);
    else if (alone_ != Alone::StatusWindow)
        return;
    window_.Show();
    window_.ZOrder(0);
    window_.lbl.SetCaption(status);
    ui::DoEvents();
}

Form3::Busy::~Busy() {
    if (handedOver_) return;
    if (qui_ || alone_ != Alone::PointerOnly) skip([&] { window_.Unload(); });
    skip([] { ui::SetMousePointer(ui::vbDefault); });
    if (!qui_) return;
    // A caller that went away meanwhile is not loaded again for this.
    skip([&] {
        if (qui_->IsLoaded()) qui_->SetEnabled(true);
    });
    if (end_ == End::CallerToFront)
        skip([&] {
            if (qui_->IsLoaded()) qui_->ZOrder(0);
        });
}

std::string WaitingFor(const std::string& host) { return "Please Wait Connexion to " + host + " in progress..."; }
