#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/failure.h"

namespace {

// The 0-based node number of `bone`, -1 when it is none of the skeleton's.
int32_t BoneIndex(const std::vector<rm::FramePtr>& frames, const rm::FramePtr& bone) {
    for (size_t i = 0; i < frames.size(); ++i)
        if (bone && frames[i] == bone) return static_cast<int32_t>(i);
    return -1;
}

}  // namespace

void MDL::RenvMesh(const JoueurModele& j) {
    if (!j.base || !j.Peau) throw Failure(failure_number::ObjectNotSet, "The player has no frames for its model");
    while (j.base->GetVisualCount() > 0) j.base->DeleteVisual(j.base->GetVisual(0));

    // Each player's own pickable copies of the hit boxes: the copy names the
    // player (application data) and the bone (name) to the shot that hits it.
    if (j.base->GetChildCount() == 0) {
        for (const HBox& hbox : HBoxes) {
            if (!hbox.box) continue;
            const rm::FramePtr frame = D3DRM->CreateFrame(j.base);
            frame->SetAppData(hbox.box->GetAppData());
            const rm::MeshBuilderPtr copy = hbox.box->Clone();
            copy->SetAppData(j.indice);
            copy->SetName(hbox.name);
            frame->AddVisual(copy);
        }
    }

    const size_t m = size_t(MeshOfSide(j.IdModele));
    if (!ModeBox) {
        if (m >= Meshes.size())
            throw Failure(failure_number::SubscriptOutOfRange, "The model has no mesh for that side");
        // The builder is shared: it keeps only the last skin set, while each
        // mesh made from it keeps the skin it had then.
        ChargeUneTexture(Meshes[m].builder, j.texture);
        j.Peau->AddVisual(Meshes[m].builder->CreateMesh());
        j.Peau->SetTraversalOptions(rm::traversal::Draw);
    }

    // Box frames are numbered by their bone (1-based); the frame whose number,
    // read as 0-based, is the head's becomes the player's head frame.
    const int32_t head = BoneIndex(Frames, tete);
    for (int32_t i = 0; i < j.base->GetChildCount(); ++i) {
        const rm::FramePtr& child = j.base->GetChild(i);
        const int32_t n = child->GetAppData();
        if (head >= 0 && n == head) j.tete = child;
        if (n >= 1 && n <= NbFrames)
            child->AddTransform(rm::combine::Replace, Frames[size_t(n - 1)]->GetTransform(sol));
    }

    if (!j.MDroite) {
        j.MDroite = D3DRM->CreateFrame(j.Peau);
        j.MDroite->SetAppData(BoneIndex(Frames, Main));
        if (Main) j.MDroite->AddTransform(rm::combine::Replace, Main->GetTransform(sol));
    }
    if (!j.tete) {
        j.tete = D3DRM->CreateFrame(j.base);
        j.tete->SetAppData(head + 1);
        if (tete) j.tete->AddTransform(rm::combine::Replace, tete->GetTransform(sol));
    }

    if (ModeBox) return;
    const int32_t s = static_cast<int32_t>(Skm.size());
    SkmInstance& instance = Skm.emplace_back();
    instance.skin = j.Peau;
    j.base->SetAppData(s);
    j.IdSkm = s;
    ++Meshes[m].users;
    instance.mesh = std::dynamic_pointer_cast<rm::Mesh>(j.Peau->GetVisual(0));
    if (!instance.mesh) throw Failure(failure_number::ObjectNotSet, "The skin frame's first visual is not a mesh");
    instance.vertices.resize(size_t(instance.mesh->GetGroupVertexCount(0)));
    instance.mesh->GetVertices(0, 0, instance.mesh->GetGroupVertexCount(0), instance.vertices.data());
    instance.meshNumber = static_cast<int32_t>(m);
    if (Meshes[m].groups.size() > 1)
        for (const BoneGroup& group : Meshes[m].groups) instance.positions.emplace_back(group.positions.size());
}

void MDL::ChargeUneTexture(const rm::MeshBuilderPtr& mb, const std::string& laquelle) {
    skip([&] { mb->SetTexture(D3DRM->LoadTexture(CheminJeu + "\\models\\" + laquelle)); });
}
