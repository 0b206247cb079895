#pragma once

// Everything of the retained-mode 3D layer, for callers that use most of it.
// Conventions at its interface: left-handed axes with y up, row vectors
// (p · M), colours 0 to 1 (or 0xAARRGGBB), angles in radians, enumerations
// counted from 1, frame and visual arrays from 0. A failing call throws
// Failure.

#include "platform/rm/device.h"
#include "platform/rm/direct3drm.h"
#include "platform/rm/directdraw.h"
#include "platform/rm/directx7.h"
#include "platform/rm/viewport.h"
