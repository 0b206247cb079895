#include "core/game_start.h"
#include "../platform/rm/scene_fixture.h"
#include "core/built_in_levels.h"
#include "core/frame_timing.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/main_loop.h"
#include "game_folder.h"
#include "launcher/settings.h"
#include "models/mdl.h"
#include "multiplayer/messages.h"
#include "multiplayer/session_state.h"
#include "support/expect_near.h"
#include "support/fake_web_server.h"
#include "support/play_fixture.h"
#include "support/program_ended.h"
#include "support/scripted_web_site.h"
#include "support/zip_builder.h"

#include "platform/input/cursor.h"
#include "platform/input/key_codes.h"
#include "platform/input/scripted_input.h"
#include "platform/net/http_get.h"
#include "platform/play/direct_play.h"
#include "platform/rm/rm.h"
#include "platform/rm/viewport.h"
#include "platform/ui/input_box.h"
#include "platform/ui/message_box.h"
#include "player/player.h"
#include "web/game_list.h"
#include "web/status_window.h"
#include "web/web_host.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSet>

#include <climits>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A session of two machines in this process: the local one ("Ana", slot 1)
// and another ("abc", formal name "1abc", slot 0).
class GameStart : public play_test::PlayTest {
protected:
    void SetUp() override { PrepareGame(); }
    // A game that failed keeps its device: it goes before its window does.
    void TearDown() override {
        ResetGameState();
        GameWindow().Unload();
    }

    // What the launcher and the lobby leave for the game start, on a fresh
    // session (the end of a game leaves it).
    void PrepareGame(const std::string& otherFormalName = "1abc") {
        other_.reset();
        local_.reset();
        PlayTest::SetUp();
        local_ = std::make_unique<play_test::Machine>();
        local_->Host("Ana");
        other_ = std::make_unique<play_test::Machine>();
        other_->dp->Open(other_->Search()->GetItem(1), play::OpenJoin);
        other_->id = other_->dp->CreatePlayer("abc", otherFormalName, 0, 0);
        DX7 = std::make_shared<rm::DirectX7>();
        SetupDone = true;
        ScreenWidth = 640;
        ScreenHeight = 480;
        BitDepth = 32;
        DPlay = local_->dp;
        IdLocalDP = local_->id;
        IdsJoueurs = {other_->id, local_->id};
        NbJoueurs = 2;
    }

    // Starts the game and runs it for `frames` frames, then quits; hands back
    // the picture of the last frame but one (the last is shown as it quits).
    // `during` runs in the timing step of each frame (1 to `frames`).
    QImage Play(int frames, const std::function<void(int)>& during = {}) {
        int readings = 0;
        QImage picture;
        TickCounter = [&] {
            ++readings;
            if (readings % 2 == 0 && during) during(readings / 2);
            if (readings == 2 * frames) {
                picture = Device3D->Picture();
                runningAtQuit_ = PartieEnCours;
                QuitteJeu = true;
            }
            return readings * 8;
        };
        EXPECT_THROW(InitJeu(), ProgramEnded);
        return picture;
    }

    GameFolder folder_;
    bool runningAtQuit_ = false;  // PartieEnCours in the last frame
    std::unique_ptr<play_test::Machine> local_;
    std::unique_ptr<play_test::Machine> other_;
};

// A picture that shows a scene: many colours, and at most three quarters of
// it the clear colour. The local player now turns with the pointer, so the
// view may face a plain corner of the level: a few dozen colours still mean
// textured walls and floor, a blank or flat picture has a handful.
void ExpectShowsAScene(const QImage& picture, const std::string& name) {
    ASSERT_FALSE(picture.isNull()) << name;
    picture.save(QString::fromStdString(std::string(QUELLMAR_TEST_BINARY_DIR) + "/core/game_start_" + name + ".png"));
    QSet<QRgb> colours;
    int64_t clear = 0;
    const QRgb corner = picture.pixel(0, 0);
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2) {
            colours.insert(picture.pixel(x, y));
            clear += picture.pixel(x, y) == corner;
        }
    EXPECT_GT(colours.size(), 32) << name;
    EXPECT_LT(clear, int64_t(picture.width() / 2) * (picture.height() / 2) * 3 / 4) << name;
}

