// The player page: the side and skin lists and the turning preview of the
// player model, with the side's still picture in its place when the preview
// cannot be made.

#include "core/game_state.h"
#include "core/object_ref.h"
#include "core/paths.h"
#include "core/text.h"
#include "launcher/launcher_window.h"
#include "platform/os/executable.h"
#include "platform/os/files.h"
#include "platform/ui/colour.h"
#include "platform/ui/units.h"

#include <QWidget>

#include <vector>

namespace {

constexpr int kTerroristSide = 0;
constexpr int kTimerInterval = 10;  // milliseconds
constexpr int32_t kRenderModeLightInModelSpace = 8;
constexpr float kMaterialPower = 100;
// Scene time per tick, and the model's turn per unit of scene time.
constexpr double kTickTime = 0.5;
constexpr float kTurnPerUnit = 0.2f;
constexpr float kModelScale = 0.6f;
constexpr float kFrontPlane = 1;
constexpr float kBackPlane = 100;

std::string ModelsFolder() { return JoinPath(os::ExecutableFolder(), "models"); }

// The file the side's mesh takes its texture from; the chosen skin is copied
// over it.
std::string SideTexture(int side) { return side == kTerroristSide ? "terror2_0.bmp" : "gign2_0.bmp"; }
std::string SideMesh(int side) { return side == kTerroristSide ? "terror.x" : "gign.x"; }

// "TS" or "GS": the side name's first letter and "S".
std::string SkinPrefix(const std::string& side) { return Left(side, 1) + "S"; }

// White, lit by the scene, with a soft highlight: every mesh of the model's
// first frame, down to the frames inside it, where the model files keep
// their meshes.
void DressModel(rm::Direct3DRM& rm, const rm::Frame& model) {
    const rm::MaterialPtr material = rm.CreateMaterial(kMaterialPower);
    material->SetAmbient(1, 1, 1);
    material->SetEmissive(0, 0, 0);
    material->SetSpecular(0.5f, 0.5f, 0.5f);
    std::vector<rm::FrameVisit> stack;
    rm::VisitFrames(Ref(model.GetChild(0)), {}, stack, [&](const rm::Frame& frame, const rm::Matrix4&) {
        for (int32_t i = 0; i < frame.GetVisualCount(); ++i) {
            auto& mesh = dynamic_cast<rm::MeshBuilder&>(Ref(frame.GetVisual(i)));
            mesh.SetMaterial(material);
            mesh.SetColorRGB(1, 1, 1);
        }
        return true;
    });
}

bool IsSkin(const std::string& name, const std::string& prefix) {
    return name.starts_with(prefix) && name.ends_with(".bmp");
}

std::string CodeOf(const std::string& name) { return UCase(Mid(name, 3, InStr(name, ".") - 3)); }

}  // namespace

std::vector<std::string> SkinCodes(const std::vector<std::string>& fileNames, const std::string& prefix) {
    std::vector<std::string> codes;
    for (const std::string& name : fileNames)
        if (IsSkin(name, prefix)) codes.push_back(CodeOf(name));
    return codes;
}

std::string SkinFile(const std::vector<std::string>& fileNames, const std::string& prefix, const std::string& code) {
    for (const std::string& name : fileNames)
        if (IsSkin(name, prefix) && CodeOf(name) == code) return name;
    return {};
}

