#pragma once

#include "platform/ui/picture.h"
#include "platform/ui/units.h"

#include <QWidget>

namespace ui {

class Form;

// The top-level window of a loaded form. It holds the form's window-side
// state (scale mode, border, picture), so a reload starts from defaults.
class FormWidget : public QWidget {
public:
    FormWidget() = default;

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
};

}  // namespace ui
