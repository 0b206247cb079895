#include "core/game_state.h"
#include "core/object_ref.h"
#include "core/text.h"
#include "platform/failure.h"
#include "platform/ui/beep.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/message_box.h"
#include "player/division_by_zero.h"
#include "player/player.h"

namespace {

constexpr double kStandingEye = 2.5;
constexpr double kCrouchingEye = 1.0;

}  // namespace

bool player::lance_une_RAY(const rm::FramePtr& qui) {
    bool found = false;
    try {
        rm::Vector p;
        double floor = 0;  // where the frame stands on the floor below
        int32_t drop = 0;
        SkippingDivisionByZero([&] { p = Ref(qui).GetPosition(FrameMonde); });
        SkippingDivisionByZero([&] { Ref(FrameSols).RayPick(FrameMonde, rm::Ray{{0, -1, 0}, p}, groundPicks_); });
        if (groundPicks_.GetSize() < 1) {
            ui::DoEvents();
            return false;
        }
        // The first hit is the nearest: the floor right below.
        SkippingDivisionByZero([&] {
            rm::PickRecord hit;
            groundPicks_.GetPickVisual(0, hit);
            floor = hit.position.y + (baisser.empty() ? kStandingEye : kCrouchingEye);
        });
        SkippingDivisionByZero([&] { drop = CLng(p.y - floor); });
        if (drop > SeuilSol) {
            ui::DoEvents();
            return false;
        }
        if (drop <= 0) {
            SkippingDivisionByZero([&] { qui->SetPosition(FrameMonde, p.x, static_cast<float>(floor), p.z); });
        } else {
            // One unit per call, whatever the frame's length.
            SkippingDivisionByZero([&] { qui->SetPosition(FrameMonde, p.x, p.y - 1, p.z); });
        }
        found = true;
    } catch (const Failure& failure) {
        ui::Beep();
        ui::MsgBox(failure.Description());
    }
    return found;
}
