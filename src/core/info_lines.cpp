// The two timed info lines of the HUD: each shows its text for ten seconds.

#include "core/game_sound.h"
#include "core/game_state.h"
#include "core/game_window.h"

// A line set again while its timer runs keeps the timer's schedule: it is
// cleared ten seconds after the first set of the series.
void Form1::AfficheMessage(const std::string& text, int32_t son) {
    Timer1.SetEnabled(true);
    Message1 = text;
    JoueSonInfo(son);
}

void Form1::AfficheMessage2(const std::string& text, int32_t son) {
    Timer2.SetEnabled(true);
    Message2 = text;
    JoueSonInfo(son);
}

void Form1::Timer1_Timer() {
    Timer1.SetEnabled(false);
    Message1 = "";
}

void Form1::Timer2_Timer() {
    Timer2.SetEnabled(false);
    Message2 = "";
}
