#pragma once

// The user's input to the toolkit layer's forms, for tests without a screen:
// each helper sends the mouse or key events a real user would cause to the
// window under the point, then throws what a handler deferred (a program
// end), as the event loop's caller would see it.

#include "platform/ui/control.h"
#include "platform/ui/form.h"

#include <gtest/gtest.h>

#include <QPoint>

namespace ui_events {

// A point given in pixels of the form's inner area.
void MoveMouse(ui::Form& form, QPoint at);
void ClickAt(ui::Form& form, QPoint at);
// The middle of a control, in pixels of its form's inner area.
QPoint MiddleOf(ui::Control& control);
void Click(ui::Control& control);
// Types one key into the widget with the focus in the form.
void TypeKey(ui::Form& form, int key, const QString& text = {});
// The close box of the form's window.
void CloseBox(ui::Form& form);

}  // namespace ui_events

// Base of tests that use forms (the test main already answers boxes and
// deletes retired windows around every test).
using UiTest = testing::Test;
