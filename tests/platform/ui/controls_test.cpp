#include "platform/failure.h"
#include "platform/ui/check_box.h"
#include "platform/ui/command_button.h"
#include "platform/ui/control_array.h"
#include "platform/ui/form.h"
#include "platform/ui/frame.h"
#include "platform/ui/input_box.h"
#include "platform/ui/label.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/option_button.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/text_box.h"
#include "support/ui_events.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <string>
#include <vector>

namespace {

constexpr int32_t Red = 255;
constexpr int32_t White = 16777215;

// Label buttons in a frame that turn red under the mouse; the frame behind
// them and the form's background turn them white again.
class SessionList : public ui::Form {
public:
    SessionList() : ui::Form("frmSessions") {
        for (ui::Label* button : {&cmdJoin, &cmdCancel}) {
            button->MouseMove = [button](int, int, float, float) { button->SetForeColor(Red); };
            button->Click = [this, button] { clicks.push_back(button->Name()); };
        }
        Frame2.MouseMove = [this](int, int, float, float) { ResetButtons(); };
    }

    ui::Frame Frame2{*this, "Frame2"};
    ui::Label cmdJoin{Frame2, "cmdJoin"};
    ui::Label cmdCancel{Frame2, "cmdCancel"};
    ui::Label lblOutside{*this, "lblOutside"};
    std::vector<std::string> clicks;
    int formMoves = 0;

protected:
    void Design() override {
        Move(0, 0, 7500, 4500);
        Frame2.Move(300, 300, 4500, 3000);
        cmdJoin.Move(300, 600, 1500, 300);
        cmdCancel.Move(300, 1500, 1500, 300);
        lblOutside.Move(5000, 300, 1500, 300);
        ResetButtons();
    }
    void Form_MouseMove(int, int, float, float) override { ++formMoves; }

private:
    void ResetButtons() {
        cmdJoin.SetForeColor(White);
        cmdCancel.SetForeColor(White);
    }
};

using Controls = UiTest;

TEST_F(Controls, LabelButtonTurnsRedUnderTheMouseAndWhiteOverItsFrame) {
    SessionList form;
    form.Show();
    ui_events::MoveMouse(form, ui_events::MiddleOf(form.cmdJoin));
    EXPECT_EQ(form.cmdJoin.ForeColor(), Red);
    EXPECT_EQ(form.cmdCancel.ForeColor(), White);
    EXPECT_EQ(form.formMoves, 0);  // the label took the move

    ui_events::MoveMouse(form, form.Frame2.hWnd()->geometry().topLeft() + QPoint(150, 15));
    EXPECT_EQ(form.cmdJoin.ForeColor(), White);

    ui_events::MoveMouse(form, QPoint(490, 290));
    EXPECT_EQ(form.formMoves, 1);

    ui_events::Click(form.cmdCancel);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"cmdCancel"}));
}

TEST_F(Controls, DisabledFrameIgnoresClicksAndPassesMovesToTheForm) {
    SessionList form;
    form.Show();
    form.Frame2.SetEnabled(false);
    ui_events::Click(form.cmdJoin);
    EXPECT_TRUE(form.clicks.empty());
    EXPECT_TRUE(form.cmdJoin.Enabled());
    ui_events::MoveMouse(form, ui_events::MiddleOf(form.cmdJoin));
    EXPECT_EQ(form.cmdJoin.ForeColor(), White);
    EXPECT_EQ(form.formMoves, 1);

    form.Frame2.SetEnabled(true);
    form.cmdJoin.SetEnabled(false);
    ui_events::Click(form.cmdJoin);
    EXPECT_TRUE(form.clicks.empty());
    form.cmdJoin.SetEnabled(true);
    ui_events::Click(form.cmdJoin);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"cmdJoin"}));
}

TEST_F(Controls, CaptionsShowDoubledAmpersandOnce) {
    SessionList form;
    form.lblOutside.SetCaption("ARSENAL && MAPS");
    EXPECT_EQ(form.lblOutside.Caption(), "ARSENAL && MAPS");
    EXPECT_EQ(static_cast<QLabel*>(form.lblOutside.hWnd())->text().toStdString(), "ARSENAL & MAPS");
}

// Nicknames and server texts may hold markup; labels, message boxes and
// input boxes show their characters as they are.
TEST_F(Controls, TextFromOtherMachinesShowsAsPlainText) {
    const std::string marked = "<b>Jo</b><img src=\"x.png\">";
    SessionList form;
    form.lblOutside.SetCaption(marked);
    EXPECT_EQ(static_cast<QLabel*>(form.lblOutside.hWnd())->textFormat(), Qt::PlainText);

    // The real boxes, closed from inside the event loop they run.
    std::vector<Qt::TextFormat> prompts;
    const auto closeTheBox = [&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            for (const QLabel* label : box->findChildren<QLabel*>())
                if (label->text().contains("<b>")) prompts.push_back(label->textFormat());
            box->reject();
        });
    };
    ui::SetMessageBoxHandler({});
    ui::SetInputBoxHandler({});
    closeTheBox();
    ui::MsgBox(marked);
    closeTheBox();
    ui::InputBox(marked);
    EXPECT_EQ(prompts, (std::vector<Qt::TextFormat>{Qt::PlainText, Qt::PlainText}));
}

