#include "platform/ui/control.h"

#include "platform/failure.h"
#include "platform/ui/colour.h"
#include "platform/ui/control_surface.h"
#include "platform/ui/form.h"
#include "platform/ui/guard.h"
#include "platform/ui/mouse_event.h"

#include <QCoreApplication>
#include <QWidget>

namespace ui {
namespace {
constexpr char TagProperty[] = "quellmarTag";

void SetFont(QWidget* widget, auto&& change) {
    QFont font = widget->font();
    change(font);
    widget->setFont(font);
}
}  // namespace

Control::Control(Container& container, std::string name, int index)
    : form_(container.OwnerForm()),
      designContainer_(&container),
      container_(&container),
      name_(std::move(name)),
      index_(index) {
    form_.Register(*this);
}

Control::~Control() {
    form_.Forget(*this);
    if (widget_) {
        if (ControlSurface* surface = SurfaceOf(widget_)) surface->owner = nullptr;
        // Not hidden here: hiding moves the focus and would run the handlers
        // of controls whose form is half destroyed.
        widget_->disconnect();
        if (QCoreApplication::instance()) widget_->deleteLater();
    }
}

void Control::CreateWindow() {
    container_ = designContainer_;
    QWidget* parent = container_->ClientArea();
    widget_ = CreateWidget();
    widget_->setParent(parent);
    widget_->setMouseTracking(true);
    if (ControlSurface* surface = SurfaceOf(widget_)) surface->owner = this;
    widget_->show();
}

void Control::ForgetWindow() {
    if (widget_) {
        if (ControlSurface* surface = SurfaceOf(widget_)) surface->owner = nullptr;
        widget_->disconnect();
    }
    widget_ = nullptr;
}

QWidget* Control::Widget() {
    if (!widget_) form_.Load();
    if (!widget_) throw Failure(failure_number::ObjectNotSet, "Control " + name_ + " has no window");
    return widget_;
}

void Control::SetContainer(Container& container) {
    if (&container.OwnerForm() != &form_)
        throw Failure(failure_number::InvalidArgument, "A control cannot move to another form");
    QWidget* widget = Widget();
    const bool visible = !widget->isHidden();
    widget->setParent(container.ClientArea());
    widget->setVisible(visible);
    container_ = &container;
}

float Control::Left() { return FromPixels(Widget()->x(), container_->ChildScale()); }
float Control::Top() { return FromPixels(Widget()->y(), container_->ChildScale()); }
float Control::Width() { return FromPixels(Widget()->width(), container_->ChildScale()); }
float Control::Height() { return FromPixels(Widget()->height(), container_->ChildScale()); }
void Control::SetLeft(float left) { Move(left, Top()); }
void Control::SetTop(float top) { Move(Left(), top); }
void Control::SetWidth(float width) { Move(Left(), Top(), width); }
void Control::SetHeight(float height) { Move(Left(), Top(), -1, height); }

void Control::Move(float left, float top, float width, float height) {
    QWidget* widget = Widget();
    const ScaleMode scale = container_->ChildScale();
    const int w = width < 0 ? widget->width() : ToPixels(width, scale);
    const int h = height < 0 ? widget->height() : ToPixels(height, scale);
    widget->setGeometry(ToPixels(left, scale), ToPixels(top, scale), std::max(0, w), std::max(0, h));
}

// A child widget that was never hidden counts as visible even while its
// container is not shown yet.
bool Control::Visible() { return !Widget()->isHidden(); }
void Control::SetVisible(bool visible) { Widget()->setVisible(visible); }
bool Control::Enabled() { return !Widget()->testAttribute(Qt::WA_ForceDisabled); }
void Control::SetEnabled(bool enabled) { Widget()->setEnabled(enabled); }

std::string Control::Tag() { return Widget()->property(TagProperty).toString().toStdString(); }
void Control::SetTag(const std::string& tag) { Widget()->setProperty(TagProperty, QString::fromStdString(tag)); }

std::string Control::FontName() { return Widget()->font().family().toStdString(); }
float Control::FontSize() { return static_cast<float>(Widget()->font().pointSizeF()); }
bool Control::FontBold() { return Widget()->font().bold(); }
bool Control::FontItalic() { return Widget()->font().italic(); }
void Control::SetFontName(const std::string& name) {
    SetFont(Widget(), [&](QFont& font) { font.setFamily(QString::fromStdString(name)); });
}
void Control::SetFontSize(float points) {
    SetFont(Widget(), [&](QFont& font) { font.setPointSizeF(points); });
}
void Control::SetFontBold(bool bold) {
    SetFont(Widget(), [&](QFont& font) { font.setBold(bold); });
}
void Control::SetFontItalic(bool italic) {
    SetFont(Widget(), [&](QFont& font) { font.setItalic(italic); });
}

// The fore colour is the text colour of every kind of control; the back
// colour fills the control's background, and for kinds with a field of
// their own (ColoursItsField) the field too.
int32_t Control::ForeColor() { return ColourNumber(Widget()->palette().color(QPalette::WindowText)); }

void Control::SetForeColor(int32_t colour) {
    QWidget* widget = Widget();
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ColourOf(colour));
    if (ColoursItsField())
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, ColourOf(colour));
    widget->setPalette(palette);
}

int32_t Control::BackColor() { return ColourNumber(Widget()->palette().color(QPalette::Window)); }

void Control::SetBackColor(int32_t colour) {
    QWidget* widget = Widget();
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ColourOf(colour));
    if (ColoursItsField())
        for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button}) palette.setColor(role, ColourOf(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void Control::SetFocus() {
    QWidget* widget = Widget();
    if (!widget->isVisible() || !widget->isEnabled() || !widget->window()->isEnabled())
        throw Failure(failure_number::InvalidArgument, "Invalid procedure call or argument");
    widget->setFocus(Qt::OtherFocusReason);
}

void Control::ZOrder(int position) { position == 0 ? Widget()->raise() : Widget()->lower(); }

void Control::Refresh() {
    QWidget* widget = Widget();
    if (widget->isVisible()) widget->repaint();
}

WindowHandle Control::hWnd() { return Widget(); }

void Control::CopyLook(Control& from) {
    QWidget* source = from.Widget();
    QWidget* widget = Widget();
    widget->setGeometry(source->geometry());
    widget->setFont(source->font());
    widget->setPalette(source->palette());
    widget->setAutoFillBackground(source->autoFillBackground());
    widget->setEnabled(!source->testAttribute(Qt::WA_ForceDisabled));
    widget->setProperty(TagProperty, source->property(TagProperty));
}

void Control::Fire(const MouseHandler& handler, QMouseEvent& event) {
    if (!handler) return;
    const MouseArguments mouse = MouseArgumentsOf(event, container_->ChildScale());
    // A copy: the handler may unload the form and with it this control.
    const MouseHandler run = handler;
    Guarded([&] { run(mouse.button, mouse.shift, mouse.x, mouse.y); });
}

void Control::UserMouseMove(QMouseEvent& event) { Fire(MouseMove, event); }
void Control::UserMouseButton(QMouseEvent& event, bool down) { Fire(down ? MouseDown : MouseUp, event); }

void Control::CodeEvent(const std::function<void()>& handler) {
    if (!handler || form_.Designing()) return;
    const std::function<void()> run = handler;
    run();
}

void Control::UserClick() {
    if (!Click) return;
    const std::function<void()> run = Click;
    Guarded([&] { run(); });
}

}  // namespace ui
