#include "platform/ui/event_loop.h"
#include "platform/failure.h"
#include "platform/ui/form.h"
#include "platform/ui/guard.h"
#include "platform/ui/input_box.h"
#include "platform/ui/label.h"
#include "platform/ui/message_box.h"
#include "platform/ui/timer.h"
#include "support/program_ended.h"
#include "support/ui_events.h"

#include <QElapsedTimer>
#include <QThread>

#include <string>
#include <vector>

namespace {

class Splash : public ui::Form {
public:
    Splash() : ui::Form("Form4") {
        Timer1.Tick = [this] {
            ++ticks;
            if (unloadOnTick) Unload();
        };
        lbl.Click = [this] {
            throw Failure(failure_number::ObjectNotSet, "Object variable or With block variable not set");
        };
        lbl.MouseMove = [](int, int, float, float) { throw ProgramEnded("ended from a handler"); };
    }
    ui::Timer Timer1{*this, "Timer1"};
    ui::Label lbl{*this, "lbl"};
    int ticks = 0;
    bool unloadOnTick = false;

protected:
    void Design() override {
        Move(0, 0, 3000, 3000);
        lbl.Move(0, 0, 1500, 1500);
        Timer1.SetInterval(10);
        Timer1.SetEnabled(false);
    }
};

// Waits without running the event loop.
void Sleep(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }

using EventLoop = UiTest;

TEST_F(EventLoop, TimerTicksOnlyWhileYielding) {
    Splash splash;
    splash.Timer1.SetEnabled(true);
    Sleep(30);
    EXPECT_EQ(splash.ticks, 0);
    ui::DoEvents();
    EXPECT_EQ(splash.ticks, 1);

    splash.Timer1.SetEnabled(false);
    Sleep(30);
    ui::DoEvents();
    EXPECT_EQ(splash.ticks, 1);

    splash.Timer1.SetEnabled(true);
    splash.Timer1.SetTag("3");
    splash.Unload();  // stops its timers
    Sleep(30);
    ui::DoEvents();
    EXPECT_EQ(splash.ticks, 1);
    EXPECT_FALSE(splash.Timer1.Enabled());  // reloaded from its design
    EXPECT_EQ(splash.Timer1.Tag(), "");
}

TEST_F(EventLoop, ModalShowReturnsWhenATimerUnloadsTheForm) {
    Splash splash;
    splash.unloadOnTick = true;
    splash.Timer1.SetEnabled(true);
    QElapsedTimer clock;
    clock.start();
    splash.Show(ui::vbModal);
    EXPECT_EQ(splash.ticks, 1);
    EXPECT_FALSE(splash.IsLoaded());
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(EventLoop, ModalShowOfAVisibleFormFails) {
    Splash splash;
    splash.Show();
    try {
        splash.Show(ui::vbModal);
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), 400);
    }
}

TEST_F(EventLoop, FailureInAHandlerIsReportedAndTheLoopGoesOn) {
    std::vector<ui::MessageBoxSeen> boxes;
    ui::SetMessageBoxHandler([&](const ui::MessageBoxSeen& box) {
        boxes.push_back(box);
        return ui::vbOK;
    });
    Splash splash;
    splash.Show();
    ui_events::Click(splash.lbl);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "Object variable or With block variable not set: 91");
    EXPECT_EQ(boxes[0].style & ui::vbCritical, ui::vbCritical);
    EXPECT_TRUE(splash.IsLoaded());
}

TEST_F(EventLoop, ProgramEndInAHandlerComesOutOfTheWaitingCall) {
    Splash splash;
    splash.Show();
    EXPECT_THROW(ui_events::MoveMouse(splash, QPoint(10, 10)), ProgramEnded);
    ui::RethrowDeferred();  // thrown once only

    // Inside a modal show, the end leaves the show.
    splash.Hide();
    splash.Timer1.Tick = [] { throw ProgramEnded("ended from a timer"); };
    splash.Timer1.SetEnabled(true);
    EXPECT_THROW(splash.Show(ui::vbModal), ProgramEnded);
}

TEST_F(EventLoop, MessageAndInputBoxesAreAnsweredByTheTest) {
    std::vector<ui::InputBoxSeen> asked;
    ui::SetInputBoxHandler([&](const ui::InputBoxSeen& box) {
        asked.push_back(box);
        return asked.size() == 1 ? std::string("great game") : std::string();
    });
    EXPECT_EQ(ui::InputBox("Send a message (bugs,remarks) to Dravonik Thank you !!"), "great game");
    EXPECT_EQ(ui::InputBox("again", "Lobby", "default"), "");  // cancelled
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, "Quellmar");  // the program's title by default
    EXPECT_EQ(asked[1].title, "Lobby");
    EXPECT_EQ(asked[1].defaultText, "default");

    ui::SetMessageBoxHandler([](const ui::MessageBoxSeen& box) {
        EXPECT_EQ(box.prompt, "Select a Map to Download please !!");
        EXPECT_EQ(box.title, "Quellmar");
        return ui::vbOK;
    });
    EXPECT_EQ(ui::MsgBox("Select a Map to Download please !!"), ui::vbOK);
}

TEST_F(EventLoop, RunLastsWhileAFormIsLoaded) {
    Splash splash;
    splash.unloadOnTick = true;
    splash.Timer1.SetEnabled(true);
    ui::Run();
    EXPECT_EQ(splash.ticks, 1);
    EXPECT_FALSE(ui::AnyFormLoaded());
}

}  // namespace
