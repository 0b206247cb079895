#pragma once

class QWidget;

// A window as the platform layers pass it between them: the toolkit layer's
// forms hand theirs out, the 3D device draws into one, sound and input bind
// to one. None is a null handle.
using WindowHandle = QWidget*;
