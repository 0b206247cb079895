#include "core/built_in_levels.h"

#include "core/game_start.h"
#include "core/game_state.h"
#include "core/logos.h"
#include "core/object_ref.h"
#include "platform/failure.h"
#include "platform/rm/rm.h"

#include <numbers>

namespace {

constexpr int32_t kRenderOnly = rm::traversal::Draw;
constexpr int32_t kRenderAndPick = rm::traversal::Draw | rm::traversal::Pick;
constexpr int32_t kHidden = 0;

// Where the second corridor copy lies: half a turn about y, then moved,
// relative to the first copy.
void PlaceSecondCopy(const std::shared_ptr<rm::Frame>& frame) {
    Ref(frame).AddRotation(rm::combine::Before, {0, 1, 0}, std::numbers::pi_v<float>);
    Ref(frame).SetPosition(FrameCouloir1, 69.9762f, 0, -399.9594f);
}

std::shared_ptr<rm::MeshBuilder> NamedMeshBuilder(const std::string& name) {
    auto mesh = Ref(D3DRM).CreateMeshBuilder();
    mesh->SetName(name);
    return mesh;
}

// Loads a mesh file into `frame` and scales the file's first frame to a tenth.
void LoadScaledTenth(const std::shared_ptr<rm::Frame>& frame, const std::string& file) {
    Ref(frame).LoadFromFile(file);
    Ref(frame->GetChildren().GetElement(0)).AddScale(rm::combine::Before, 0.1f, 0.1f, 0.1f);
}

}  // namespace

bool EstNiveauInterne(const std::string& nomMap) { return nomMap == "couloirs" || nomMap == "entrepot"; }

void ChargeCouloirs() {
    SeuilSol = 5.0;
    Ref(FrameMonde).AddLight(Ref(D3DRM).CreateLightRGB(rm::light_type::Ambient, 0.8f, 0.8f, 0.8f));
    FrameSol1 = Ref(D3DRM).CreateFrame(FrameSols);
    FrameMur1 = Ref(D3DRM).CreateFrame(FrameMurs);
    FramePlafond1 = Ref(D3DRM).CreateFrame(FramePlafonds);
    FrameSol2 = Ref(D3DRM).CreateFrame(FrameSols);
    FrameMur2 = Ref(D3DRM).CreateFrame(FrameMurs);
    FramePlafond2 = Ref(D3DRM).CreateFrame(FramePlafonds);

    // Each copy shows the logos written just before it loads: the corridor
    // mesh takes its textures when it is read.
    SauveLogos(0);
    MeshCouloirs[0] = Ref(D3DRM).CreateMeshBuilder();
    AjoutePointChargement();
    MeshCouloirs[0]->LoadFromFile("couloir1.x");
    Ref(FrameCouloir1).AddVisual(MeshCouloirs[0]);
    AjoutePointChargement();
    MeshEscaliers[0] = Ref(D3DRM).CreateMeshBuilder();
    MeshEscaliers[0]->LoadFromFile("stair.x");
    Ref(FrameCouloir1).AddVisual(MeshEscaliers[0]);
    AjoutePointChargement();

    SauveLogos(1);
    MeshCouloirs[1] = Ref(D3DRM).CreateMeshBuilder();
    MeshCouloirs[1]->LoadFromFile("couloir1.x");
    Ref(FrameCouloir2).AddVisual(MeshCouloirs[1]);
    AjoutePointChargement();
    MeshEscaliers[1] = Ref(D3DRM).CreateMeshBuilder();
    MeshEscaliers[1]->LoadFromFile("stair.x");
    AjoutePointChargement();
    Ref(FrameCouloir2).AddVisual(MeshEscaliers[1]);

    for (const auto& frame : {FrameCouloir2, FrameSol2, FrameMur2, FramePlafond2}) PlaceSecondCopy(frame);
    Ref(FrameCouloir2).SetTraversalOptions(kRenderOnly);
    Ref(FrameCouloir1).SetTraversalOptions(kRenderOnly);

    // The ceilings' names start with a blank; the player code looks them up
    // by these names.
    MeshSol = NamedMeshBuilder("sol");
    MeshMur = NamedMeshBuilder("mur");
    MeshPlafond = NamedMeshBuilder(" plafond");
    MeshSol2 = NamedMeshBuilder("sol2");
    MeshMur2 = NamedMeshBuilder("mur2");
    MeshPlafond2 = NamedMeshBuilder(" plafond2");
    Ref(FrameSol1).AddVisual(MeshSol);
    Ref(FrameMur1).AddVisual(MeshMur);
    Ref(FramePlafond1).AddVisual(MeshPlafond);
    Ref(FrameSol2).AddVisual(MeshSol2);
    Ref(FrameMur2).AddVisual(MeshMur2);
    Ref(FramePlafond2).AddVisual(MeshPlafond2);

    // From here on a failing statement is skipped, up to the main loop.
    skip([] { AjoutePointChargement(); });
    skip([] { Ref(MeshSol).LoadFromFile("\\sol.x"); });
    skip([] { Ref(MeshMur).LoadFromFile("\\mur.x"); });
    skip([] { Ref(MeshPlafond).LoadFromFile("\\plafond.x"); });
    skip([] { Ref(MeshSol2).LoadFromFile("\\sol.x"); });
    skip([] { Ref(MeshMur2).LoadFromFile("\\mur.x"); });
    skip([] { Ref(MeshPlafond2).LoadFromFile("\\plafond.x"); });
    skip([] { Ref(FrameSols).SetTraversalOptions(kRenderAndPick); });
    skip([] { Ref(FrameMurs).SetTraversalOptions(kRenderAndPick); });
    skip([] { Ref(FramePlafonds).SetTraversalOptions(kRenderAndPick); });
    for (const auto& frame : {FrameSol1, FrameMur1, FramePlafond1, FrameSol2, FrameMur2, FramePlafond2})
        skip([&] { Ref(frame).SetTraversalOptions(kHidden); });
}

void ChargeEntrepot() {
    SeuilSol = 5.0;
    Ref(FrameMonde).AddLight(Ref(D3DRM).CreateLightRGB(rm::light_type::Ambient, 0.4f, 0.4f, 0.4f));
    LoadScaledTenth(FrameSols, "lessols.x");
    LoadScaledTenth(FrameMurs, "lesmurs.x");
    LoadScaledTenth(FramePlafonds, "inutile.x");
    // The light hangs under the walls, so it stays where the level puts it.
    auto lightFrame = Ref(D3DRM).CreateFrame(FrameMurs);
    lightFrame->AddLight(Ref(D3DRM).CreateLightRGB(rm::light_type::Point, 0.8f, 0.8f, 0.7f));
    lightFrame->SetPosition(FrameMurs, -56.72978f, 15.63949f, -0.2641987f);
    AppliqueMateriau();
}

void AppliqueMateriau() {
    auto material = Ref(D3DRM).CreateMaterial(10);
    material->SetAmbient(0.2f, 0.2f, 0.2f);
    material->SetEmissive(0, 0, 0);
    material->SetSpecular(0.3f, 0.3f, 0.3f);
    for (const auto& level : {FrameSols, FrameMurs, FramePlafonds}) {
        const auto first = Ref(level).GetChildren().GetElement(0);
        const rm::VisualArray visuals = Ref(first).GetVisuals();
        for (int32_t j = 0; j < visuals.GetSize(); ++j) {
            auto& mesh = dynamic_cast<rm::MeshBuilder&>(Ref(visuals.GetElement(j)));
            mesh.SetMaterial(material);
            mesh.SetColorRGB(1, 1, 1);
        }
    }
}
