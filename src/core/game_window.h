#pragma once

// The game window: the loading screen while the game starts, then the 3D
// view with the HUD drawn over it and a one-line chat box.

#include "platform/ui/form.h"
#include "platform/ui/image.h"
#include "platform/ui/text_box.h"
#include "platform/ui/timer.h"

#include <cstdint>
#include <string>

class Form1 : public ui::Form {
public:
    Form1();

    // The loading screen's pictures; the game start saves them as the logo
    // bitmaps that the corridor level's meshes show.
    ui::Image Image1{*this, "Image1"};
    ui::Image Image2{*this, "Image2"};
    ui::Image Image3{*this, "Image3"};
    ui::Image Image4{*this, "Image4"};
    ui::Image Image5{*this, "Image5"};
    // The text boxes come after the pictures, so they lie above them.
    // The loading text ("LOAD IN PROGRESS,PLEASE WAIT" and its dots).
    ui::TextBox Text2{*this, "Text2"};
    // The chat box; hidden until F5 opens it.
    ui::TextBox Text1{*this, "Text1"};
    // Clear info line 1 and 2 ten seconds after they are switched on.
    ui::Timer Timer1{*this, "Timer1"};
    ui::Timer Timer2{*this, "Timer2"};

    // One HUD line over the presented picture of Device3D, white, in the
    // window font at 10 points, its top-left corner at pixel (x, y).
    void AfficheTexte(const std::string& text, int32_t x, int32_t y);

    // The timed info lines: show `text` on line 1 (Message1) or line 2
    // (Message2) for ten seconds and play info sound `son`.
    void AfficheMessage(const std::string& text, int32_t son);
    void AfficheMessage2(const std::string& text, int32_t son);
    void Timer1_Timer();
    void Timer2_Timer();

    // The chat box's typed characters; Enter (13) sends the line and closes
    // the box. The player code also calls it with 13 when the local player
    // dies.
    void Text1_KeyPress(int& keyAscii);
    // Sends the box's text as a chat line and closes the box.
    void Text1_LostFocus();

protected:
    void Design() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
};

// The one game window of the run, made on first use. It is never destroyed:
// its windows go when it unloads, and the next use loads it again.
Form1& GameWindow();