TEST_F(GameStart, EachLevelRendersFrameAfterFrameAndEndsInOrder) {
    struct Case {
        const char* level;
        int16_t screenMode;
    };
    for (const Case& c : std::vector<Case>{{"couloirs", 0}, {"entrepot", 0}, {"entrepot", 1}, {"docks", 0}}) {
        ResetGameState();
        PrepareGame();
        NomMap = c.level;
        ScreenMode = c.screenMode;
        const std::string name = std::string(c.level) + (c.screenMode == 1 ? "_full_screen" : "_window");
        ExpectShowsAScene(Play(60), name);
        EXPECT_TRUE(runningAtQuit_) << name;
        EXPECT_FALSE(PartieEnCours) << name;  // the game window's unload leaves the session
        ASSERT_EQ(WeaponModels.size(), 14u) << name;
        EXPECT_TRUE(PlayerModels[0] && WeaponModels[12] && !WeaponModels[13]) << name;
        EXPECT_EQ(NbJoueurs, 8) << name;
        EXPECT_GT(FramesPerSecond, 0) << name;  // the first sample, taken after 30 frames
        EXPECT_FALSE(Device3D || FrameMonde || FrameScene || SurfArriere) << name;
        EXPECT_FALSE(GameWindow().IsLoaded()) << name;
        EXPECT_EQ(input::ShowCursor(true), 1) << name;  // shown again after the game
        input::ShowCursor(false);
    }
}

TEST_F(GameStart, MakesEveryMemberAPlayerAndPlaysThroughTheLocalPlayersCamera) {
    struct Case {
        const char* level;
        int32_t side;  // IdModeleLocal
        int32_t inverted;
        const char* skin;
        const char* terrorists;
        const char* gign;
    };
    for (const Case& c :
         {Case{"couloirs", 2, 5, "GS01.bmp", "", "abc, Ana, "}, Case{"entrepot", 1, 0, "GS01.bmp", "", "abc, Ana, "},
          Case{"docks", 0, -1, "TS01.bmp", "Ana, ", "abc, "}}) {
        ResetGameState();
        PrepareGame();
        NomMap = c.level;
        IdModeleLocal = c.side;
        SkinLocal = "01";
        InverseSouris = c.inverted;
        SpawnRandom = [] { return 0.0; };
        StatKiller = 10;
        StatSnipped = 40;
        SCOPED_TRACE(c.level);
        // The chase camera starts where the player was made and closes in
        // on it over the first frames.
        const QImage picture = Play(100, [&](int frame) {
            if (frame != 3) return;
            ASSERT_EQ(IndiceLocal, 1);
            const player& local = Joueurs[1];
            const player& other = Joueurs[0];
            EXPECT_EQ(local.nom, "Ana");
            EXPECT_EQ(local.IdModele, c.side);
            EXPECT_EQ(local.texture, c.skin);
            EXPECT_EQ(local.inverse, c.inverted != 0 ? -1 : 1);
            EXPECT_EQ(other.nom, "abc");
            EXPECT_EQ(other.IdModele, 1);
            EXPECT_EQ(other.texture, "GSabc.bmp");
            EXPECT_EQ(other.inverse, 0);
            // The local root is drawn but never hit here; the other stays
            // hidden and unpickable until it sends its state.
            EXPECT_EQ(local.joueur->GetTraversalOptions(), rm::traversal::Draw);
            EXPECT_EQ(other.joueur->GetTraversalOptions(), 0);
            EXPECT_NE(local.joueur->GetPosition(FrameMonde), rm::Vector{});  // at a spawn point
            EXPECT_EQ(
                std::vector<int32_t>({local.K_up, local.k_down, local.k_right, local.k_left, local.k_Tir, local.k_V1,
                                      local.k_V2, local.k_Arme, local.k_Arme2, local.k_strafe, local.k_baisser}),
                std::vector<int32_t>({200, 208, 205, 203, 25, 211, 207, 209, 14, 0, 157}));
            EXPECT_TRUE(local.Souris);
            EXPECT_EQ(local.mousesens, 1);
            EXPECT_EQ(NbJoueurs, 8);
            EXPECT_EQ(Vues[VueCourante]->GetCamera(), local.cam);
            // A bullet's ray is in world coordinates and picked with the
            // players' frame as its reference: on every level that frame
            // must place nothing.
            ExpectNear(FrameJoueurs->GetTransform(FrameMonde), rm::Matrix4{});
            ExpectNear(FrameMonde->WorldTransform(), rm::Matrix4{});
            // The frame's pass: rosters, the two players animated in full,
            // and the local player's speed ratio (8 ms frames).
            EXPECT_EQ(RosterTerroristes, c.terrorists);
            EXPECT_EQ(RosterGIGN, c.gign);
            for (size_t i = 0; i < 8; ++i) EXPECT_EQ(Joueurs[i].rendu, i < 2) << i;
            EXPECT_EQ(local.ratio, 0.4);
            Joueurs[1].tueur = 3;
            Joueurs[1].snipped = 2;
        });
        ExpectShowsAScene(picture, std::string("players_") + c.level);
        EXPECT_EQ(StatKiller, 13);
        EXPECT_EQ(StatKilled, 0);
        EXPECT_EQ(StatSnipped, 42);
        EXPECT_FALSE(Joueurs.Peek(1));  // the local player released
        EXPECT_TRUE(Joueurs.Peek(0));
    }
}

