// Where the aim and its target sit for each way of holding a weapon, on a
// small tree of its own: a turned head, and the aim frames under another
// frame, as in a player.

#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/rm/rm.h"
#include "player/player.h"
#include "support/expect_near.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WeaponAim, EachGripPlacesTheAimOnTheHeadAndItsTargetOnTheAimAnUnknownOneNeither) {
    D3DRM = std::make_shared<rm::Direct3DRM>();
    const rm::FramePtr world = D3DRM->CreateFrame(nullptr);
    player p;
    p.tete = D3DRM->CreateFrame(world);
    p.tete->SetPosition(world, 3, 40, -7);
    p.tete->AddRotation(rm::combine::After, {0, 1, 0}, 0.7f);
    const rm::FramePtr aimParent = D3DRM->CreateFrame(world);
    aimParent->AddRotation(rm::combine::After, {1, 0, 0}, -0.3f);
    p.chasse = D3DRM->CreateFrame(aimParent);
    p.devant = D3DRM->CreateFrame(aimParent);
    const auto weapon = std::make_shared<MDL>();
    WeaponModels = {weapon};

    struct Case {
        std::string type;
        rm::Vector aim, target;
    };
    for (const Case& c : {Case{"onehanded", {0, 11, 1}, {0, 0, 5}}, Case{"carbine", {0, 6, 2}, {0, 0, 5}},
                          Case{"mp5", {0, 10, 1}, {0, 0, 5}}, Case{"rifle", {0, 8, 6}, {0, 0, 6}},
                          Case{"m249", {2, 4, 0}, {0, 0, 5}}, Case{"shotgun", {0, 4, 2}, {0, 0, 5}}}) {
        SCOPED_TRACE(c.type);
        p.chasse->SetPosition(world, 100, 100, 100);
        weapon->typ_arme = c.type;
        p.PlaceArme();
        ExpectNear(p.chasse->GetPosition(p.tete), c.aim);
        ExpectNear(p.devant->GetPosition(p.chasse), c.target);
    }

    // The comparison is exact: another spelling is no known grip.
    weapon->typ_arme = "Rifle";
    p.chasse->SetPosition(world, 1, 2, 3);
    p.devant->SetPosition(world, 4, 5, 6);
    p.PlaceArme();
    ExpectNear(p.chasse->GetPosition(world), {1, 2, 3});
    ExpectNear(p.devant->GetPosition(world), {4, 5, 6});
}

}  // namespace
