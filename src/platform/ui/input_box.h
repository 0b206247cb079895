#pragma once

#include <functional>
#include <string>

namespace ui {

// Asks the user for one line of text in a modal box with OK and Cancel and
// returns it; Cancel or closing the box gives "". The title is the
// program's title when empty.
std::string InputBox(const std::string& prompt, const std::string& title = {}, const std::string& defaultText = {});

// Tests answer input boxes without a screen: the handler sees each box
// instead of the user, with its title resolved, and returns the text typed
// ("" for Cancel). An empty
// handler restores the real boxes.
struct InputBoxSeen {
    std::string prompt;
    std::string title;
    std::string defaultText;
};
using InputBoxHandler = std::function<std::string(const InputBoxSeen&)>;
void SetInputBoxHandler(InputBoxHandler handler);

}  // namespace ui
