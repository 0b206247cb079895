#include "game_folder.h"

#include "core/game_state.h"
#include "platform/os/executable.h"
#include "platform/rm/rm.h"

#include <filesystem>

namespace fs = std::filesystem;

GameFolder::GameFolder() {
    const fs::path source(QUELLMAR_GAME_DIR);
    const fs::path target(Path());
    fs::copy(source / "media", target / "media");
    fs::create_directory(target / "weapons");
    for (const char* name : {"sniper2.bmp", "croix2.bmp"})
        fs::copy_file(source / "weapons" / name, target / "weapons" / name);
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
