// A real game on "entrepot", started by a peer's start message, with the
// other machines as peers in processes of their own: their players come and
// go, die, and the host dies with them. The test acts between frames, in the
// frame clock's reading.

#include "../core/game_folder.h"
#include "core/frame_timing.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "multiplayer/messages.h"
#include "multiplayer/receiver.h"
#include "multiplayer/session_state.h"
#include "platform/play/direct_play.h"
#include "platform/play/session.h"
#include "platform/rm/device.h"
#include "platform/rm/frame.h"
#include "platform/rm/rm.h"
#include "player/player.h"
#include "support/expect_near.h"
#include "support/program_ended.h"
#include "support/test_peer.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace play_test;

namespace {

using Clock = std::chrono::steady_clock;

// Share of the pixels in the middle of the picture that differ between two
// pictures of the same size.
double CentreDifference(const QImage& a, const QImage& b) {
    const int x0 = a.width() / 4, y0 = a.height() / 4;
    int differ = 0, all = 0;
    for (int y = y0; y < 3 * y0; ++y)
        for (int x = x0; x < 3 * x0; ++x, ++all) differ += a.pixel(x, y) != b.pixel(x, y);
    return all ? double(differ) / all : 0;
}

// Hits of a ray straight down through `p`'s root on the players' frames:
// what a shot could hit of the players.
int32_t PlayerHitsAt(const player& p) {
    const rm::Vector at = p.joueur->GetPosition(FrameMonde);
    return FrameJoueurs->RayPick(FrameMonde, rm::Ray{{0, -1, 0}, {at.x, at.y + 100, at.z}}).GetSize();
}

int32_t SlotOf(int32_t id) {
    for (int32_t i = 0; i < 8; ++i)
        if (Joueurs.Peek(size_t(i)) && Joueurs.Peek(size_t(i))->id == id && Joueurs.Peek(size_t(i))->joueur) return i;
    return -1;
}

// One step of the script: `start` in one frame, then `done` in each frame
// after it until it says the step is over.
struct Step {
    const char* what;
    std::function<void()> start;
    std::function<bool()> done;
};

class ReceiverGame : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        DX7 = std::make_shared<rm::DirectX7>();
        SetupDone = true;
        ScreenWidth = 640;
        ScreenHeight = 480;
        BitDepth = 32;
    }
    void TearDown() override {
        ResetGameState();
        GameWindow().Unload();
    }

    // Each frame, after the drain and the players' update: the peers still
    // in the game send their state, and the script moves on.
    void RunScript(const std::vector<Step>& steps, std::chrono::seconds limit) {
        size_t current = 0;
        bool started = false;
        int readings = 0;
        const Clock::time_point begin = Clock::now();
        TickCounter = [&] {
            if (++readings % 2 == 1 || QuitteJeu) return readings * 8;
            try {
                if (!started) {
                    if (steps[current].start) steps[current].start();
                    started = true;
                } else if (steps[current].done()) {
                    ++current;
                    started = false;
                }
                SendStates();
            } catch (const std::exception& failure) {
                ADD_FAILURE() << "a peer failed: " << failure.what();
                QuitteJeu = true;
            }
            if (current == steps.size() || Clock::now() - begin > limit) QuitteJeu = true;
            return readings * 8;
        };
        EXPECT_THROW(ReceiveMessages(), ProgramEnded);
        EXPECT_EQ(current, steps.size()) << "stopped at: " << (current < steps.size() ? steps[current].what : "");
    }

    // A remote player as the peer's player code sends it.
    struct Sender {
        Peer* peer = nullptr;
        int32_t id = 0;
        StateMessage state{.facing = {0, 0, 1}, .traversal = 3};
        bool sending = false;
    };

    // Sends every sender's state, then waits until they wait here, so that
    // the next frame's drain applies them.
    void SendStates() {
        int32_t sent = 0;
        for (Sender& s : senders_)
            if (s.sending) {
                play::DirectPlayMessage message;
                WriteStateMessage(message, s.state);
                s.peer->Send(s.id, 0, 0, message);
                ++sent;
            }
        ASSERT_TRUE(WaitFor([&] { return DPlay->GetMessageCount(IdLocalDP) >= sent; }));
    }

    GameFolder folder_;
    std::vector<Sender> senders_;
};

