#include "platform/ui/label.h"

#include "platform/ui/control_surface.h"

#include <QLabel>

namespace ui {
namespace {
constexpr char CaptionProperty[] = "quellmarCaption";

QString ShownCaption(const std::string& caption) {
    std::string shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return QString::fromStdString(shown);
}

QLabel* LabelOf(QWidget* widget) { return static_cast<QLabel*>(widget); }
}  // namespace

QWidget* Label::CreateWidget() {
    auto* label = new SurfaceWidget<QLabel>;
    label->clicksOnRelease = true;
    label->setWordWrap(true);
    // Captions may hold names from other machines; the toolkit showed them
    // as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

std::string Label::Caption() { return Widget()->property(CaptionProperty).toString().toStdString(); }

void Label::SetCaption(const std::string& caption) {
    QLabel* label = LabelOf(Widget());
    label->setProperty(CaptionProperty, QString::fromStdString(caption));
    label->setText(ShownCaption(caption));
}

int Label::Alignment() {
    const Qt::Alignment alignment = LabelOf(Widget())->alignment();
    if (alignment & Qt::AlignRight) return vbRightJustify;
    if (alignment & Qt::AlignHCenter) return vbCenter;
    return vbLeftJustify;
}

void Label::SetAlignment(int alignment) {
    const Qt::Alignment horizontal = alignment == vbRightJustify ? Qt::AlignRight
                                     : alignment == vbCenter     ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft;
    LabelOf(Widget())->setAlignment(horizontal | Qt::AlignTop);
}

void Label::CopyLook(Control& from) {
    Control::CopyLook(from);
    if (auto* label = dynamic_cast<Label*>(&from)) {
        SetCaption(label->Caption());
        SetAlignment(label->Alignment());
    }
}

}  // namespace ui
