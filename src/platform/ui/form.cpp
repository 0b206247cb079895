#include "platform/ui/form.h"

#include "platform/failure.h"
#include "platform/ui/colour.h"
#include "platform/ui/control.h"
#include "platform/ui/control_group.h"
#include "platform/ui/form_widget.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal_loops.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/timer.h"
#include "platform/ui/ui_failures.h"

#include <QApplication>
#include <QEventLoop>

#include <algorithm>

namespace ui {
namespace {

std::vector<Form*>& LoadedForms() {
    static std::vector<Form*> forms;
    return forms;
}

// A retired window may still be dispatching the event whose handler unloaded
// its form, so it goes through deferred deletion.
void Retire(FormWidget* window) {
    window->owner = nullptr;
    window->hide();
    if (QCoreApplication::instance()) window->deleteLater();
}
}  // namespace

bool AnyFormLoaded() { return !LoadedForms().empty(); }

std::vector<QWidget*> LoadedFormWindows() {
    std::vector<QWidget*> windows;
    for (Form* form : LoadedForms()) windows.push_back(form->hWnd());
    return windows;
}

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
    std::erase(LoadedForms(), this);
    if (widget_) Retire(widget_);
}

void Form::Load() {
    if (widget_ || loading_) return;
    loading_ = true;
    QApplication::setQuitOnLastWindowClosed(false);
    auto* window = new FormWidget;
    window->owner = this;
    window->setMouseTracking(true);
    window->setWindowTitle(QString::fromStdString(name_));
    ApplyMousePointer(*window);
    widget_ = window;
    LoadedForms().push_back(this);
    for (Control* control : std::vector<Control*>(controls_)) control->CreateWindow();
    loading_ = false;
    designing_ = true;
    try {
        Design();
    } catch (...) {
        designing_ = false;
        throw;
    }
    designing_ = false;
    Form_Load();
}

void Form::Unload() { Unload(vbFormCode); }

bool Form::Unload(int mode) {
    if (!widget_) return true;
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel) return false;
    Form_Unload(cancel);
    if (cancel || !widget_) return !widget_;
    for (ControlGroup* group : std::vector<ControlGroup*>(groups_)) group->DropRunTimeElements();
    for (Timer* timer : timers_) timer->Reset();
    for (Control* control : controls_) control->ForgetWindow();
    FormWidget* window = widget_;
    widget_ = nullptr;
    Retire(window);
    std::erase(LoadedForms(), this);
    EndModal();
    if (!AnyFormLoaded()) ExitModalLoops();
    return true;
}

FormWidget* Form::Window() {
    Load();
    return widget_;
}

void Form::Show(int modal) {
    FormWidget* window = Window();
    if (modal != vbModal) {
        window->show();
        return;
    }
    if (modalLoop_ || window->isVisible())
        throw Failure(failure::FormAlreadyDisplayed, "Form already displayed; can't show modally");
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
    QEventLoop loop;
    modalLoop_ = &loop;
    {
        const ModalLoopScope scope(loop);
        loop.exec();
    }
    modalLoop_ = nullptr;
    if (widget_ && !widget_->isVisible()) widget_->setWindowModality(Qt::NonModal);
    RethrowDeferred();
}

void Form::Hide() {
    Window()->hide();
    EndModal();
}

void Form::EndModal() {
    if (modalLoop_) modalLoop_->exit();
}

void Form::ZOrder(int position) {
    FormWidget* window = Window();
    if (position == 0) {
        window->raise();
        window->activateWindow();
    } else {
        window->lower();
    }
}

void Form::Refresh() {
    FormWidget* window = Window();
    if (window->isVisible()) window->repaint();
}

std::string Form::Caption() { return Window()->windowTitle().toStdString(); }
void Form::SetCaption(const std::string& caption) { Window()->setWindowTitle(QString::fromStdString(caption)); }

float Form::Left() { return FromPixels(Window()->frameGeometry().x(), vbTwips); }
float Form::Top() { return FromPixels(Window()->frameGeometry().y(), vbTwips); }
float Form::Width() { return FromPixels(Window()->frameGeometry().width(), vbTwips); }
float Form::Height() { return FromPixels(Window()->frameGeometry().height(), vbTwips); }
void Form::SetLeft(float left) { Move(left, Top()); }
void Form::SetTop(float top) { Move(Left(), top); }
void Form::SetWidth(float width) { Move(Left(), Top(), width); }
void Form::SetHeight(float height) { Move(Left(), Top(), -1, height); }

