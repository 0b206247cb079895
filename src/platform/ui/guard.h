#pragma once

#include "platform/failure.h"

#include <exception>
#include <utility>

namespace ui {

// Every event handler that the event loop calls runs through Guarded, so
// that nothing thrown in a handler crosses the toolkit's own code.
//  - A Failure is reported at once: one line on standard error and a
//    critical message box "description: number"; the loop goes on.
//  - Anything else (a program end inside a test, a broken invariant) ends
//    every modal display and the current DoEvents, and is thrown again from
//    the nearest of DoEvents, a modal Show or Run, which are the places
//    where the game's own code waits on the event loop.
// Handlers that code runs directly (a list index set from code firing its
// click handler, a form loaded by code running its load event) are not
// guarded: their failure passes to the code that set the property.
void ReportFailure(const Failure& failure);
void DeferException(std::exception_ptr error);

// Throws the exception that a guarded handler deferred, if any, once.
void RethrowDeferred();

template <class Handler>
void Guarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const Failure& failure) {
        ReportFailure(failure);
    } catch (...) {
        DeferException(std::current_exception());
    }
}

}  // namespace ui
