#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/failure.h"

// Software skinning: each bone group's bone-local positions go through its
// bone's current pose into the instance's vertex records. Normals and texture
// coordinates keep the reference file's. A one-group mesh hangs rigidly on
// its bone and needs nothing.
void MDL::AnimeMultiVertex(int32_t id_skm, int32_t mbnb) {
    if (mbnb < 0 || size_t(mbnb) >= Meshes.size())
        throw Failure(failure_number::SubscriptOutOfRange, "The model has no mesh " + std::to_string(mbnb));
    const SmdMesh& mesh = Meshes[size_t(mbnb)];
    if (mesh.groups.size() <= 1) return;
    if (id_skm < 0 || size_t(id_skm) >= Skm.size())
        throw Failure(failure_number::SubscriptOutOfRange, "No skinned instance " + std::to_string(id_skm));
    SkmInstance& instance = Skm[size_t(id_skm)];
    // The instance's buffers fit the mesh it was made of, and no other.
    if (instance.meshNumber != mbnb)
        throw Failure(failure_number::InvalidArgument, "The skinned instance wears another mesh");

    for (size_t g = 0; g < mesh.groups.size(); ++g) {
        const BoneGroup& group = mesh.groups[g];
        std::vector<rm::Vector>& buffer = instance.positions[g];
        group.bone->TransformVectors(FrameMonde, int32_t(group.positions.size()), buffer.data(),
                                     group.positions.data());
        for (size_t k = 0; k < buffer.size(); ++k) instance.vertices[size_t(group.vertices[k])].position = buffer[k];
    }
    instance.mesh->SetVertices(0, 0, int32_t(instance.vertices.size()), instance.vertices.data());
}
