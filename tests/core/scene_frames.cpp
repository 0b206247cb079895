#include "scene_frames.h"

#include "core/game_state.h"
#include "platform/rm/rm.h"

void MakeSceneFrames() {
    DX7 = std::make_shared<rm::DirectX7>();
    D3DRM = DX7->Direct3DRMCreate();
    FrameScene = D3DRM->CreateFrame(nullptr);
    FrameMonde = D3DRM->CreateFrame(FrameScene);
    FrameCamera = D3DRM->CreateFrame(FrameMonde);
    FrameCouloir1 = D3DRM->CreateFrame(FrameMonde);
    FrameCouloir2 = D3DRM->CreateFrame(FrameMonde);
    FrameMurs = D3DRM->CreateFrame(FrameMonde);
    FrameSols = D3DRM->CreateFrame(FrameMonde);
    FramePlafonds = D3DRM->CreateFrame(FrameMonde);
}
