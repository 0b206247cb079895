// Shots, hits and deaths between two machines: the process's game state is
// one machine, a test peer in the same session the other. On the shooter's
// side the victim in slot 1 is the observer's player; on the victim's side
// the shooter in slot 1 is.

#include "../core/game_view.h"
#include "../platform/rm/scene_fixture.h"
#include "../platform/sound/sound_fixtures.h"
#include "core/game_sound.h"
#include "core/game_sound_buffers.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/rank.h"
#include "core/video.h"
#include "models/mdl.h"
#include "multiplayer/messages.h"
#include "platform/play/direct_play.h"
#include "platform/play/limits.h"
#include "platform/rm/rm.h"
#include "platform/rm/viewport.h"
#include "platform/sound/buffer.h"
#include "platform/sound/direct_sound.h"
#include "player/held_models.h"
#include "player_fixture.h"
#include "support/expect_near.h"
#include "support/play_fixture.h"
#include "support/player_test_access.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using A = PlayerTestAccess;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class Combat : public SessionPlayerFixture {
protected:
    // The device goes before its window does.
    void TearDown() override {
        ResetGameState();
        GameWindow().Unload();
    }

    // The current view over a device, and the two sights, as the game start
    // leaves them.
    static void MakeView() {
        MakeFullScreenView(320, 240);
        const std::string weapons = std::string(QUELLMAR_GAME_DIR) + "/weapons/";
        TexViseur = D3DRM->LoadTexture(weapons + "croix2.bmp");
        TexSniper = D3DRM->LoadTexture(weapons + "sniper2.bmp");
        TexViseurCourant = TexViseur;
    }

    // The weapon whose file name is `name` ("mac10"), in the hand of `p`.
    static void Hold(player& p, const std::string& name) {
        for (size_t i = 0; i < WeaponModels.size(); ++i)
            if (WeaponModels[i] && WeaponModels[i]->lib_arme == name) p.IdArme = int32_t(i);
        ASSERT_EQ(WeaponModel(p.IdArme).lib_arme, name);
    }

    // What the observer has from this machine: every message, read to its
    // type, until a chat line `marker` sent after them has come.
    std::vector<play_test::Received> SentBefore(const std::string& marker = "marker") {
        EnvoiTexte(marker, MSG_CHAT);
        std::vector<play_test::Received> sent;
        const bool came = play_test::WaitFor([&] {
            for (play_test::Received& r : observer_.Drain()) {
                if (r.from != local_.id) continue;
                if (r.code == MSG_CHAT && play::DirectPlayMessage(*r.message).ReadString() == marker) return true;
                sent.push_back(std::move(r));
            }
            return false;
        });
        EXPECT_TRUE(came);
        return sent;
    }
};

// The world centre of the hit box of `p` named `bone`.
rm::Vector BoxCentre(const player& p, const std::string& bone) {
    for (int32_t i = 0; i < p.base->GetChildCount(); ++i) {
        const rm::FramePtr& box = p.base->GetChild(i);
        if (box->GetVisualCount() == 0 || box->GetVisual(0)->GetName() != bone) continue;
        const rm::Box bounds = box->GetHierarchyBox();
        const rm::Vector centre{(bounds.min.x + bounds.max.x) / 2, (bounds.min.y + bounds.max.y) / 2,
                                (bounds.min.z + bounds.max.z) / 2};
        rm::Vector world;
        box->TransformVectors(FrameMonde, 1, &world, &centre);
        return world;
    }
    ADD_FAILURE() << "no box " << bone;
    return {};
}

class Shots : public Combat {
protected:
    void SetUp() override {
        Combat::SetUp();
        shooter_ = &Build(0, true);
        victim_ = &Build(1, false);
        victim_->id = observer_.id;
        victim_->gPlayerpositionx = 40;
        victim_->gPlayerori1x = -1;
        victim_->Avance();  // stands where its state says, its boxes posed
        victim_->joueur->SetTraversalOptions(3);
        gun_ = D3DRM->CreateFrame(FrameMonde);
    }

    // The gun 30 units before `target` on the x axis, aimed at it along +x.
    void AimAt(const rm::Vector& target, float dx = 1) {
        gun_->SetPosition(FrameMonde, target.x - 30, target.y, target.z);
        gun_->SetOrientation(FrameMonde, {dx, 0, 0}, {0, 1, 0});
    }