// The other machine of the session hears the local player every frame:
// where the level put it, alive, its legs idle.
TEST_F(GameStart, EveryFrameTheOtherMachineReceivesTheLocalPlayersState) {
    struct Case {
        const char* level;
        std::shared_ptr<rm::Frame>* relativeTo;
        rm::Vector spawn;  // row 3 of the level's spawn table
    };
    for (const Case& c : {Case{"couloirs", &FrameCouloir1, {7.715461f, -3, -22.40472f}},
                          Case{"entrepot", &FrameMurs, {-58.96852f, 5.871279f, 61.85323f}}}) {
        ResetGameState();
        PrepareGame();
        NomMap = c.level;
        SpawnRandom = [] { return 2.5 / 11; };
        SCOPED_TRACE(c.level);
        std::vector<StateMessage> states;
        Play(6, [&](int frame) {
            if (frame != 5) return;
            const player& local = JoueurLocal();
            // Where the level put it, on the floor below.
            const rm::Vector spawned = local.joueur->GetPosition(*c.relativeTo);
            EXPECT_NEAR(spawned.x, c.spawn.x, 1e-3f);
            EXPECT_NEAR(spawned.z, c.spawn.z, 1e-3f);
            play_test::WaitFor([&] {
                for (const play_test::Received& r : other_->Drain()) {
                    if (r.from != local_->id || r.code != MSG_STATE) continue;
                    StateMessage state;
                    EXPECT_TRUE(ReadStateMessage(*r.message, state));
                    states.push_back(state);
                }
                return states.size() >= 5;
            });
            ASSERT_EQ(states.size(), 5u);  // one for each frame so far
            const rm::Vector at = local.joueur->GetPosition(FrameMonde);
            EXPECT_NEAR(states.back().position[1], at.y, 1e-4);
            // It may settle onto the floor in the first frames.
            for (const StateMessage& s : states) {
                EXPECT_NEAR(s.position[0], at.x, 1e-4);
                EXPECT_NEAR(s.position[2], at.z, 1e-4);
                EXPECT_EQ(s.traversal, 3);
                EXPECT_EQ(s.Anipos, PlayerModels[0]->RenvAnimations("idle1"));
                EXPECT_EQ(s.weapon, 0);
            }
        });
    }
}

// Another machine's formal name may hold anything: no side digit gives the
// first team, and a skin code that is not plain is not used.
TEST_F(GameStart, AMemberWithoutASideDigitOrWithAnUnsafeSkinStillPlays) {
    for (const char* formal : {"", "x", "1../../media/logo"}) {
        ResetGameState();
        PrepareGame(formal);
        NomMap = "entrepot";
        Play(3, [&](int frame) {
            if (frame != 2) return;
            EXPECT_EQ(Joueurs[0].IdModele, formal[0] == '1' ? 1 : 0) << formal;
            EXPECT_EQ(Joueurs[0].texture, formal[0] == '1' ? "GS.bmp" : "TS.bmp") << formal;
            EXPECT_TRUE(Joueurs[0].joueur) << formal;
        });
    }
}

