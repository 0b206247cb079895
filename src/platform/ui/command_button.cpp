#include "platform/ui/command_button.h"

#include "platform/ui/control_surface.h"
#include "platform/ui/form.h"

#include <QPushButton>

namespace ui {
namespace {
constexpr char CancelProperty[] = "quellmarCancel";

QPushButton* ButtonOf(QWidget* widget) { return static_cast<QPushButton*>(widget); }
}  // namespace

QWidget* CommandButton::CreateWidget() {
    auto* button = new SurfaceWidget<QPushButton>;
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [this] { UserClick(); });
    return button;
}

std::string CommandButton::Caption() { return ButtonOf(Widget())->text().toStdString(); }
void CommandButton::SetCaption(const std::string& caption) {
    ButtonOf(Widget())->setText(QString::fromStdString(caption));
}

bool CommandButton::Default() { return ButtonOf(Widget())->isDefault(); }
void CommandButton::SetDefault(bool isDefault) { ButtonOf(Widget())->setDefault(isDefault); }
bool CommandButton::Cancel() { return Widget()->property(CancelProperty).toBool(); }
void CommandButton::SetCancel(bool isCancel) { Widget()->setProperty(CancelProperty, isCancel); }

CommandButton* CommandButton::ActingOn(Form& form, bool enter) {
    for (Control* control : form.Controls()) {
        auto* button = dynamic_cast<CommandButton*>(control);
        if (!button) continue;
        QWidget* widget = button->Widget();
        if (!widget->isVisible() || !widget->isEnabled()) continue;
        if (enter ? button->Default() : button->Cancel()) return button;
    }
    return nullptr;
}

}  // namespace ui
