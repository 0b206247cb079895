#include "launcher/window_look.h"

#include "platform/failure.h"
#include "platform/ui/colour.h"
#include "platform/ui/control.h"
#include "platform/ui/frame.h"
#include "platform/ui/label.h"
#include "platform/ui/option_button.h"

namespace {

constexpr char kLookFont[] = "arial black";
constexpr float kMenuButtonPoints = 14;

bool HasTextColour(ui::Control& control) {
    return dynamic_cast<ui::Label*>(&control) != nullptr || dynamic_cast<ui::Frame*>(&control) != nullptr ||
           dynamic_cast<ui::OptionButton*>(&control) != nullptr;
}

}  // namespace

void HabilleForm(ui::Form& window) {
    for (ui::Control* control : window.Controls()) {
        skip([&] {
            if (control->Name() != "abo") control->SetFontName(kLookFont);
        });
        skip([&] {
            if (HasTextColour(*control)) control->SetForeColor(ui::vbWhite);
        });
        skip([&] {
            if (control->Name() == "btn") control->SetFontBold(true);
        });
        skip([&] {
            if (control->Name() == "btn") control->SetFontItalic(false);
        });
        skip([&] {
            if (control->Name() == "btn") control->SetFontSize(kMenuButtonPoints);
        });
    }
}