TEST_F(GameStart, ACareerTotalThatWouldOverflowStaysAndTheOthersStillGrow) {
    NomMap = "entrepot";
    StatKiller = INT32_MAX - 1;
    Play(40, [](int frame) {
        if (frame != 35) return;
        Joueurs[1].tueur = 2;
        Joueurs[1].tue = 1;
    });
    EXPECT_EQ(StatKiller, INT32_MAX - 1);
    EXPECT_EQ(StatKilled, 1);
}

TEST_F(GameStart, EscEndsTheGameAfterTheFrameThatReadsIt) {
    NomMap = "entrepot";
    input::ScriptedInput keys;
    int readings = 0;
    TickCounter = [&] {
        ++readings;
        // The set-up reads the counter once, each frame's timing step twice.
        if (readings == 40) keys.PressKey(input::key::Escape);  // in the timing step of frame 20
        if (readings == 400) QuitteJeu = true;                  // keeps a broken key from hanging the test
        return readings * 8;
    };
    EXPECT_THROW(InitJeu(), ProgramEnded);
    EXPECT_EQ(readings, 43);  // frame 21 reads the key, completes, and the game ends
    EXPECT_FALSE(Device3D);
}

TEST_F(GameStart, AGamePlayedToItsEndLeavesTheSettingsInTheHive) {
    CreeCle(registry::HKEY_LOCAL_MACHINE, kGameKey);  // as the launcher's start does
    NomMap = "entrepot";
    StatKiller = 7;
    ProfileName = "Zoë";
    EXPECT_FALSE(Play(3, [](int frame) {
                     if (frame == 2) Joueurs[1].tueur = 2;
                 }).isNull());
    // The game's kills joined the total before it was written.
    EXPECT_EQ(LitValeurCle(registry::HKEY_LOCAL_MACHINE, kGameKey, "Killer"), RegistryValue(std::string("9")));
    EXPECT_EQ(LitValeurCle(registry::HKEY_LOCAL_MACHINE, kProfileKey, "Name"), RegistryValue(std::string("Zoë")));
}

// In web mode the host's game leaves the list as the session closes, and the
// game's counters go with the comment the player types after that.
TEST_F(GameStart, AWebGameEndsWithTheHostsRemovalThenTheStatistics) {
    FakeWebServer server;
    ASSERT_NE(server.Start(), 0);
    WebServerHost = server.Host();
    HostPlayerId = IdLocalDP;
    IdSoft = 1;
    ProfileId = 42;
    ServerKey = 4711;
    NomMap = "entrepot";
    ui::SetInputBoxHandler([](const ui::InputBoxSeen&) { return std::string("gg"); });
    Play(3, [](int frame) {
        if (frame == 2) Joueurs[1].tueur = 2;
    });
    ui::SetInputBoxHandler({});
    EXPECT_EQ(server.Requests(), (std::vector<std::string>{
                                     "/script/delete_server.php3?CLE_SERVEUR=4711",
                                     "/script/quitte_server.php3?CLE_SOFT=1&CLE_JOUEUR=42&KILLER=2&KILLED=0&SNIPPER=0"
                                     "&SNIPPED=0&COMMENT=gg",
                                 }));
}

TEST_F(GameStart, WithoutAVideoSetUpTheProgramEndsAtOnce) {
    SetupDone = false;
    NomMap = "couloirs";
    EXPECT_THROW(InitJeu(), ProgramEnded);
    EXPECT_FALSE(PartieEnCours);
    EXPECT_FALSE(GameWindow().IsLoaded());
}

TEST_F(GameStart, AMissingWarehouseMeshEndsTheProgramWithItsFailure) {
    std::filesystem::remove(folder_.File("media/inutile.x"));
    NomMap = "entrepot";
    StatKiller = 4;
    std::string shown;
    ui::SetMessageBoxHandler([&](const ui::MessageBoxSeen& box) {
        shown = box.prompt;
        return ui::vbOK;
    });
    EXPECT_THROW(InitJeu(), ProgramEnded);
    EXPECT_NE(shown.find("inutile.x"), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 4), ": 53");
    EXPECT_FALSE(Device3D);
    EXPECT_EQ(StatKiller, 4);
}

