#include "platform/os/program_end.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace os {
namespace {
EndHandler& Handler() {
    static EndHandler handler;
    return handler;
}
}  // namespace

void SetEndHandler(EndHandler handler) { Handler() = std::move(handler); }

void EndProgram(std::string_view why) {
    if (Handler()) Handler()(why);
    // The program ends here whatever state its windows and devices are in;
    // running static destructors behind live toolkit objects is not safe.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
}

}  // namespace os
