#include "support/message_boxes.h"

#include "platform/ui/message_box.h"

#include <gtest/gtest.h>

#include <utility>

MessageBoxes::MessageBoxes() {
    ui::SetMessageBoxHandler([this](const ui::MessageBoxSeen& box) {
        seen_.push_back(box.prompt);
        return ui::vbOK;
    });
}

MessageBoxes::~MessageBoxes() {
    ui::SetMessageBoxHandler([](const ui::MessageBoxSeen& box) {
        ADD_FAILURE() << "unexpected message box: " << box.prompt;
        return ui::vbOK;
    });
}

std::vector<std::string> MessageBoxes::Take() { return std::exchange(seen_, {}); }
