#pragma once

// The busy pattern of the status window's requests, as one scope: Start puts
// up the hourglass, disables the calling window and shows the status text;
// the end of the scope unloads the window, puts back the default pointer and
// enables the caller again, also when the request or the reading of its
// reply failed on the way.

#include "web/status_window.h"

#include <string>

class Form3::Busy {
public:
    enum class End { Plain, CallerToFront };
    // What shows the wait when there is no calling window: only the pointer
    // (the status window is neither shown nor unloaded), the pointer and an
    // unload at the end, or the status window shown with nothing disabled.
    enum class Alone { PointerOnly, PointerThenUnload, StatusWindow };

    Busy(Form3& window, ui::Form* qui, End end = End::Plain, Alone alone = Alone::PointerOnly);
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

    void Start(const std::string& status);
    // From here on the windows and the pointer stay as they are when the
    // scope ends: what comes next puts them back itself.
    void HandOver() { handedOver_ = true; }

private:
    Form3& window_;
    ui::Form* qui_;
    End end_;
    Alone alone_;
    bool handedOver_ = false;
};

// "Please Wait Connexion to " + host + " in progress..."
std::string WaitingFor(const std::string& host);
