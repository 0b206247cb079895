#pragma once

// The lobby windows use labels as buttons: a label's text turns red while
// the mouse is over it and white again once the mouse moves over what lies
// behind it (the window, or the frame that holds it).

#include "platform/ui/control.h"
#include "platform/ui/label.h"

#include <initializer_list>

// Makes `button` turn red under the mouse.
void HoverRed(ui::Label& button);

// Makes the mouse over `behind` turn `buttons` white again.
void WhitenOnHover(ui::Control& behind, std::initializer_list<ui::Label*> buttons);

// Turns `buttons` white (a window's own mouse-move handler calls this).
void Whiten(std::initializer_list<ui::Label*> buttons);