class VideoPage : public ui::Form {
public:
    VideoPage() : ui::Form("form2") {
        for (int i = 0; i < 2; ++i)
            Option1(i).Click = [this, i] { clicks.push_back("Option1(" + std::to_string(i) + ")"); };
        optrnd(0).Click = [this] { clicks.push_back("optrnd(0)"); };
        Check1.Click = [this] { clicks.push_back("Check1"); };
    }

    ui::ControlArray<ui::OptionButton> Option1{*this, "Option1", 2};
    ui::Frame Frame4{*this, "Frame4"};
    ui::ControlArray<ui::OptionButton> optrnd{Frame4, "optrnd", 2};
    ui::CheckBox Check1{*this, "Check1"};
    std::vector<std::string> clicks;

protected:
    void Design() override {
        Option1(0).Move(100, 100, 2000, 300);
        Option1(1).Move(100, 500, 2000, 300);
        Frame4.Move(3000, 100, 2500, 1500);
        optrnd(0).Move(100, 300, 2000, 300);
        optrnd(1).Move(100, 700, 2000, 300);
        Option1(1).SetValue(true);
        optrnd(0).SetValue(true);
    }
};

TEST_F(Controls, OptionButtonsChooseOneInEachContainer) {
    VideoPage page;
    page.Show();
    EXPECT_TRUE(page.Option1(1).Value());
    EXPECT_TRUE(page.clicks.empty());  // the design runs no events

    page.Option1(0).SetValue(true);
    EXPECT_FALSE(page.Option1(1).Value());
    EXPECT_TRUE(page.optrnd(0).Value());  // another container's group stays
    // The user clicks the button's circle, at its left end.
    QWidget* button = page.optrnd(1).hWnd();
    ui_events::ClickAt(page, button->mapTo(page.hWnd(), QPoint(6, button->height() / 2)));
    EXPECT_FALSE(page.optrnd(0).Value());
    EXPECT_TRUE(page.Option1(0).Value());
    EXPECT_EQ(page.clicks, (std::vector<std::string>{"Option1(0)"}));

    page.Option1(0).SetValue(false);
    EXPECT_FALSE(page.Option1(0).Value());
    EXPECT_FALSE(page.Option1(1).Value());
}

TEST_F(Controls, CheckBoxValueFromCodeRunsClickOnChange) {
    VideoPage page;
    page.Show();
    page.clicks.clear();
    page.Check1.SetValue(ui::vbChecked);
    page.Check1.SetValue(ui::vbChecked);
    EXPECT_EQ(page.Check1.Value(), ui::vbChecked);
    EXPECT_EQ(page.clicks, (std::vector<std::string>{"Check1"}));
    ui_events::Click(page.Check1);
    EXPECT_EQ(page.Check1.Value(), ui::vbUnchecked);
    EXPECT_EQ(page.clicks.size(), 2u);
}

class Menu : public ui::Form {
public:
    Menu() : ui::Form("form2") {}
    ui::ControlArray<ui::PictureBox> picbtn{*this, "picbtn", 2};
    ui::ControlArray<ui::PictureBox> lebouton{picbtn(0), "lebouton", 1};

protected:
    void Design() override {
        Move(0, 0, 9390, 6045);
        picbtn(0).Move(90, 2340, 3735, 3135);
        picbtn(1).Move(90, 2340, 3735, 3135);
        picbtn(1).SetVisible(false);
        lebouton(0).Move(120, 120, 3405, 420);
        lebouton(0).SetTag("4");
    }
};

TEST_F(Controls, ControlsLoadedAtRunTimeMoveToAnotherContainerAndGoWithTheForm) {
    Menu menu;
    menu.lebouton.Load(1);
    ui::PictureBox& added = menu.lebouton(1);
    EXPECT_FALSE(added.Visible());
    EXPECT_FLOAT_EQ(added.Width(), 3405);
    EXPECT_EQ(added.Tag(), "4");
    added.SetContainer(menu.picbtn(1));
    added.Move(120, 720);
    added.SetVisible(true);
    EXPECT_EQ(added.hWnd()->parentWidget(), menu.picbtn(1).hWnd());
    EXPECT_FLOAT_EQ(added.Top(), 720);
    EXPECT_TRUE(added.Visible());
    EXPECT_EQ(menu.Controls().size(), 4u);
    EXPECT_THROW(menu.lebouton.Load(1), Failure);

    menu.Unload();
    EXPECT_EQ(menu.lebouton.Count(), 1);
    EXPECT_EQ(menu.lebouton(0).hWnd()->parentWidget(), menu.picbtn(0).hWnd());
    EXPECT_THROW(menu.lebouton.Unload(0), Failure);
}

