#pragma once

#include "platform/ui/container.h"
#include "platform/window_handle.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <string>

class QMouseEvent;

namespace ui {

// Mouse buttons and shift keys as the toolkit's mouse events pass them.
enum MouseButton : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum ShiftKey : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

// One control of a form: a window inside the form with its position in its
// container's units, visibility, enabled state, font, colours and tag.
//
// A control is a member of its form's class and lives as long as it; its
// window exists while the form is loaded. Reading or setting a property of a
// control whose form is not loaded loads the form first (running its load
// event), as the toolkit did. Each load recreates the windows with the
// toolkit's defaults and then runs the form's Design, so a reloaded form
// starts again from its design.
//
// Visible and Enabled are the control's own settings: a control in a hidden
// or disabled frame keeps its own Visible and Enabled, but shows and reacts
// only as its frame does.
//
// Events are plain function members set once by the form's class. Those the
// user causes run inside the event guard (guard.h); those code causes by
// setting a property run directly, in the setter.
class Control {
public:
    // `index` is the control's index in its control array, -1 for none.
    Control(Container& container, std::string name, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    int Index() const { return index_; }
    Form& Parent() const { return form_; }
    Container& GetContainer() const { return *container_; }
    // Moves the control into another container of the same form; its Left
    // and Top keep their values, now relative to the new container.
    void SetContainer(Container& container);

    float Left();
    float Top();
    float Width();
    float Height();
    void SetLeft(float left);
    void SetTop(float top);
    void SetWidth(float width);
    void SetHeight(float height);
    // Negative width or height keeps the current one.
    void Move(float left, float top, float width = -1, float height = -1);

    bool Visible();
    void SetVisible(bool visible);
    bool Enabled();
    void SetEnabled(bool enabled);

    std::string Tag();
    void SetTag(const std::string& tag);

    std::string FontName();
    void SetFontName(const std::string& name);
    float FontSize();
    void SetFontSize(float points);
    bool FontBold();
    void SetFontBold(bool bold);
    bool FontItalic();
    void SetFontItalic(bool italic);

    int32_t ForeColor();
    void SetForeColor(int32_t colour);
    int32_t BackColor();
    void SetBackColor(int32_t colour);

    // Gives the control the keyboard focus. Fails (invalid procedure call,
    // 5) when the control or its form is hidden or disabled.
    void SetFocus();
    // 0 brings the control in front of its siblings, 1 sends it behind.
    void ZOrder(int position = 0);
    void Refresh();

    WindowHandle hWnd();

    std::function<void()> Click;
    MouseHandler MouseMove;
    MouseHandler MouseDown;
    MouseHandler MouseUp;

    // Called by the form (and by a control array for the elements it loads
    // at run time): build this control's window in its design container, or
    // forget it when the form unloads.
    void CreateWindow();
    void ForgetWindow();
    // Called by the control's window for the user's mouse input.
    void UserMouseMove(QMouseEvent& event);
    void UserMouseButton(QMouseEvent& event, bool down);
    void UserClick();

    // Copies the look of another control of the same kind (geometry, font,
    // colours, tag and what the kind adds): a control-array element loaded
    // at run time starts as the array's first element.
    virtual void CopyLook(Control& from);

protected:
    // Whether the fore and back colours also colour the field inside the
    // control (a text box's, a list's, a button's face) besides its caption
    // and surface. Frames and picture boxes leave the fields of the controls
    // inside them alone, and option buttons and check boxes keep their
    // white mark boxes, as on the toolkit.
    virtual bool ColoursItsField() const { return true; }
    // The control's window; loads the form when it is not loaded.
    QWidget* Widget();
    // Runs an event that code caused by setting a property, unguarded, so
    // that its failure passes to that code. The form's Design sets the
    // design and causes no events.
    void CodeEvent(const std::function<void()>& handler);
    virtual QWidget* CreateWidget() = 0;

private:
    void Fire(const MouseHandler& handler, QMouseEvent& event);

    Form& form_;
    Container* designContainer_;
    Container* container_;
    std::string name_;
    int index_;
    QPointer<QWidget> widget_;
};

}  // namespace ui