TEST_F(ReceiverGame, PeersPlayersAppearMoveDieLeaveJoinAndTheHostRoleMovesOn) {
    ChildPeer host, other;
    host.Create();
    const int32_t carl = host.CreatePlayer("carl", "0");
    other.Join();
    const int32_t dave = other.CreatePlayer("dave", "12");
    Machine me;
    me.Join("Ana");
    DPlay = me.dp;
    IdLocalDP = me.id;
    host.Send(carl, me.id, play::SendGuaranteed,
              Message(MSG_START, uint8_t{3}, carl, dave, me.id, carl, std::string("Carl (ENTREPOT)"),
                      std::string("entrepot")));
    ASSERT_TRUE(WaitFor([] { return DPlay->GetMessageCount(IdLocalDP) >= 1; }));
    senders_ = {{&host, carl}, {&other, dave}};
    Sender& carlSends = senders_[0];
    Sender& daveSends = senders_[1];

    QImage empty, shown;
    rm::Vector front;  // where dave stands, before the local camera
    int32_t hitsAlive = 0;
    std::unique_ptr<ChildPeer> newcomer;
    int32_t eve = 0;
    std::vector<Received> newcomerGot;
    const auto picture = [] { return Device3D->Picture(); };
    const auto daveAt = [&](float x) {
        daveSends.state.position = {front.x + x, front.y, front.z};
        daveSends.state.blood = {front.x + x, front.y + 1, front.z};
    };
    const std::vector<Step> steps = {
        {"the game runs with no state yet",
         [&] {
             EXPECT_EQ(IndiceLocal, 2);
             const player& local = JoueurLocal();
             rm::Vector direction, up;
             local.cam->GetOrientation(FrameMonde, direction, up);
             // Dave stands in sight, his feet below the eye; carl behind it.
             const rm::Vector eye = local.cam->GetPosition(FrameMonde);
             front = {eye.x + 8 * direction.x, eye.y - 2, eye.z + 8 * direction.z};
             daveSends.state.facing = {-direction.x, 0, -direction.z};
             daveAt(0);
             carlSends.state.position = {eye.x - 20 * direction.x, eye.y - 2, eye.z - 20 * direction.z};
         },
         [&] {
             empty = picture();
             EXPECT_EQ(Joueurs[0].joueur->GetTraversalOptions(), 0) << "hidden until its first state";
             EXPECT_EQ(Joueurs[1].joueur->GetTraversalOptions(), 0);
             daveSends.sending = true;
             return true;
         }},
        {"dave's first state shows him",
         {},
         [&] {
             EXPECT_EQ(Message1, "The GIGN dave come in Game.");
             EXPECT_EQ(Joueurs[1].joueur->GetTraversalOptions(), rm::traversal::Draw | rm::traversal::Pick);
             carlSends.sending = true;
             return true;
         }},
        {"carl's first state shows him",
         {},
         [&] {
             EXPECT_EQ(Message1, "The TERRORIST carl come in Game.");
             return true;
         }},
        {"dave moves as his states say", [&] { daveAt(0.5f); },
         [&] {
             ExpectNear(Joueurs[1].joueur->GetPosition(FrameMonde), {front.x + 0.5f, front.y, front.z}, 1e-3f);
             shown = picture();
             hitsAlive = PlayerHitsAt(Joueurs[1]);
             return true;
         }},
        {"dave dies and stays drawn, out of reach of shots", [&] { daveSends.state.traversal = 1; },
         [&] {
             EXPECT_EQ(Joueurs[1].joueur->GetTraversalOptions(), rm::traversal::Draw);
             EXPECT_GT(CentreDifference(empty, picture()), 0.005) << "dave is no longer drawn";
             EXPECT_GT(hitsAlive, 0);
             EXPECT_EQ(PlayerHitsAt(Joueurs[1]), 0);
             return true;
         }},
        {"dave's machine leaves",
         [&] {
             daveSends.sending = false;
             other.Leave();
         },
         [&] {
             if (SlotOf(dave) >= 0) return false;
             EXPECT_EQ(Message1, "dave leave the game.");
             EXPECT_FALSE(Joueurs.Peek(1) && Joueurs.Peek(1)->joueur);
             return true;
         }},
        {"a new machine joins and gets this machine's start message",
         [&] {
             newcomer = std::make_unique<ChildPeer>();
             newcomer->Join();
             eve = newcomer->CreatePlayer("eve", "1");
         },
         [&] {
             for (const Received& r : newcomer->Receive()) newcomerGot.push_back(r);
             const auto answer = std::find_if(newcomerGot.begin(), newcomerGot.end(),
                                              [](const Received& r) { return r.code == MSG_START && r.from != 0; });
             if (SlotOf(eve) < 0 || answer == newcomerGot.end()) return false;
             EXPECT_EQ(SlotOf(eve), 1) << "the slot dave left";
             EXPECT_EQ(answer->from, IdLocalDP);
             EXPECT_EQ(answer->to, eve);
             StartMessage start;
             EXPECT_TRUE(ReadStartMessage(*answer->message, start));
             EXPECT_EQ(start.count, 3);
             EXPECT_EQ(std::vector<int32_t>(start.ids.begin(), start.ids.begin() + 3),
                       (std::vector<int32_t>{carl, IdLocalDP, eve}));
             EXPECT_EQ(start.hostId, IdLocalDP);
             EXPECT_EQ(start.mapName, "entrepot");
             newcomerGot.clear();
             return true;
         }},
        {"the host is killed; this machine takes over and says so once",
         [&] {
             carlSends.sending = false;
             host.Kill();
         },
         [&] {
             for (const Received& r : newcomer->Receive()) newcomerGot.push_back(r);
             if (!IsHost) return false;
             EXPECT_EQ(Message1, "You are now the host.");
             EXPECT_EQ(SlotOf(carl), -1);
             return true;
         }},
        {"the other machine hears of one host only",
         {},
         [&] {
             for (const Received& r : newcomer->ReceiveAtLeast(1, std::chrono::seconds(1))) newcomerGot.push_back(r);
             int32_t announced = 0;
             for (const Received& r : newcomerGot) {
                 EXPECT_NE(r.from == 0 ? r.code : 0, play::SystemHost) << "the newcomer became host too";
                 if (r.code == MSG_HOST && r.from != 0) {
                     ++announced;
                     EXPECT_EQ(r.from, IdLocalDP);
                     EXPECT_EQ(r.message->ReadLong(), IdLocalDP);
                 }
             }
             EXPECT_EQ(announced, 1);
             EXPECT_TRUE(PartieEnCours) << "the game goes on";
             newcomerGot.clear();
             return true;
         }},
        {"eve's hit takes what it says off the local health",
         [&] { newcomer->Send(eve, me.id, play::SendGuaranteed, Message(MSG_HIT, 1.0, 2.0, 3.0, int32_t{40})); },
         [&] {
             if (JoueurLocal().force == 100) return false;
             EXPECT_EQ(JoueurLocal().force, 60);
             return true;
         }},
        {"eve's next hits kill, and a dead player takes no more; the death counts and eve is told",
         [&] {
             for (int i = 0; i < 3; ++i)
                 newcomer->Send(eve, me.id, play::SendGuaranteed, Message(MSG_HIT, 1.0, 2.0, 3.0, int32_t{40}));
         },
         [&] {
             const std::vector<Received> got = newcomer->Receive();
             newcomerGot.insert(newcomerGot.end(), got.begin(), got.end());
             const auto told = [&](int32_t code) {
                 return std::count_if(newcomerGot.begin(), newcomerGot.end(),
                                      [&](const Received& r) { return r.code == code && r.from == me.id; });
             };
             if (!JoueurLocal().mort || told(MSG_KILL) == 0 || told(MSG_TEXT) == 0) return false;
             EXPECT_EQ(JoueurLocal().tue, 1);
             EXPECT_EQ(told(MSG_KILL), 1) << "one kill for the hits";
             EXPECT_EQ(told(MSG_HEADKILL), 0);
             for (const Received& r : newcomerGot) {
                 if (r.from != me.id) continue;
                 if (r.code == MSG_KILL) {
                     EXPECT_EQ(r.to, eve);
                     EXPECT_EQ(r.message->Bytes().size(), sizeof(int32_t)) << "a kill holds its type only";
                 }
                 if (r.code == MSG_TEXT) {
                     EXPECT_EQ(r.message->ReadString(), "This FUCKING eve kill ME !!!");
                 }
             }
             return true;
         }},
        {"eve's kill counts here and her notice and chat show on the info lines",
         [&] {
             Message1 = Message2 = "";
             newcomer->Send(eve, me.id, play::SendGuaranteed, Message(MSG_HEADKILL));
             newcomer->Send(eve, 0, play::SendGuaranteed,
                            Message(MSG_TEXT, std::string("This FUCKING Ana SNIPPE ME in the HEAD !!!")));
             newcomer->Send(eve, 0, play::SendGuaranteed, Message(MSG_CHAT, std::string("gg")));
         },
         [&] {
             if (Message1.empty()) return false;
             EXPECT_EQ(JoueurLocal().tueur, 1);
             EXPECT_EQ(JoueurLocal().snipper, 1);
             EXPECT_EQ(Message2, "eve says: This FUCKING Ana SNIPPE ME in the HEAD !!!");
             EXPECT_EQ(Message1, "eve says: gg");
             return true;
         }},
    };
    RunScript(steps, std::chrono::seconds(60));
    EXPECT_GT(CentreDifference(empty, shown), 0.005) << "dave was not drawn before the camera";
    shown.save(QString::fromStdString(std::string(QUELLMAR_TEST_BINARY_DIR) + "/multiplayer/peers_in_game.png"));
}

}  // namespace
