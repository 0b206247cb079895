// The look a window gives itself when it loads.

#include "launcher/window_look.h"

#include "platform/ui/check_box.h"
#include "platform/ui/colour.h"
#include "platform/ui/control_array.h"
#include "platform/ui/frame.h"
#include "platform/ui/label.h"
#include "platform/ui/option_button.h"
#include "platform/ui/text_box.h"
#include "support/ui_events.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kBlue = 16711680;

class Dressed : public ui::Form {
public:
    Dressed() : ui::Form("Dressed") {}
    ui::Label title{*this, "title"};
    ui::Frame panel{*this, "panel"};
    ui::OptionButton lan{panel, "lan"};
    ui::CheckBox fullScreen{panel, "fullScreen"};
    ui::TextBox name{panel, "name"};
    ui::Label abo{*this, "abo"};
    ui::ControlArray<ui::Label> btn{*this, "btn", 2};

protected:
    void Design() override {
        for (ui::Control* control : Controls()) {
            control->SetFontName("Courier");
            control->SetFontItalic(true);
            control->SetFontSize(9);
            control->SetForeColor(kBlue);
        }
    }
};

TEST(HabilleForm, GivesFontsAndWhiteTextByKindAndName) {
    Dressed window;
    window.btn.Load(2);  // a menu button made at run time is dressed too
    HabilleForm(window);

    // One row per control: its font afterwards, and whether its text turned
    // white or kept the designed blue.
    struct Case {
        ui::Control& control;
        std::string font;
        bool white;
    };
    const Case cases[] = {
        {window.title, "arial black", true},  {window.panel, "arial black", true},
        {window.lan, "arial black", true},    {window.fullScreen, "arial black", false},
        {window.name, "arial black", false},  {window.abo, "Courier", true},
        {window.btn(0), "arial black", true}, {window.btn(2), "arial black", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control.Name());
        EXPECT_EQ(c.control.FontName(), c.font);
        EXPECT_EQ(c.control.ForeColor(), c.white ? ui::vbWhite : kBlue);
    }

    // Menu buttons alone become bold, upright and 14 points.
    for (int i : {0, 1, 2}) {
        EXPECT_TRUE(window.btn(i).FontBold()) << i;
        EXPECT_FALSE(window.btn(i).FontItalic()) << i;
        EXPECT_FLOAT_EQ(window.btn(i).FontSize(), 14) << i;
    }
    EXPECT_FALSE(window.title.FontBold());
    EXPECT_TRUE(window.title.FontItalic());
    EXPECT_FLOAT_EQ(window.abo.FontSize(), 9);
    window.Unload();
}

}  // namespace
