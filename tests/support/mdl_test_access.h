#pragma once

// Lets the model tests read an MDL's private state.

#include "models/mdl.h"

class MDLTestAccess {
public:
    static const std::string& RepModele(const MDL& m) { return m.RepModele; }
    static std::vector<rm::FramePtr>& Frames(MDL& m) { return m.Frames; }
    static std::vector<rm::MeshBuilderPtr>& MeshFrames(MDL& m) { return m.MeshFrames; }
    static int32_t& NbFrames(MDL& m) { return m.NbFrames; }
    static std::vector<int32_t>& Parents(MDL& m) { return m.Parents; }
    static std::array<rm::FramePtr, 5>& Vertebres(MDL& m) { return m.Vertebres; }
    static std::vector<MDL::HBox>& HBoxes(MDL& m) { return m.HBoxes; }
    static std::vector<MDL::SmdMesh>& Meshes(MDL& m) { return m.Meshes; }
    static int32_t& NbMeshes(MDL& m) { return m.NbMeshes; }
    static std::vector<rm::AnimationSetPtr>& Animations(MDL& m) { return m.Animations; }
    static std::vector<MDL::SkmInstance>& Skm(MDL& m) { return m.Skm; }
};
