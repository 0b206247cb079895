#pragma once

// The 3D device the game draws on and the view through which a camera sees
// the scene. The device is made once per run by the game start, either full
// screen or in the game window, and released at the end of the game.

#include "core/shared_state.h"
#include "platform/window_handle.h"

#include <cstdint>
#include <memory>

namespace rm {
class Clipper;
class DirectDraw4;
class DirectDraw7;
class Frame;
}  // namespace rm
namespace ui {
class Form;
}

// Used by the video set-up alone.
inline std::shared_ptr<rm::DirectDraw7> DDraw7 = Initial(&DDraw7, {});
inline std::shared_ptr<rm::DirectDraw4> DDrawFenetre = Initial(&DDrawFenetre, {});
inline std::shared_ptr<rm::Clipper> ClipperEcran = Initial(&ClipperEcran, {});

// Full screen: the display takes `window` (which stays above the picture with
// its own controls, such as the chat box), at ScreenWidth x ScreenHeight; the
// device draws into the back buffer of a flipping chain. The desktop's own
// display mode is not changed. Failures pass to the caller.
void InitPleinEcran(ui::Form& window);

// In the game window: `window` measures in pixels and is maximised when
// FullScreen is set; the device draws into `deviceArea` (a control filling
// the window, beneath its other controls), at the window's inner size.
// Failures pass to the caller.
void InitFenetre(ui::Form& window, WindowHandle deviceArea);

// After either path: the device and view sizes, the launcher's quality
// settings, render mode 2 and front-to-back sorting of the world.
void FinitDevice();

// Makes Vues(VueCourante) over the whole device for `camera` (FrameCamera
// when none) and hands back the rectangle and the camera used; whatever the
// caller passed in is replaced. Failing statements are skipped, so without a
// device the slot stays empty.
void CreeViewport(int32_t& x, int32_t& y, int32_t& width, int32_t& height, std::shared_ptr<rm::Frame>& camera);

// Releases the local player, emptying its slot, then the scene and the
// video objects at the end of a game; failing statements are skipped. DDraw7 and D3DRM stay until the program ends.
void LibereDirectX();
