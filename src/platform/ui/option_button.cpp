#include "platform/ui/option_button.h"

#include "platform/ui/control_surface.h"

#include <QRadioButton>
#include <QSignalBlocker>

namespace ui {
namespace {
QRadioButton* ButtonOf(QWidget* widget) { return static_cast<QRadioButton*>(widget); }
}  // namespace

QWidget* OptionButton::CreateWidget() {
    auto* button = new SurfaceWidget<QRadioButton>;
    QObject::connect(button, &QRadioButton::clicked, button, [this] { UserClick(); });
    return button;
}

std::string OptionButton::Caption() { return ButtonOf(Widget())->text().toStdString(); }
void OptionButton::SetCaption(const std::string& caption) {
    ButtonOf(Widget())->setText(QString::fromStdString(caption));
}

bool OptionButton::Value() { return ButtonOf(Widget())->isChecked(); }

void OptionButton::SetValue(bool selected) {
    QRadioButton* button = ButtonOf(Widget());
    if (selected == button->isChecked()) return;
    if (selected) {
        // Qt clears the container's other buttons.
        {
            const QSignalBlocker quiet(button);
            button->setChecked(true);
        }
        CodeEvent(Click);
        return;
    }
    // Qt keeps one button of an exclusive group selected; the toolkit lets
    // code clear them all.
    const QSignalBlocker quiet(button);
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

}  // namespace ui
