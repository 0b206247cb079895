#include "multiplayer/label_buttons.h"

#include "platform/ui/colour.h"

#include <vector>

void HoverRed(ui::Label& button) {
    button.MouseMove = [&button](int, int, float, float) { button.SetForeColor(ui::vbRed); };
}

void WhitenOnHover(ui::Control& behind, std::initializer_list<ui::Label*> buttons) {
    behind.MouseMove = [all = std::vector<ui::Label*>(buttons)](int, int, float, float) {
        for (ui::Label* button : all) button->SetForeColor(ui::vbWhite);
    };
}

void Whiten(std::initializer_list<ui::Label*> buttons) {
    for (ui::Label* button : buttons) button->SetForeColor(ui::vbWhite);
}