void Form::Move(float left, float top, float width, float height) {
    FormWidget* window = Window();
    window->move(ToPixels(left, vbTwips), ToPixels(top, vbTwips));
    if (width < 0 && height < 0) return;
    const QSize frame = window->frameGeometry().size() - window->size();
    QSize inner = window->size();
    if (width >= 0) inner.setWidth(std::max(0, ToPixels(width, vbTwips) - frame.width()));
    if (height >= 0) inner.setHeight(std::max(0, ToPixels(height, vbTwips) - frame.height()));
    if (window->fixedSize)
        window->setFixedSize(inner);
    else
        window->resize(inner);
}

float Form::ScaleWidth() { return FromPixels(Window()->width(), Window()->scaleMode); }
float Form::ScaleHeight() { return FromPixels(Window()->height(), Window()->scaleMode); }
int Form::ScaleMode() { return Window()->scaleMode; }
void Form::SetScaleMode(int mode) { Window()->scaleMode = mode == vbPixels ? vbPixels : vbTwips; }

void Form::SetBorderStyle(int style) {
    FormWidget* window = Window();
    window->setWindowFlag(Qt::FramelessWindowHint, style == vbBSNone);
    window->fixedSize = style == vbFixedSingle || style == vbFixedDialog;
    if (window->fixedSize) {
        window->setFixedSize(window->size());
    } else {
        window->setMinimumSize(0, 0);
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

int Form::WindowState() {
    const Qt::WindowStates state = Window()->windowState();
    if (state & Qt::WindowMinimized) return vbMinimized;
    if (state & Qt::WindowMaximized) return vbMaximized;
    return vbNormal;
}

void Form::SetWindowState(int state) {
    Window()->setWindowState(state == vbMaximized   ? Qt::WindowMaximized
                             : state == vbMinimized ? Qt::WindowMinimized
                                                    : Qt::WindowNoState);
}

bool Form::Visible() { return Window()->isVisible(); }
void Form::SetVisible(bool visible) { visible ? Show() : Hide(); }
bool Form::Enabled() { return Window()->isEnabled(); }
void Form::SetEnabled(bool enabled) { Window()->setEnabled(enabled); }

int32_t Form::BackColor() { return ColourNumber(Window()->palette().color(QPalette::Window)); }

void Form::SetBackColor(int32_t colour) {
    FormWidget* window = Window();
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, ColourOf(colour));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

ui::Picture Form::Picture() { return Window()->picture; }

void Form::SetPicture(const ui::Picture& picture) {
    FormWidget* window = Window();
    window->picture = picture;
    window->update();
}

std::string Form::FontName() { return Window()->font().family().toStdString(); }
float Form::FontSize() { return static_cast<float>(Window()->font().pointSizeF()); }
bool Form::FontBold() { return Window()->font().bold(); }

void Form::SetFontName(const std::string& name) {
    QFont font = Window()->font();
    font.setFamily(QString::fromStdString(name));
    Window()->setFont(font);
}

void Form::SetFontSize(float points) {
    QFont font = Window()->font();
    font.setPointSizeF(points);
    Window()->setFont(font);
}

void Form::SetFontBold(bool bold) {
    QFont font = Window()->font();
    font.setBold(bold);
    Window()->setFont(font);
}

WindowHandle Form::hWnd() { return Window(); }

std::vector<Control*> Form::Controls() {
    Load();
    return controls_;
}

QWidget* Form::ClientArea() { return Window(); }
ui::ScaleMode Form::ChildScale() { return Window()->scaleMode; }

void Form::Register(Control& control) { controls_.push_back(&control); }
void Form::Forget(Control& control) { std::erase(controls_, &control); }
void Form::Register(Timer& timer) { timers_.push_back(&timer); }
void Form::Forget(Timer& timer) { std::erase(timers_, &timer); }
void Form::Register(ControlGroup& group) { groups_.push_back(&group); }
void Form::Forget(ControlGroup& group) { std::erase(groups_, &group); }

void Form::UserClose(bool& accepted) {
    accepted = false;
    Guarded([&] { accepted = Unload(vbFormControlMenu); });
}

void Form::UserResize() {
    Guarded([this] { Form_Resize(); });
}

void Form::UserMouseMove(int button, int shift, float x, float y) {
    Guarded([&] { Form_MouseMove(button, shift, x, y); });
}

}  // namespace ui
