// The game window's chat box: F5 opens it (in-game keys), Enter or the loss
// of the keyboard focus sends its line to the other players and closes it.

#include "core/game_state.h"
#include "core/game_window.h"
#include "multiplayer/messages.h"

namespace {
constexpr int Enter = 13;
}

void Form1::Text1_KeyPress(int& keyAscii) {
    if (keyAscii != Enter) return;
    keyAscii = 0;
    Text1_LostFocus();
}

void Form1::Text1_LostFocus() {
    EnvoiTexte(Text1.Text(), MSG_CHAT);  // an empty line too
    // ChatTyping goes before the box hides: hiding takes the focus from the
    // box, and that focus loss must not send the line a second time.
    ChatTyping = false;
    Text1.SetVisible(false);
    Text1.SetText("");
}