    std::vector<HitMessage> HitsSent() {
        std::vector<HitMessage> hits;
        for (const play_test::Received& r : SentBefore()) {
            if (r.code != MSG_HIT) continue;
            EXPECT_EQ(r.to, observer_.id);
            HitMessage hit;
            EXPECT_TRUE(ReadHitMessage(*r.message, hit));
            hits.push_back(hit);
        }
        return hits;
    }

    player* shooter_ = nullptr;
    player* victim_ = nullptr;
    rm::FramePtr gun_;
};

TEST_F(Shots, ABodyBoxSendsTheWeaponsDamageAndTheHeadMinusOneWhateverTheWeapon) {
    struct Case {
        const char* weapon;
        const char* box;
        int32_t damage;
    };
    const Case cases[] = {
        {"mac10", "Bip01_Spine1", 10},
        {"m4a1", "Bip01_Pelvis", 20},
        {"mac10", "Bip01_Head", -1},
        {"m4a1", "Bip01_Head", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.weapon) + " at " + c.box);
        Hold(*shooter_, c.weapon);
        const rm::Vector target = BoxCentre(*victim_, c.box);
        AimAt(target);
        shooter_->lance_une_Bastos(gun_);
        const std::vector<HitMessage> hits = HitsSent();
        ASSERT_EQ(hits.size(), 1u);
        EXPECT_EQ(hits[0].damage, c.damage);
        // Where the ray met the box: on the ray, before the box's centre.
        EXPECT_NEAR(hits[0].point[1], target.y, 1e-3);
        EXPECT_NEAR(hits[0].point[2], target.z, 1e-3);
        EXPECT_LT(hits[0].point[0], target.x);
        EXPECT_GT(hits[0].point[0], target.x - 30);
    }
}

TEST_F(Shots, AWallDoesNotStopAShotButOwnBoxesTheDeadAndAMissSendNothing) {
    const rm::Vector target = BoxCentre(*victim_, "Bip01_Pelvis");
    AimAt(target);
    const auto wall = D3DRM->CreateFrame(FrameMurs);
    wall->AddVisual(rm_test::Quad(*D3DRM, 0, 50));
    wall->SetPosition(FrameMonde, target.x - 10, target.y, target.z);
    wall->SetOrientation(FrameMonde, {1, 0, 0}, {0, 1, 0});
    ASSERT_GT(FrameMurs->RayPick(FrameMonde, {{1, 0, 0}, gun_->GetPosition(FrameMonde)}).GetSize(), 0);
    shooter_->lance_une_Bastos(gun_);
    EXPECT_EQ(HitsSent().size(), 1u) << "behind a wall";

    AimAt(target, -1);
    shooter_->lance_une_Bastos(gun_);
    EXPECT_TRUE(HitsSent().empty()) << "a miss";

    // The shooter's own body in the way takes the bullet, and it is lost.
    AimAt(target);
    shooter_->joueur->SetTraversalOptions(3);
    shooter_->joueur->SetPosition(FrameMonde, target.x - 15, victim_->joueur->GetPosition(FrameMonde).y, target.z);
    shooter_->NbBastos = 1;
    shooter_->animation();  // its boxes posed there
    rm::PickRecord record;
    const rm::PickArray inTheWay = FrameJoueurs->RayPick(FrameMonde, {{1, 0, 0}, gun_->GetPosition(FrameMonde)});
    ASSERT_GT(inTheWay.GetSize(), 0);
    ASSERT_EQ(inTheWay.GetPickVisual(0, record)->GetAppData(), 0) << "the shooter's own box comes first";
    shooter_->lance_une_Bastos(gun_);
    EXPECT_TRUE(HitsSent().empty()) << "its own box";
    shooter_->joueur->SetTraversalOptions(1);

    victim_->joueur->SetTraversalOptions(1);  // dead: drawn, not hit
    shooter_->lance_une_Bastos(gun_);
    EXPECT_TRUE(HitsSent().empty()) << "a dead player";
}

