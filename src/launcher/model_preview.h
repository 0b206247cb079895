#pragma once

// The player page's small 3D scene: a retained-mode world of its own, with
// its own driver, clipper, device and frames, that shares nothing with the
// game's scene. The launcher window makes it anew for every change of side,
// skin or quality and drops it on unload.

#include "platform/rm/rm.h"

#include <memory>
#include <string>
#include <vector>

struct ModelPreview {
    std::shared_ptr<rm::DirectDraw4> draw;
    std::shared_ptr<rm::Clipper> clipper;
    std::shared_ptr<rm::Direct3DRM> rm;
    std::shared_ptr<rm::Device> device;
    std::shared_ptr<rm::Viewport> viewport;
    rm::FramePtr scene;
    rm::FramePtr camera;
    rm::FramePtr model;
    rm::FramePtr light;
};

// The skin codes of a side, from the names of the models folder's files in
// their order: those starting with `prefix` ("TS" or "GS") and ending ".bmp",
// both in exactly that case; each code is the name from its third character
// to before its first ".", in upper case.
std::vector<std::string> SkinCodes(const std::vector<std::string>& fileNames, const std::string& prefix);

// The first of those files whose code is `code`; "" for none. Codes are
// upper case and names keep theirs, so the name cannot be made from the
// code.
std::string SkinFile(const std::vector<std::string>& fileNames, const std::string& prefix, const std::string& code);
