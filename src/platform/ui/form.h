#pragma once

#include "platform/ui/container.h"
#include "platform/ui/picture.h"
#include "platform/window_handle.h"

#include <cstdint>
#include <string>
#include <vector>

class QEventLoop;

namespace ui {

class Control;
class ControlGroup;
class FormWidget;
class Timer;

enum FormShow : int { vbModeless = 0, vbModal = 1 };
enum BorderStyle : int { vbBSNone = 0, vbFixedSingle = 1, vbSizable = 2, vbFixedDialog = 3 };
enum WindowState : int { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };
// Why a form is being unloaded, as its query-unload event is told.
enum UnloadMode : int { vbFormControlMenu = 0, vbFormCode = 1 };

// A window of the program. Each window is a class derived from Form that
// holds its controls as members, sets their design in Design and handles
// their events.
//
// Life: a form is loaded on first use (Load, Show, or reading or setting any
// property of it or of its controls): its window and its controls' windows
// are made, Design runs, then Form_Load. Unload asks Form_QueryUnload and
// Form_Unload, either of which may cancel; then the windows go, timers stop
// and controls loaded at run time are dropped. The object itself stays, so
// the next use loads it again from its design. Member variables of the
// derived class keep their values across an unload.
//
// Positions and sizes of a form are in twips, outer frame included; its
// inner size (ScaleWidth, ScaleHeight) and its controls are in its ScaleMode.
//
// A window of the program reads like this:
//
//   class frmCreateGame : public ui::Form {
//   public:
//       frmCreateGame() : ui::Form("frmCreateGame") {
//           cmdCancel.Click = [] { os::EndProgram("CANCEL"); };
//           cmdCancel.MouseMove = [this](int, int, float, float) { cmdCancel.SetForeColor(255); };
//       }
//       ui::TextBox txtGameName{*this, "txtGameName"};
//       ui::Label cmdCancel{*this, "cmdCancel"};
//
//   protected:
//       void Design() override {
//           SetCaption("Create Game");
//           txtGameName.Move(1200, 240, 3000, 315);
//           txtGameName.SetText("Quellmar game");
//           cmdCancel.SetCaption("CANCEL");
//       }
//       void Form_MouseMove(int, int, float, float) override { cmdCancel.SetForeColor(16777215); }
//       void Form_QueryUnload(int& cancel, int unloadMode) override { cancel = unloadMode != ui::vbFormCode; }
//   };
class Form : public Container {
public:
    explicit Form(std::string name);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }

    void Load();
    // Unloads from the program's code (unload mode vbFormCode).
    void Unload();
    bool IsLoaded() const { return widget_ != nullptr; }
    // True while Design runs.
    bool Designing() const { return designing_; }

    // A modal show disables the other windows and returns when the form is
    // hidden or unloaded, with the event loop running meanwhile.
    void Show(int modal = vbModeless);
    void Hide();
    // 0 brings the window to the front and activates it; 1 sends it behind.
    void ZOrder(int position = 0);
    void Refresh();

    std::string Caption();
    void SetCaption(const std::string& caption);
    float Left();
    float Top();
    float Width();
    float Height();
    void SetLeft(float left);
    void SetTop(float top);
    void SetWidth(float width);
    void SetHeight(float height);
    void Move(float left, float top, float width = -1, float height = -1);
    float ScaleWidth();
    float ScaleHeight();
    int ScaleMode();
    void SetScaleMode(int mode);
    // Set in Design, before the window is first shown.
    void SetBorderStyle(int style);
    int WindowState();
    void SetWindowState(int state);

    bool Visible();
    void SetVisible(bool visible);
    bool Enabled();
    void SetEnabled(bool enabled);

    int32_t BackColor();
    void SetBackColor(int32_t colour);
    // The background picture, drawn at the inner top left corner, unscaled.
    ui::Picture Picture();
    void SetPicture(const ui::Picture& picture);
    std::string FontName();
    void SetFontName(const std::string& name);
    float FontSize();
    void SetFontSize(float points);
    bool FontBold();
    void SetFontBold(bool bold);

    WindowHandle hWnd();

    // The form's controls in the order they were made, those loaded at run
    // time last.
    std::vector<Control*> Controls();

    Form& OwnerForm() override { return *this; }
    QWidget* ClientArea() override;
    ui::ScaleMode ChildScale() override;

    // Bookkeeping of the form's members, called by their constructors.
    void Register(Control& control);
    void Forget(Control& control);
    void Register(Timer& timer);
    void Forget(Timer& timer);
    void Register(ControlGroup& group);
    void Forget(ControlGroup& group);

    // Called by the form's window.
    void UserClose(bool& accepted);
    void UserResize();
    void UserMouseMove(int button, int shift, float x, float y);

protected:
    // Sets the design of the form and its controls; runs at every load,
    // before Form_Load.
    virtual void Design() {}
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {}
    virtual void Form_Unload(int& /*cancel*/) {}
    virtual void Form_Resize() {}
    virtual void Form_MouseMove(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}

private:
    FormWidget* Window();
    bool Unload(int mode);
    void EndModal();

    std::string name_;
    FormWidget* widget_ = nullptr;
    bool loading_ = false;
    bool designing_ = false;
    QEventLoop* modalLoop_ = nullptr;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    std::vector<ControlGroup*> groups_;
};

// Whether any form is loaded (the program lives while one is).
bool AnyFormLoaded();
// The loaded forms' windows, for the global mouse pointer.
std::vector<QWidget*> LoadedFormWindows();

}  // namespace ui