TEST_F(Shots, AHeldTriggerFiresOncePerRunOfTheShootSetAndSpendsOneRoundEach) {
    MakeView();
    player& p = *shooter_;
    Hold(p, "mac10");
    p.NbBastos = 20;
    p.ratio = 1.5;  // one clock unit per frame
    const std::string shoot = "ref_shoot_" + WeaponModel(p.IdArme).typ_arme;
    const int32_t run = PlayerModels[0]->RenvAniMax(PlayerModels[0]->RenvAnimations(shoot)) + 1;
    std::vector<int> shots;
    for (int frame = 0; frame < 3 * run; ++frame) {
        p.Fire = true;
        p.tir();
        if (p.idson2 == 1) {
            shots.push_back(frame);
            EXPECT_EQ(p.action, "shoot");
            EXPECT_EQ(p.ani_lib, shoot);
            EXPECT_EQ(p.fps2, 0);
            EXPECT_EQ(p.flash->GetAppData(), 1);
        }
        p.animation();
    }
    EXPECT_EQ(shots, (std::vector<int>{0, run, 2 * run}));
    EXPECT_EQ(p.NbBastos, 17);
    EXPECT_TRUE(p.Fire) << "only the shotgun lets go of the trigger";
}

TEST_F(Shots, TheAimLooksAtItsTargetScaledForTheViewOrTheScope) {
    MakeView();
    player& p = *shooter_;
    for (const auto& [front, scale] : {std::pair{1.f, 0.4f}, std::pair{8.f, 0.08f}}) {
        SCOPED_TRACE(front);
        Vues[0]->SetFront(front);
        p.action = "aim";
        p.tir();
        const rm::Matrix4 aim = p.chasse->WorldTransform();
        EXPECT_NEAR(rm::Length({aim.m[0][0], aim.m[0][1], aim.m[0][2]}), scale, 1e-5);
        EXPECT_NEAR(rm::Length({aim.m[2][0], aim.m[2][1], aim.m[2][2]}), scale, 1e-5);
        rm::Vector direction, up;
        p.chasse->GetOrientation(FrameMonde, direction, up);
        const rm::Vector from = p.chasse->GetPosition(FrameMonde);
        const rm::Vector target = p.devant->GetPosition(FrameMonde);
        ExpectNear(direction, rm::Normalize({target.x - from.x, target.y - from.y, target.z - from.z}));
    }
    p.flash = nullptr;  // a weapon copy without its flash frame
    p.action = "aim";
    try {
        p.tir();
        ADD_FAILURE() << "fired without a flash frame";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("flash"), std::string::npos) << failure.what();
    }
}

TEST_F(Shots, TheShotgunWaitsForItsFireSoundAndLetsGoOfTheTrigger) {
    MakeView();
    sound_test::Loopback output;
    // The loopback owns its DirectSound; the game state only points to it.
    DSound = std::shared_ptr<sound::DirectSound>(std::shared_ptr<void>(), &output.Sound());
    player& p = *shooter_;
    Hold(p, "xm1014");
    ASSERT_EQ(p.IdArme, 12);
    ChargeSon(std::string(QUELLMAR_GAME_DIR) + "/weapons/xm1014-1.wav", DSound, p.Armeson, p.Armeson3D, true);
    ASSERT_TRUE(p.Armeson);
    const int32_t cycled = p.Armeson->GetFormat().lAvgBytesPerSec - 15000;
    ASSERT_GT(cycled, 0);
    p.NbBastos = 7;
    p.tir();
    ASSERT_EQ(p.idson2, 1);
    EXPECT_EQ(p.Armeson->GetCurrentPosition(), 0) << "from the start";
    p.Fire = true;
    p.tir();  // its shoot set still runs
    EXPECT_EQ(p.idson2, 0);
    EXPECT_FALSE(p.Fire);

    p.action = "aim";  // the set ended
    output.Render(441);
    int blocked = 0;
    while (p.Armeson->GetCurrentPosition() > 0 && p.Armeson->GetCurrentPosition() < cycled) {
        p.Fire = true;
        p.tir();
        ASSERT_EQ(p.idson2, 0);
        EXPECT_FALSE(p.Fire);
        ++blocked;
        output.Render(441);
    }
    EXPECT_GT(blocked, 0);
    EXPECT_EQ(p.NbBastos, 6);
    p.tir();
    EXPECT_EQ(p.idson2, 1);
    EXPECT_EQ(p.NbBastos, 5);
}

class Hits : public Combat {
protected:
    void SetUp() override {
        Combat::SetUp();
        victim_ = &Build(0, true);
        shooter_ = &Build(1, false);
        shooter_->id = observer_.id;
        shooter_->nom = "bob";
    }

