#include "platform/ui/form.h"
#include "platform/failure.h"
#include "platform/ui/check_box.h"
#include "platform/ui/device_host.h"
#include "platform/ui/frame.h"
#include "platform/ui/label.h"
#include "platform/ui/text_box.h"
#include "support/program_ended.h"
#include "support/ui_events.h"

#include <QWidget>

#include <string>
#include <vector>

namespace {

class SampleForm : public ui::Form {
public:
    SampleForm() : ui::Form("frmSample") {}

    ui::Frame Frame1{*this, "Frame1"};
    ui::Label lblStatus{Frame1, "lblStatus"};
    ui::CheckBox Check1{*this, "Check1"};

    std::vector<std::string> events;
    int cancelUnload = 0;
    int loads = 0;

protected:
    void Design() override {
        SetCaption("Sample");
        Move(600, 900, 6000, 4500);
        Frame1.Move(150, 150, 3000, 2000);
        Frame1.SetCaption("STATUS");
        lblStatus.Move(120, 240, 2000, 300);
        lblStatus.SetCaption("CLICK ON GAME TO JOIN");
    }
    void Form_Load() override {
        ++loads;
        events.push_back("load");
    }
    void Form_QueryUnload(int& cancel, int unloadMode) override {
        events.push_back("query " + std::to_string(unloadMode));
        cancel = cancelUnload;
    }
    void Form_Unload(int&) override { events.push_back("unload"); }
};

using Form = UiTest;

TEST_F(Form, LoadsOnFirstUseWithItsDesignInTwips) {
    SampleForm form;
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.lblStatus.Caption(), "CLICK ON GAME TO JOIN");  // reading a control loads the form
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_EQ(form.loads, 1);
    EXPECT_EQ(form.Caption(), "Sample");
    EXPECT_EQ(form.hWnd()->width(), 400);  // 6000 twips at 15 a pixel
    EXPECT_FLOAT_EQ(form.Width(), 6000);
    EXPECT_FLOAT_EQ(form.ScaleWidth(), 6000);
    EXPECT_FLOAT_EQ(form.lblStatus.Left(), 120);
    EXPECT_EQ(form.lblStatus.hWnd()->parentWidget(), form.Frame1.hWnd());
    // A position between pixels comes back on the nearest pixel.
    form.lblStatus.SetLeft(100);
    EXPECT_FLOAT_EQ(form.lblStatus.Left(), 105);

    form.SetScaleMode(ui::vbPixels);
    EXPECT_FLOAT_EQ(form.ScaleWidth(), 400);
    EXPECT_FLOAT_EQ(form.Width(), 6000);  // the outer size stays in twips

    std::vector<std::string> names;
    for (ui::Control* control : form.Controls()) names.push_back(control->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Frame1", "lblStatus", "Check1"}));
}

TEST_F(Form, ReloadStartsAgainFromTheDesign) {
    SampleForm form;
    form.Show();
    form.lblStatus.SetCaption("3 partie(s)");
    form.Frame1.SetEnabled(false);
    form.SetScaleMode(ui::vbPixels);
    form.Unload();
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.events, (std::vector<std::string>{"load", "query 1", "unload"}));

    form.Show();
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(form.lblStatus.Caption(), "CLICK ON GAME TO JOIN");
    EXPECT_TRUE(form.Frame1.Enabled());
    EXPECT_EQ(form.ScaleMode(), ui::vbTwips);
}

TEST_F(Form, CloseBoxTellsTheUserFromTheProgramAndMayBeCancelled) {
    SampleForm form;
    form.Show();
    form.cancelUnload = 1;
    ui_events::CloseBox(form);
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_TRUE(form.Visible());
    form.Unload();
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_EQ(form.events, (std::vector<std::string>{"load", "query 0", "query 1"}));

    form.cancelUnload = 0;
    ui_events::CloseBox(form);
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.events.back(), "unload");
}

TEST_F(Form, CloseBoxThatEndsTheProgramReachesTheCaller) {
    class Launcher : public ui::Form {
    public:
        Launcher() : ui::Form("form2") {}

    protected:
        void Form_QueryUnload(int&, int unloadMode) override {
            if (unloadMode != ui::vbFormCode) throw ProgramEnded("closed by the user");
        }
    } launcher;
    launcher.Show();
    EXPECT_THROW(ui_events::CloseBox(launcher), ProgramEnded);
}

TEST_F(Form, HiddenDisabledAndStateOfTheWindow) {
    SampleForm form;
    form.Show();
    EXPECT_TRUE(form.Visible());
    form.Hide();
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.IsLoaded());

    form.SetEnabled(false);
    EXPECT_FALSE(form.Enabled());
    EXPECT_FALSE(form.Check1.hWnd()->isEnabled());
    EXPECT_TRUE(form.Check1.Enabled());

    form.SetWindowState(ui::vbMaximized);
    EXPECT_EQ(form.WindowState(), ui::vbMaximized);
    form.SetWindowState(ui::vbNormal);
    EXPECT_EQ(form.WindowState(), ui::vbNormal);
}

TEST_F(Form, ControlsKeepTheirOwnVisibleAndEnabledInsideAFrame) {
    SampleForm form;
    form.Show();
    form.Frame1.SetVisible(false);
    EXPECT_TRUE(form.lblStatus.Visible());
    EXPECT_FALSE(form.lblStatus.hWnd()->isVisible());
    form.Frame1.SetVisible(true);
    EXPECT_TRUE(form.lblStatus.hWnd()->isVisible());
    form.lblStatus.SetVisible(false);
    EXPECT_FALSE(form.lblStatus.Visible());
}

TEST_F(Form, SetFocusOnAHiddenControlFails) {
    SampleForm form;
    form.Show();
    form.Check1.SetVisible(false);
    try {
        form.Check1.SetFocus();
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), 5);
    }
}

TEST_F(Form, DeviceHostFillsTheFormBehindItsOtherControls) {
    class GameWindow : public ui::Form {
    public:
        GameWindow() : ui::Form("Form1") {}
        ui::TextBox Text1{*this, "Text1"};
        ui::DeviceHost Screen{*this, "Screen"};

        // The chat box follows the window's inner size.
        void Form_Resize() override { Text1.Move(50, ScaleHeight() - 3 * Text1.Height() - 50, ScaleWidth() - 100); }

    protected:
        void Design() override {
            SetBorderStyle(ui::vbBSNone);
            Move(0, 0, 8535, 5850);
            Text1.Move(30, 5490, 8475, 315);
        }
    } game;
    game.Show();
    QWidget* host = game.Screen.hWnd();
    EXPECT_EQ(host->geometry(), game.hWnd()->rect());
    game.Move(0, 0, 9000, 6000);
    EXPECT_EQ(host->size(), game.hWnd()->size());
    // On the nearest pixel.
    EXPECT_NEAR(game.Text1.Width(), 9000 - 100, 7.5);
    EXPECT_NEAR(game.Text1.Top(), 6000 - 3 * 315 - 50, 7.5);
    EXPECT_EQ(game.hWnd()->childAt(ui_events::MiddleOf(game.Text1)), game.Text1.hWnd());
    EXPECT_EQ(game.hWnd()->children().indexOf(host), 0);
}

}  // namespace
