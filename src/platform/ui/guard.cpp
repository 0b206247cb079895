#include "platform/ui/guard.h"

#include "platform/ui/message_box.h"
#include "platform/ui/modal_loops.h"

#include <cstdio>
#include <string>

namespace ui {
namespace {
std::exception_ptr& Deferred() {
    static std::exception_ptr deferred;
    return deferred;
}
}  // namespace

void ReportFailure(const Failure& failure) {
    const std::string text = failure.Description() + ": " + std::to_string(failure.Number());
    std::fprintf(stderr, "failure in an event handler: %s\n", text.c_str());
    std::fflush(stderr);
    try {
        MsgBox(text, vbCritical);
    } catch (...) {
        // The line on standard error already tells of it.
    }
}

void DeferException(std::exception_ptr error) {
    if (!Deferred()) Deferred() = std::move(error);
    ExitModalLoops();
}

void RethrowDeferred() {
    if (!Deferred()) return;
    std::exception_ptr error = std::move(Deferred());
    Deferred() = nullptr;
    std::rethrow_exception(error);
}

}  // namespace ui