    // The kill messages, notices and chat lines this machine sent.
    struct Told {
        std::vector<std::pair<int32_t, int32_t>> kills;  // type, addressee
        std::vector<std::string> notices;                // to everyone
        std::vector<std::string> chat;
    };
    Told Sent() {
        Told told;
        for (const play_test::Received& r : SentBefore()) {
            if (r.code == MSG_KILL || r.code == MSG_HEADKILL) told.kills.emplace_back(r.code, r.to);
            if (r.code == MSG_TEXT) told.notices.push_back(r.message->ReadString());
            if (r.code == MSG_CHAT) told.chat.push_back(r.message->ReadString());
        }
        return told;
    }

    player* victim_ = nullptr;
    player* shooter_ = nullptr;
};

TEST_F(Hits, DamageLowersHealthWithoutOverflowAndHealthBelowOneDies) {
    struct Case {
        int32_t force, balle, left;
        bool dies;
        int32_t snipped;
    };
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const Case cases[] = {
        {100, 10, 90, false, 0},     {10, 10, 0, true, 0},    {11, 10, 1, false, 0},
        {100, -1, 0, true, 1},       {1, kMin, 0, true, 1},  // any negative code is the head
        {-100, kMax, kMin, true, 0}, {100, 0, 100, false, 0},
    };
    player& p = *victim_;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.force) + " - " + std::to_string(c.balle));
        p.mort = false;
        p.pret = true;
        p.force = c.force;
        p.tue = p.snipped = 0;
        p.idson3 = 0;
        p.Frmsang->SetAppData(0);
        p.Toucher(c.balle, 1, 3, 4, 5);
        EXPECT_EQ(p.force, c.left);
        EXPECT_EQ(p.idson3, 1);
        EXPECT_EQ(p.Frmsang->GetAppData(), 1);
        ASSERT_EQ(p.Frmsang->GetVisualCount(), 1);
        EXPECT_EQ(p.Frmsang->GetVisual(0), A::TexSang(p)[1]);
        ExpectNear(p.Frmsang->GetPosition(FrameMonde), {3, 4, 5});
        EXPECT_EQ(p.mort, c.dies);
        EXPECT_EQ(p.tue, c.dies ? 1 : 0);
        EXPECT_EQ(p.snipped, c.snipped);
        EXPECT_EQ(p.pret, !c.dies);
        if (!c.dies) continue;
        EXPECT_EQ(p.ani_pos_lib, "death1");
        EXPECT_EQ(p.Anipos, PlayerModels[0]->RenvAnimations("death1"));
        EXPECT_EQ(p.fps, 0);
        EXPECT_EQ(p.AniBuste, -1);
        EXPECT_EQ(p.idson, 3);
    }
}

// The victim's notice plays its info sound: 3 for a kill, 4 for a head shot.
TEST_F(Hits, TwoKillingHitsInOneFrameGiveOneDeathAndOneKillToTheShootersId) {
    struct Case {
        int32_t balle;
        int32_t kill;
        const char* notice;
        int32_t snipped;
        size_t infoSound;
    };
    const Case cases[] = {
        {10, MSG_KILL, "This FUCKING bob kill ME !!!", 0, 3},
        {-1, MSG_HEADKILL, "This FUCKING bob SNIPPE ME in the HEAD !!!", 1, 4},
    };
    sound_test::SoundFolder folder;
    sound_test::Loopback output;
    // The loopback owns its DirectSound; the game state only points to it.
    DSound = std::shared_ptr<sound::DirectSound>(std::shared_ptr<void>(), &output.Sound());
    for (size_t i = 0; i < InfoSoundFiles.size(); ++i) {
        std::shared_ptr<sound::Buffer3D> none;
        ChargeSon(folder.Tone("info" + std::to_string(i) + ".wav", 22050, 1, 22050), DSound, SonsJeu[i], none, false);
        ASSERT_TRUE(SonsJeu[i]);
    }
    player& p = *victim_;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        for (const auto& sound : SonsJeu) {
            son::Stop(sound);
            son::SetCurrentPosition(sound, 0);
        }
        p.mort = false;
        p.force = 10;
        p.tue = p.snipped = 0;
        Message2 = "";
        p.Toucher(c.balle, 1, 0, 0, 0);
        p.Toucher(c.balle, 1, 0, 0, 0);
        EXPECT_EQ(p.tue, 1);
        EXPECT_EQ(p.snipped, c.snipped);
        EXPECT_EQ(Message2, c.notice);
        output.Render(1000);
        for (size_t i = 0; i < InfoSoundFiles.size(); ++i)
            EXPECT_EQ(son::GetCurrentPosition(SonsJeu[i]) > 0, i == c.infoSound) << "info sound " << i;
        const Told told = Sent();
        EXPECT_EQ(told.kills, (std::vector<std::pair<int32_t, int32_t>>{{c.kill, observer_.id}}));
        EXPECT_EQ(told.notices, std::vector<std::string>{c.notice});
        EXPECT_EQ(told.chat, std::vector<std::string>{""}) << "the chat box is sent as the player dies";
    }
}

