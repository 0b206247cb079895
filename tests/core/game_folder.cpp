#include "game_folder.h"

#include "core/game_state.h"
#include "platform/os/executable.h"
#include "platform/rm/rm.h"

#include <filesystem>

namespace fs = std::filesystem;

GameFolder::GameFolder() {
    const fs::path source(QUELLMAR_GAME_DIR);
    const fs::path target(Path());
    for (const char* folder : {"media", "models", "weapons", "map"})
        fs::copy(source / folder, target / folder, fs::copy_options::recursive);
    os::SetExecutableFolder(Path());
}

GameFolder::~GameFolder() { os::SetExecutableFolder({}); }

void MakeLevelFrames(const GameFolder& folder) {
    DX7 = std::make_shared<rm::DirectX7>();
    D3DRM = DX7->Direct3DRMCreate();
    CheminJeu = folder.Path();
    D3DRM->SetSearchPath(folder.File("media"));
    FrameScene = D3DRM->CreateFrame(nullptr);
    FrameMonde = D3DRM->CreateFrame(FrameScene);
    FrameCamera = D3DRM->CreateFrame(FrameMonde);
    FrameCouloir1 = D3DRM->CreateFrame(FrameMonde);
    FrameCouloir2 = D3DRM->CreateFrame(FrameMonde);
    FrameMurs = D3DRM->CreateFrame(FrameMonde);
    FrameSols = D3DRM->CreateFrame(FrameMonde);
    FramePlafonds = D3DRM->CreateFrame(FrameMonde);
}
