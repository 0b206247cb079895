// Finding bones by name or number, and vertices for reuse.

#include "models/mdl.h"

rm::FramePtr MDL::ChercheFrames(std::string_view nom) const {
    for (const rm::FramePtr& frame : Frames)
        if (frame->GetName() == nom) return frame;
    return {};
}

rm::FramePtr MDL::RenvoieFrame(std::string_view nom, int32_t id) const {
    if (!nom.empty()) return ChercheFrames(nom);
    if (id < 0 || id >= static_cast<int32_t>(Frames.size())) return {};
    return Frames[static_cast<size_t>(id)];
}

int32_t MDL::ChercheVertex(const rm::MeshBuilder& mb, float x, float y, float z, float tu, float tv) const {
    const std::vector<rm::Vector>& positions = mb.Positions();
    const std::vector<rm::MeshBuilder::TextureCoordinates>& coordinates = mb.Coordinates();
    for (size_t i = 0; i < positions.size(); ++i) {
        const rm::Vector& p = positions[i];
        if (p.x == x && p.y == y && p.z == z && coordinates[i].u == tu && coordinates[i].v == tv)
            return static_cast<int32_t>(i);
    }
    return -1;
}
