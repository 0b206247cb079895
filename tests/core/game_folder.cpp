#include "game_folder.h"

#include "core/game_state.h"
#include "platform/os/executable.h"
#include "platform/rm/rm.h"
#include "scene_frames.h"

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
    MakeSceneFrames();
    CheminJeu = folder.Path();
    D3DRM->SetSearchPath(folder.File("media"));
}