void form2::WireSetupPages() {
    cmbtyp.Click = [this] { cmbtyp_Click(); };
    Combo1.Click = [this] { Combo1_Click(); };
    Combo2.Click = [this] { Combo2_Click(); };
    Combo3.Click = [this] { Combo3_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    Chcnt.Click = [this] { Chcnt_Click(); };
}

// The preview stands where the still pictures do.
void form2::DesignPreview() {
    Picture1.Move(Image4.Left(), Image4.Top(), Image4.Width(), Image4.Height());
    Picture1.SetBackColor(ui::vbBlack);
    Timer1.SetEnabled(false);
    Timer1.SetInterval(kTimerInterval);
}

void form2::cmbtyp_Click() {
    bool ok = false;
    affiche_MODELE(ok);
    Image4.SetVisible(!ok && cmbtyp.ListIndex() == 0);
    Image5.SetVisible(!ok && cmbtyp.ListIndex() == 1);
    ListSkins();
    if (Combo3.ListCount() > 0) Combo3.SetListIndex(0);
}

void form2::ListSkins() {
    Combo3.Clear();
    for (const std::string& code : SkinCodes(os::FilesEndingWith(ModelsFolder(), ".bmp"), SkinPrefix(cmbtyp.Text())))
        Combo3.AddItem(code);
}

void form2::Combo1_Click() {
    bool ok = false;
    affiche_MODELE(ok);
}

void form2::Combo2_Click() {
    bool ok = false;
    affiche_MODELE(ok);
}

void form2::Combo3_Click() {
    bool ok = false;
    affiche_MODELE(ok);
}

// A failed build leaves nothing standing: the timer off and no device on
// Picture1.
void form2::affiche_MODELE(bool& ok) {
    Timer1.SetEnabled(false);
    ReleasePreview();
    try {
        BuildPreview();
        Timer1.SetEnabled(true);
        ok = true;
    } catch (...) {
        if (!IsFailure(std::current_exception())) throw;
        ReleasePreview();
        ok = false;
    }
}

void form2::BuildPreview() {
    MakePreviewDevice();
    CopyChosenSkin();
    LoadPreviewModel();
    PlacePreviewScene();
}

// The chosen driver must be usable, though the preview always runs on the
// default one.
void form2::MakePreviewDevice() {
    ModelPreview& p = preview_;
    p.draw = Ref(DX7).DirectDraw4Create(DDrawGuid);
    p.draw = Ref(DX7).DirectDraw4Create("");
    p.clipper = p.draw->CreateClipper(0);
    p.clipper->SetHWnd(Picture1.hWnd());
    p.rm = Ref(DX7).Direct3DRMCreate();
    p.rm->SetSearchPath(os::ExecutableFolder() + ";" + ModelsFolder() + ";");
    p.scene = p.rm->CreateFrame(nullptr);
    p.camera = p.rm->CreateFrame(p.scene);
    p.device = p.rm->CreateDeviceFromClipper(p.clipper, "", ui::ToPixels(Picture1.Width(), ui::vbTwips),
                                             ui::ToPixels(Picture1.Height(), ui::vbTwips));
    p.device->SetQuality(Combo2.ItemData(Combo2.ListIndex()));
    p.device->SetRenderMode(kRenderModeLightInModelSpace);
    p.device->SetDither(true);
    p.device->SetTextureQuality(Combo1.ItemData(Combo1.ListIndex()));
    p.viewport = p.rm->CreateViewport(p.device, p.camera, 0, 0, p.device->GetWidth(), p.device->GetHeight());
}

// Over the side's texture, which the mesh loaded next takes. A skin that is
// missing, or a copy the folder refuses, leaves the skin copied last.
void form2::CopyChosenSkin() {
    if (Combo3.ListIndex() < 0) return;
    const std::string skin =
        SkinFile(os::FilesEndingWith(ModelsFolder(), ".bmp"), SkinPrefix(cmbtyp.Text()), Combo3.Text());
    if (skin.empty()) return;
    skip([&] {
        os::FileCopy(JoinPath(ModelsFolder(), skin), JoinPath(ModelsFolder(), SideTexture(cmbtyp.ListIndex())));
    });
}

void form2::LoadPreviewModel() {
    ModelPreview& p = preview_;
    p.model = p.rm->CreateFrame(p.scene);
    p.model->LoadFromFile(JoinPath(ModelsFolder(), SideMesh(cmbtyp.ListIndex())));
    DressModel(*p.rm, *p.model);
    p.viewport->SetBack(kBackPlane);
    p.viewport->SetFront(kFrontPlane);
    p.viewport->Clear(rm::clear::All);
}

// The camera is placed while the model still stands at the origin, so it
// looks from the front and above; the light from far in front.
void form2::PlacePreviewScene() {
    ModelPreview& p = preview_;
    p.model->SetRotation(p.scene, {0, 1, 0}, kTurnPerUnit);
    p.scene->AddLight(p.rm->CreateLightRGB(rm::light_type::Ambient, 1, 1, 1));
    p.camera->SetPosition(p.model, 0, 15, -35);
    p.model->AddScale(rm::combine::Before, kModelScale, kModelScale, kModelScale);
    p.camera->LookAt(p.model, p.scene, 0);
    p.model->SetPosition(p.scene, 0, -5, 0);
    p.light = p.rm->CreateFrame(p.scene);
    p.light->SetPosition(p.model, 0, 10, -200);
    p.light->LookAt(p.model, p.scene, 0);
    p.light->AddLight(p.rm->CreateLightRGB(rm::light_type::Spot, 1, 1, 1));
}

// A lost device only stops the picture from changing. The model turns on
// while the player page is closed, but nobody sees a picture drawn then, so
// none is.
void form2::Timer1_Timer() {
    ModelPreview& p = preview_;
    skip([&] { Ref(p.scene).Move(kTickTime); });
    if (!Picture1.hWnd()->isVisible()) return;
    skip([&] { Ref(p.viewport).Clear(rm::clear::All); });
    skip([&] { Ref(p.viewport).Render(p.scene); });
    skip([&] { Ref(p.device).Update(); });
}

// The viewport and device first, so the device's picture leaves Picture1
// before the frames it shows go.
void form2::ReleasePreview() {
    preview_.viewport = {};
    preview_.device = {};
    preview_ = {};
}

// No preview device outlives the launcher into the game.
void form2::Form_Unload(int&) {
    Timer1.SetEnabled(false);
    ReleasePreview();
}
