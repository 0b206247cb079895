#pragma once

#include "platform/ui/picture.h"
#include "platform/ui/units.h"

#include <QElapsedTimer>
#include <QWidget>

namespace ui {

class Form;

// The top-level window of a loaded form. It holds the form's window-side
// state (scale mode, border, picture), so a reload starts from defaults.
class FormWidget : public QWidget {
public:
    FormWidget() = default;
    ~FormWidget() override;

    // Whether a form shown within the last second is still waiting for the
    // display's first expose, which paints it. Timers hold their ticks
    // meanwhile, as the original toolkit handled a pending paint before a
    // timer: a splash shown before its timer ticks appears with its picture.
    static bool FirstPaintPending();

    Form* owner = nullptr;
    ScaleMode scaleMode = vbTwips;
    bool fixedSize = false;
    Picture picture;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void StopAwaitingPaint();

    QElapsedTimer shownAt_;
};

}  // namespace ui
