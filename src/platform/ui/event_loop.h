#pragma once

namespace ui {

// Yields to the event queue: handles the events and expired timers that are
// pending now, once, then returns. Timers tick only here, in a modal Show
// and in Run.
void DoEvents();

// Runs the event loop as long as at least one form is loaded: the program's
// life after its entry procedure has shown the first window. A Failure or
// other exception that comes out of a handler is reported and the loop
// goes on.
void Run();

}  // namespace ui
