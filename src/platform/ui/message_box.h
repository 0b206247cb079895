#pragma once

#include <functional>
#include <string>

namespace ui {

// Buttons and answers of a message box, with the toolkit's values.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbExclamation = 48,
    vbInformation = 64
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// Shows a modal message box and returns the button pressed. An empty title
// is the program's title.
int MsgBox(const std::string& prompt, int style = vbOKOnly, const std::string& title = {});

// Tests answer message boxes without a screen: the handler sees each box
// instead of the user, with its title resolved, and returns the button
// pressed. An empty handler restores the real boxes.
struct MessageBoxSeen {
    std::string prompt;
    int style;
    std::string title;
};
using MessageBoxHandler = std::function<int(const MessageBoxSeen&)>;
void SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace ui
