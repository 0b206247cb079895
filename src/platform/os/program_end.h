#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace os {

// Ends the program at once, as the game's "End" statement does: nothing after
// the call runs. `why` says what ended it, for tests and for standard error.
[[noreturn]] void EndProgram(std::string_view why);

// Replaces what EndProgram does. The handler must not return (a test's
// handler throws); passing an empty handler restores the real end.
using EndHandler = std::function<void(std::string_view why)>;
void SetEndHandler(EndHandler handler);

}  // namespace os
