// dessineboite: the hit box of one bone, from the description's $hbox lines.

#include "models/mdl.h"

#include "core/game_state.h"

void MDL::dessineboite(const rm::FramePtr& qui, int32_t indice) {
    if (!Boite) return;
    HBox* found = nullptr;
    for (HBox& record : HBoxes) {
        if (record.name == qui->GetName()) {
            found = &record;
            break;
        }
    }
    if (!found) return;
    found->bone = indice;
    found->box = D3DRM->CreateMeshBuilder();
    const rm::MeshBuilderPtr& box = found->box;

    const rm::Vector lo{found->minX, found->minY, found->minZ};
    const rm::Vector hi{found->maxX, found->maxY, found->maxZ};
    // Corners of the +x, -x, +y, -y, -z and +z sides, each side in its own
    // winding; a corner takes each coordinate from the minimum (false) or
    // the maximum (true).
    struct Corner {
        bool x, y, z;
    };
    static constexpr Corner kSides[6][4] = {
        {{true, true, true}, {true, false, true}, {true, false, false}, {true, true, false}},
        {{false, true, false}, {false, false, false}, {false, false, true}, {false, true, true}},
        {{false, true, false}, {false, true, true}, {true, true, true}, {true, true, false}},
        {{false, false, false}, {true, false, false}, {true, false, true}, {false, false, true}},
        {{false, false, false}, {false, true, false}, {true, true, false}, {true, false, false}},
        {{false, true, true}, {false, false, true}, {true, false, true}, {true, true, true}},
    };
    for (const auto& side : kSides) {
        const rm::FacePtr face = box->CreateFace();
        for (const Corner& corner : side)
            face->AddVertex(corner.x ? hi.x : lo.x, corner.y ? hi.y : lo.y, corner.z ? hi.z : lo.z);
    }

    box->SetMaterial(D3DRM->CreateMaterial(10));
    // Decided once for the shared model, by the local player's team.
    if (IdModeleLocal != 0) {
        box->SetColorRGB(1, 0, 0);
    } else {
        box->SetColorRGB(0, 0, 1);
    }
    box->SetName(found->name);
    box->Enable(rm::enable::Render);
    qui->AddVisual(box);
    box->SetAppData(qui->GetAppData());
}