TEST_F(Controls, ButtonWhoseClickUnloadsItsOwnFormIsSafe) {
    Menu menu;
    menu.lebouton.Load(1);
    menu.lebouton(1).SetVisible(true);
    menu.lebouton(1).Move(120, 720);
    int clicks = 0;
    menu.lebouton(1).Click = [&] {
        ++clicks;
        menu.Unload();  // drops this very control, loaded at run time
    };
    menu.Show();
    ui_events::Click(menu.lebouton(1));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(menu.IsLoaded());
    EXPECT_FALSE(menu.lebouton.Exists(1));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class Launcher : public ui::Form {
public:
    Launcher() : ui::Form("form2") {
        Command1.Click = [this] { ++escapes; };
        cmdOk.Click = [this] { ++enters; };
    }
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton cmdOk{*this, "cmdOk"};
    int escapes = 0;
    int enters = 0;

protected:
    void Design() override {
        Move(0, 0, 6000, 3000);
        Command1.Move(0, 9000, 1200, 400);  // below the visible area
        Command1.SetCancel(true);
        cmdOk.Move(100, 100, 1200, 400);
        cmdOk.SetDefault(true);
    }
};

TEST_F(Controls, EscPressesTheCancelButtonAndEnterTheDefaultOne) {
    Launcher launcher;
    launcher.Show();
    ui_events::TypeKey(launcher, Qt::Key_Escape);
    ui_events::TypeKey(launcher, Qt::Key_Return, "\r");
    EXPECT_EQ(launcher.escapes, 1);
    EXPECT_EQ(launcher.enters, 1);
    launcher.Command1.SetEnabled(false);
    ui_events::TypeKey(launcher, Qt::Key_Escape);
    EXPECT_EQ(launcher.escapes, 1);
}

TEST_F(Controls, HourglassIsOneSettingOnEveryFormWindow) {
    Launcher first;
    first.Show();
    ui::SetMousePointer(ui::vbHourglass);
    ui::SetMousePointer(ui::vbHourglass);
    Menu later;
    later.Load();
    EXPECT_EQ(first.hWnd()->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(later.hWnd()->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ui::SetMousePointer(ui::vbDefault);  // once undoes any number of hourglasses
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    EXPECT_EQ(first.hWnd()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Controls, FontsAndColoursOfEveryControlOfAForm) {
    SessionList form;
    for (ui::Control* control : form.Controls()) {
        control->SetFontName("Arial Black");
        if (dynamic_cast<ui::Label*>(control) || dynamic_cast<ui::Frame*>(control)) control->SetForeColor(White);
    }
    form.cmdJoin.SetFontBold(true);
    form.cmdJoin.SetFontSize(14);
    EXPECT_EQ(form.Frame2.FontName(), "Arial Black");
    EXPECT_EQ(form.lblOutside.ForeColor(), White);
    EXPECT_TRUE(form.cmdJoin.FontBold());
    EXPECT_FLOAT_EQ(form.cmdJoin.FontSize(), 14);
    form.lblOutside.SetBackColor(0x00FF00);
    EXPECT_EQ(form.lblOutside.BackColor(), 0x00FF00);
}

// A black panel with a white-lettered frame, as the launcher has: the
// captions inside turn white, while the fields keep black text on white and
// the mark boxes keep a mark that shows.
class Panel : public ui::Form {
public:
    Panel() : ui::Form("Panel") {}
    ui::PictureBox fond{*this, "fond"};
    ui::Frame Frame3{fond, "Frame3"};
    ui::TextBox servertxt{Frame3, "servertxt"};
    ui::OptionButton Option2{Frame3, "Option2"};
    ui::CheckBox Check1{Frame3, "Check1"};

protected:
    void Design() override {
        fond.SetBackColor(0);
        Frame3.SetForeColor(White);
        Option2.SetForeColor(White);
        Option2.SetBackColor(0);
        Option2.SetValue(true);
        Check1.SetValue(ui::vbChecked);
    }
};

TEST_F(Controls, APanelsColoursLeaveTheFieldsInsideItAlone) {
    Panel form;
    form.Load();
    const QPalette field = form.servertxt.hWnd()->palette();
    EXPECT_EQ(field.color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(field.color(QPalette::Text), QColor(Qt::black));
    for (ui::Control* marked : {static_cast<ui::Control*>(&form.Option2), static_cast<ui::Control*>(&form.Check1)}) {
        SCOPED_TRACE(marked->Name());
        const QPalette box = marked->hWnd()->palette();
        EXPECT_EQ(box.color(QPalette::WindowText), QColor(Qt::white));    // the caption
        EXPECT_NE(box.color(QPalette::Text), box.color(QPalette::Base));  // the mark in its box
    }
    EXPECT_EQ(form.Option2.BackColor(), 0);
    form.Unload();
}

}  // namespace
