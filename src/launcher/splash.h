#pragma once

// The splash window: up between the program's start and the launcher, while
// the start creates the `map` folder, installs the system components and
// reads the locale's decimal separator. It also holds three pictures that
// the game window and the launcher take from it.

#include "platform/ui/control_array.h"
#include "platform/ui/form.h"
#include "platform/ui/image.h"
#include "platform/ui/timer.h"

#include <cstdint>

class Form4 : public ui::Form {
public:
    Form4();

    // 0 the splash picture; 1 and 2, hidden, the pictures handed to other
    // windows; 3 empty.
    ui::ControlArray<ui::Image> img{*this, "img", 4};
    // 10 ms, off until the splash is about to show.
    ui::Timer Timer1{*this, "Timer1"};

    // Runs the start's set-up under the hourglass, then shows the window
    // modally; returns once it is unloaded (closing it ends the program).
    void Splash();

    // Gives `ImgDest` the picture of img(id) and unloads the window; each
    // call loads it again first.
    void RenvoieImage(ui::Image& ImgDest, int32_t id);

    void Timer1_Timer();

protected:
    void Design() override;
    void Form_Load() override;
};

// The one splash window of the run, made on first use.
Form4& SplashWindow();
