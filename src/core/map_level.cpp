#include "core/map_level.h"

#include "core/game_state.h"
#include "core/map_level_file.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/texture_callback.h"
#include "platform/os/files.h"
#include "platform/os/program_end.h"
#include "platform/rm/direct3drm.h"
#include "platform/ui/message_box.h"
#include "web/status_window.h"

#include <algorithm>

namespace {

constexpr int32_t kRenderAndPick = rm::enable::Render | rm::enable::Pick;
constexpr int32_t kDrawAndPick = rm::traversal::Draw | rm::traversal::Pick;

// The map faces that the "VILLAGE" wall mesh loses once loaded, in this
// order (counted from 0).
constexpr int32_t kVillageDeletedFaces[] = {4795, 4788};

[[noreturn]] void MapMissing() {
    ui::MsgBox("dezipper le fichier " + NativePath(CheminJeu + "\\" + NomMap + ".exe") + "\r\n" +
                   " dans le repertoire " + NativePath(CheminJeu + "\\map") + "\r\n" + " et relancer le jeu !!",
               ui::vbOKOnly);
    os::EndProgram("map " + NomMap + " missing");
}

// A mesh builder holding `file`, enabled with `enableFlags`, scaled by `scale`.
rm::MeshBuilderPtr LoadLevelMesh(const std::string& file, const rm::TextureCallback& callback, int32_t enableFlags,
                                 float scale) {
    const rm::MeshBuilderPtr mesh = D3DRM->CreateMeshBuilder();
    mesh->LoadFromFile(file, callback);
    mesh->Enable(enableFlags);
    mesh->ScaleMesh(scale, scale, scale);
    return mesh;
}

void AddLevelMesh(const rm::FramePtr& frame, const rm::MeshBuilderPtr& mesh, int32_t traversalOptions) {
    frame->AddVisual(mesh);
    frame->SetTraversalOptions(traversalOptions);
}

// A wall mesh with fewer faces keeps what it has.
void DeleteVillageFaces(rm::MeshBuilder& walls) {
    for (const int32_t face : kVillageDeletedFaces)
        if (face < walls.GetFaceCount()) walls.DeleteFace(walls.GetFace(face));
}

float LargestExtent(const rm::Box& box) {
    return std::max({box.max.x - box.min.x, box.max.y - box.min.y, box.max.z - box.min.z});
}

void AddMapLight() {
    const rm::FramePtr lightFrame = D3DRM->CreateFrame(FrameCamera);
    lightFrame->AddLight(D3DRM->CreateLightRGB(rm::light_type::Point, 0.8f, 0.8f, 0.7f));
    lightFrame->SetPosition(FrameMurs, PosLumiere.x, PosLumiere.y, PosLumiere.z);
}

// Floors and walls are seen and walked on, ladders climbed, the ceiling only
// seen: a pick never stops at it.
void LoadLevelMeshes(const rm::TextureCallback& callback, float scale) {
    const rm::MeshBuilderPtr floors = LoadLevelMesh(NomMap + ".sol", callback, kRenderAndPick, scale);
    floors->GenerateNormals(1.0f, 1);
    AddLevelMesh(FrameSols, floors, kDrawAndPick);

    const rm::MeshBuilderPtr walls = LoadLevelMesh(NomMap + ".mur", callback, kRenderAndPick, scale);
    walls->GenerateNormals(1.0f, 1);
    AddLevelMesh(FrameMurs, walls, kDrawAndPick);
    if (UCase(NomMap) == "VILLAGE") DeleteVillageFaces(*walls);

    // A level whose start made no ladders' frame has no ladders: the player's
    // ladder test passes over it.
    const std::string ladderFile = NativePath(CheminJeu + "\\map\\" + NomMap + ".lad");
    if (FrameEchelles && os::FileExists(ladderFile)) {
        const rm::MeshBuilderPtr ladders = LoadLevelMesh(ladderFile, callback, kRenderAndPick, scale);
        AddLevelMesh(FrameEchelles, ladders, kDrawAndPick);
        ladders->SetName("echelle");
    }

    AddLevelMesh(FramePlafonds, LoadLevelMesh(NomMap + ".pla", callback, rm::enable::Render, scale),
                 rm::traversal::Draw);
}

// The sky box is a cube from -1 to 1, sized to enclose the whole level.
void LoadSkyBox(const rm::TextureCallback& callback) {
    const int32_t b = CLng(static_cast<double>(LargestExtent(FrameMonde->GetHierarchyBox())));
    const float skyScale = static_cast<float>(b) / 2;
    AddLevelMesh(FrameCouloir1, LoadLevelMesh("boite.x", callback, kRenderAndPick, skyScale), rm::traversal::Draw);
}

}  // namespace

// Map names come from other machines and from an editable list; only a plain
// file name may become part of a path.
bool IsPlainMapName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    });
}

void ChargeCarte() {
    if (!IsPlainMapName(NomMap)) MapMissing();
    // A missing map is fetched from the web server first; a failed transfer
    // passes to the caller, a package without the map leaves it missing.
    const std::string mapFile = NativePath(CheminJeu + "\\map\\" + NomMap + ".map");
    if (!os::FileExists(mapFile)) {
        StatusWindow().GetAnyFile(NomMap, nullptr);
        if (!os::FileExists(mapFile)) MapMissing();
    }

    SeuilSol = 50.0;
    TeamGame = InStr(LCase(NomMap), "snipper") != 0;

    const MapLevelFile map = ReadMapLevelFile(mapFile);
    CielMap = map.skyPrefix;
    PosLumiere = map.light;
    std::copy(map.spawnPoints.begin(), map.spawnPoints.end(), SpawnPoints.begin());

    AddMapLight();
    D3DRM->SetSearchPath(NativePath(CheminJeu + "\\map"));

    Class1 textures;
    const rm::TextureCallback callback = [&textures](const std::string& name) {
        return textures.Direct3DRMLoadTextureCallback3_CallbackRMLoadTexture(name);
    };
    LoadLevelMeshes(callback, static_cast<float>(map.scale));
    LoadSkyBox(callback);
}
