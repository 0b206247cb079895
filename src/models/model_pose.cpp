#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/failure.h"

#include <cmath>

namespace {

// Places `frame` at the pose, relative to `sol`, of bone `index` (0-based);
// an index outside the skeleton leaves it where it is.
void PlaceOnBone(const rm::FramePtr& frame, const std::vector<rm::FramePtr>& bones, int32_t index,
                 const rm::FramePtr& sol) {
    if (frame && index >= 0 && size_t(index) < bones.size())
        frame->AddTransform(rm::combine::Replace, bones[size_t(index)]->GetTransform(sol));
}

}  // namespace

// The set numbers may come from another machine's state message: one that
// names no loaded set poses nothing this tick rather than failing.
void MDL::Anime(const JoueurModele& j) {
    const auto loaded = [this](int32_t set) { return set >= 0 && set < NbAni; };
    if (!loaded(j.Anipos) || (j.AniBuste != -1 && !loaded(j.AniBuste))) return;

    Animations[size_t(j.Anipos)]->SetTime(float(j.fps));
    // Applied second, the upper-body set overrides the legs' pose of its bones.
    if (j.AniBuste != -1) Animations[size_t(j.AniBuste)]->SetTime(float(j.fps2));
    if (!j.rendu && !ModeBox) return;

    // Tilt and twist along the spine: each of the three chained bones turns,
    // so the effects add up. The next posing of keyed bones overwrites them.
    const double a = j.colonne * 3.14159265359 / 180;
    const rm::Vector forward{float(std::sin(a)), 0, float(std::cos(a))};
    for (size_t v = 0; v < 3; ++v)
        if (Vertebres[v]) Vertebres[v]->AddRotation(rm::combine::Before, {0, 0, 1}, float(-j.pivot));
    for (size_t v = 0; v < 3; ++v)
        if (Vertebres[v]) Vertebres[v]->SetOrientation(Vertebres[v], forward, {0, 1, 0});

    if (!ModeBox) AnimeMultiVertex(j.IdSkm, MeshOfSide(j.IdModele));
    RenduMesh(j.base);
    // Hand and head read their numbers as 0-based: a box frame chosen as the
    // head (numbered after the bone before the head) moves onto the head.
    PlaceOnBone(j.MDroite, Frames, j.MDroite ? j.MDroite->GetAppData() : -1, sol);
    PlaceOnBone(j.tete, Frames, j.tete ? j.tete->GetAppData() : -1, sol);
}

void MDL::RenduMesh(const rm::FramePtr& qui) {
    if (!qui) throw Failure(failure_number::ObjectNotSet, "No frame to place on the skeleton");
    for (int32_t i = 0; i < qui->GetChildCount(); ++i) {
        const rm::FramePtr& child = qui->GetChild(i);
        PlaceOnBone(child, Frames, child->GetAppData() - 1, sol);
    }
}
