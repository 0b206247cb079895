// A real window on the X display, captured from the screen.

#include "platform/ui/event_loop.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/timer.h"
#include "support/ui_events.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>

namespace {

class Lobby : public ui::Form {
public:
    Lobby() : ui::Form("frmCreateGame") {}
    ui::Label cmdCreate{*this, "cmdCreate"};
    ui::Timer Timer1{*this, "Timer1"};

protected:
    void Design() override {
        SetCaption("Create Game");
        Move(1500, 1500, 4500, 3000);
        SetBackColor(0x000000);
        cmdCreate.Move(300, 300, 1800, 450);
        cmdCreate.SetBackColor(255);
        cmdCreate.SetCaption("CREATE");
    }
};

using Screen = UiTest;

TEST_F(Screen, ShownFormAppearsWithItsColours) {
    Lobby lobby;
    lobby.Show();
    QWidget* window = lobby.hWnd();
    for (int i = 0; i < 500 && !(window->windowHandle() && window->windowHandle()->isExposed()); ++i) {
        ui::DoEvents();
        QThread::msleep(10);
    }
    ASSERT_TRUE(window->windowHandle()->isExposed());
    for (int i = 0; i < 20; ++i) {
        ui::DoEvents();
        QThread::msleep(10);
    }
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    const QImage shot = QGuiApplication::primaryScreen()
                            ->grabWindow(0, origin.x(), origin.y(), window->width(), window->height())
                            .toImage();
    ASSERT_EQ(shot.size(), window->size());
    EXPECT_EQ(shot.pixelColor(250, 150), QColor(0, 0, 0));  // the form's background
    // Inside the red label; the test display may have few colours.
    const QColor label = shot.pixelColor(22, 22);
    EXPECT_GT(label.red(), 128);
    EXPECT_LT(label.green(), 64);
    EXPECT_LT(label.blue(), 64);
}

// A splash that shows itself and is replaced at its timer's first tick must
// have been seen with its picture: the tick waits for the first paint.
TEST_F(Screen, ATimerTicksOnlyOnceTheFormJustShownIsOnTheScreen) {
    Lobby lobby;
    QColor seen;
    lobby.Timer1.Tick = [&] {
        lobby.Timer1.SetEnabled(false);
        const QPoint origin = lobby.hWnd()->mapToGlobal(QPoint(22, 22));
        seen = QGuiApplication::primaryScreen()->grabWindow(0, origin.x(), origin.y(), 1, 1).toImage().pixelColor(0, 0);
        lobby.Hide();
    };
    lobby.Timer1.SetInterval(1);
    lobby.Timer1.SetEnabled(true);
    lobby.Show(ui::vbModal);
    EXPECT_GT(seen.red(), 128);
    EXPECT_LT(seen.green(), 64);
}

}  // namespace
