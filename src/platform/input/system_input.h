#pragma once

#include "platform/input/input_source.h"

#include <QObject>

namespace input {

// The system's keyboard, mouse and cursor. Key and button state comes from
// an event filter on the application object, so every window of the
// program feeds it and none has to be named. Key repeats are not presses; a
// key or button released while the program had lost the input would never
// be seen going up, so losing the input releases everything. Hiding the
// cursor puts a blank application override cursor in place (the toolkit
// layer sets its pointers on windows, never as the override, so the two do
// not fight).
class SystemInput : public QObject, public InputSource {
    Q_OBJECT
public:
    // The one instance, owned by the application object.
    static SystemInput& Instance();

    Point CursorPos() const override;
    void MoveCursor(Point point) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SystemInput(QObject* application);
    void SetCursorVisible(bool visible) override;
};

}  // namespace input