TEST_F(GameStart, CorridorsWithoutACollisionMeshStillReachTheMainLoop) {
    std::filesystem::remove(folder_.File("media/mur.x"));
    NomMap = "couloirs";
    EXPECT_FALSE(Play(3).isNull());
    EXPECT_TRUE(FrameMur1 && MeshMur);
    EXPECT_EQ(MeshMur->GetFaceCount(), 0);
}

TEST_F(GameStart, ANameDifferingInCaseIsLookedForAsAMapFolderLevel) {
    NomMap = "Couloirs";
    std::string shown;
    ui::SetMessageBoxHandler([&](const ui::MessageBoxSeen& box) {
        shown = box.prompt;
        return ui::vbOK;
    });
    EXPECT_THROW(InitJeu(), ProgramEnded);
    // With no web host the map's download fails.
    EXPECT_NE(shown.find("couloirs.exe"), std::string::npos) << shown;
    EXPECT_FALSE(FrameSol1);
    ASSERT_TRUE(FrameEchelles);
    EXPECT_EQ(FrameEchelles->GetParent(), FrameMurs);
}

TEST_F(GameStart, AMissingMapThatTheSiteOffersIsDownloadedAndPlayed) {
    FakeWebServer server;
    ASSERT_NE(server.Start(), 0);
    ScriptedWebSite site(server);
    site.OfferMap("quay", SampleMapPackage("quay"));
    FixedWebHost = server.Host();
    WaitTickMilliseconds = 5;
    NomMap = "quay";
    ExpectShowsAScene(Play(60), "downloaded_quay");
    EXPECT_EQ(server.Requests(), std::vector<std::string>{"/quellmar/map/quay.exe"});
    EXPECT_TRUE(std::filesystem::is_regular_file(folder_.File("map/quay.map")));
}

// A package without the map leaves it missing: the message that says how to
// install it by hand. An unreachable site: the failure's own box.
TEST_F(GameStart, AMapThatCannotBeDownloadedEndsTheProgramWithAMessage) {
    FakeWebServer server;
    ASSERT_NE(server.Start(), 0);
    ScriptedWebSite site(server);
    site.OfferMap("quay", BuildZip({{"docks2.map", "sky\n"}}));
    FakeWebServer stopped;
    ASSERT_NE(stopped.Start(), 0);
    stopped.Stop();
    const std::string missing = "dezipper le fichier " + folder_.Path() + "/quay.exe\r\n dans le repertoire " +
                                folder_.Path() + "/map\r\n et relancer le jeu !!";
    const struct Case {
        std::string host;
        std::string box;
    } cases[] = {
        {server.Host(), missing},
        {stopped.Host(), ": " + std::to_string(net::TransferFailed)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        ResetGameState();
        PrepareGame();
        FixedWebHost = c.host;
        WaitTickMilliseconds = 5;
        NomMap = "quay";
        std::string shown;
        ui::SetMessageBoxHandler([&](const ui::MessageBoxSeen& box) {
            shown = box.prompt;
            return ui::vbOK;
        });
        EXPECT_THROW(InitJeu(), ProgramEnded);
        EXPECT_TRUE(shown.ends_with(c.box)) << shown;
        EXPECT_FALSE(std::filesystem::exists(folder_.File("map/quay.map")));
    }
}

TEST_F(GameStart, AFailureBeforeTheFirstRateSampleEndsTheProgramWithItsMessage) {
    NomMap = "entrepot";
    std::string shown;
    ui::SetMessageBoxHandler([&](const ui::MessageBoxSeen& box) {
        shown = box.prompt;
        return ui::vbOK;
    });
    int readings = 0;
    TickCounter = [&] {
        if (++readings == 10) FrameMonde = nullptr;  // the next render has no scene
        return readings;
    };
    EXPECT_THROW(InitJeu(), ProgramEnded);
    EXPECT_EQ(shown, "No frame to render: 91");
    EXPECT_TRUE(Device3D);  // the end of the game did not run
}

}  // namespace
