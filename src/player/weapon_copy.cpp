#include "core/frames.h"
#include "core/object_ref.h"
#include "models/mdl.h"
#include "platform/ui/event_loop.h"
#include "player/held_models.h"
#include "player/player.h"

void player::ColleArme(const rm::FramePtr& Source, const rm::FramePtr& dest) {
    rm::Frame& to = Ref(dest);
    rm::Frame& from = Ref(Source);
    DeleteVisuals(to);
    // Each one is held while it goes: the frame's own list releases it.
    while (to.GetChildCount() > 0) to.DeleteChild(rm::FramePtr(to.GetChild(to.GetChildCount() - 1)));
    // The visuals are the model's own, shared by every copy.
    for (int32_t i = 0; i < from.GetVisualCount(); ++i) to.AddVisual(from.GetVisual(i));
    for (int32_t i = 0; i < from.GetChildCount(); ++i) {
        const rm::FramePtr& child = from.GetChild(i);
        const rm::FramePtr copy = child->Clone();
        copy->SetName(child->GetName());
        if (copy->GetName() == "flash") flash = copy;
        to.AddChild(copy);
        copy->AddTransform(rm::combine::Replace, child->LocalTransform());
        ColleArme(child, copy);
    }
    if (dest != MDroite) return;
    ui::DoEvents();
    // A smaller magazine cuts the shots left; a larger one does not refill.
    const int32_t magazine = WeaponModel(IdArme).NbBastos;
    if (magazine < NbBastos) NbBastos = magazine;
}