TEST_F(Hits, ADeadPlayerTakesNothingAndAPointThatIsNoNumberLeavesTheBlood) {
    player& p = *victim_;
    p.Frmsang->SetPosition(FrameMonde, 1, 2, 3);
    p.Toucher(10, 1, kNaN, 0, std::numeric_limits<float>::infinity());
    EXPECT_EQ(p.force, 90) << "the hit still counts";
    EXPECT_EQ(p.Frmsang->GetAppData(), 1);
    ExpectNear(p.Frmsang->GetPosition(FrameMonde), {1, 2, 3});

    p.mort = true;
    p.idson3 = 0;
    p.Frmsang->SetAppData(0);
    p.Toucher(-1, 1, 7, 7, 7);
    EXPECT_EQ(p.force, 90);
    EXPECT_EQ(p.idson3, 0);
    EXPECT_EQ(p.Frmsang->GetAppData(), 0);
    EXPECT_EQ(p.snipped, 0);
    EXPECT_TRUE(Sent().kills.empty());
}

TEST_F(Hits, DeathTurnsTheScopeOffWithTheCrosshairBackAndSendsTheOpenChatBox) {
    MakeView();
    player& p = *victim_;
    p.vue = true;
    Vues[0]->SetFront(8);
    p.devant->AddVisual(TexSniper);
    TexViseurCourant = TexSniper;
    Form1& window = GameWindow();
    ChatTyping = true;
    window.Text1.SetVisible(true);
    window.Text1.SetText("gg");
    p.Toucher(-1, 1, 0, 0, 0);
    EXPECT_EQ(Vues[0]->GetFront(), 1);
    EXPECT_EQ(TexViseurCourant, TexViseur);
    ASSERT_EQ(p.devant->GetVisualCount(), 1);
    EXPECT_EQ(p.devant->GetVisual(0), TexViseur);
    EXPECT_FALSE(ChatTyping);
    EXPECT_FALSE(window.Text1.Visible());
    EXPECT_EQ(window.Text1.Text(), "");
    EXPECT_EQ(Sent().chat, std::vector<std::string>{"gg"});

    // In the third-person view no sight comes back.
    p.mort = false;
    p.force = 100;
    p.vue = false;
    p.Toucher(-1, 1, 0, 0, 0);
    EXPECT_EQ(p.devant->GetVisualCount(), 0);
}

TEST_F(Hits, ADeathCountsInTheRankAtOnce) {
    JoueurLocal().tueur = 5;  // a score of 5: rank 2
    CalculeRang();
    ASSERT_EQ(WeaponPower, 2);
    victim_->Toucher(-1, 1, 0, 0, 0);  // a head-shot death costs 6
    EXPECT_EQ(WeaponPower, 1);
}

TEST_F(Hits, AShooterSlotWithoutAPlayerGetsNoKillMessageAndALongNameNoNotice) {
    player& p = *victim_;
    p.Toucher(100, 5, 0, 0, 0);
    EXPECT_EQ(p.tue, 1) << "the death still counts";
    EXPECT_EQ(Message2, "This FUCKING  kill ME !!!");
    Told told = Sent();
    EXPECT_TRUE(told.kills.empty());
    EXPECT_EQ(told.notices, std::vector<std::string>{"This FUCKING  kill ME !!!"});

    // A name at the layer's string cap makes a notice over it: the notice
    // is not sent, the kill still is, and this machine still shows it.
    shooter_->nom = std::string(play::MaxStringLength, 'n');
    p.mort = false;
    p.force = 1;
    p.Toucher(1, 1, 0, 0, 0);
    EXPECT_EQ(Message2, "This FUCKING " + shooter_->nom + " kill ME !!!");
    told = Sent();
    EXPECT_EQ(told.kills, (std::vector<std::pair<int32_t, int32_t>>{{MSG_KILL, observer_.id}}));
    EXPECT_TRUE(told.notices.empty());
}

}  // namespace
