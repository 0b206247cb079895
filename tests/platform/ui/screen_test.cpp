// A real window on the X display, captured from the screen.

#include "platform/ui/event_loop.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
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

}  // namespace
