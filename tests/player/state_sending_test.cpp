// The local player's state, sent each frame to the other machines of its
// session and read there as the receiver reads it.

#include "core/game_state.h"
#include "multiplayer/messages.h"
#include "platform/play/direct_play.h"
#include "player_fixture.h"
#include "support/play_fixture.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

class StateSending : public SessionPlayerFixture {
protected:
    void SetUp() override {
        SessionPlayerFixture::SetUp();
        // With the chat box open the control step reads no device, which
        // this fixture has none of, and moves nothing.
        ChatTyping = true;
    }

    // The state messages the observer has from the local player, after
    // `frames` frames of it, read.
    std::vector<StateMessage> Frames(player& p, size_t frames) {
        for (size_t i = 0; i < frames; ++i) p.Avance();
        std::vector<StateMessage> states;
        play_test::WaitFor([&] {
            for (const play_test::Received& r : observer_.Drain()) {
                if (r.from != local_.id || r.code != MSG_STATE) continue;
                StateMessage state;
                EXPECT_TRUE(ReadStateMessage(*r.message, state));
                states.push_back(state);
            }
            return states.size() >= frames;
        });
        EXPECT_EQ(states.size(), frames);
        return states;
    }
};

TEST_F(StateSending, EveryFrameSendsThePlayersStateToTheOthers) {
    player& p = Build(0, true);
    p.NbBastos = 1;  // a round left: no reload in the frame
    p.joueur->SetPosition(FrameMonde, 12, 3, -40);
    p.pivot = -0.25;
    p.colonne = 15;
    p.AniBuste = 4;
    p.IdArme = 0;
    p.idson = 1;
    p.Frmsang->SetPosition(FrameMonde, 11, 4, -41);
    p.Frmsang->SetAppData(4);
    p.flash->SetAppData(1);
    const std::vector<StateMessage> sent = Frames(p, 1);
    ASSERT_EQ(sent.size(), 1u);
    const StateMessage& s = sent[0];
    EXPECT_EQ(s.position, (std::array<double, 3>{12, 3, -40}));
    EXPECT_EQ(s.facing, (std::array<double, 3>{p.gPlayerori1x, p.gPlayerori1y, p.gPlayerori1z}));
    EXPECT_NEAR(s.facing[2], 1, 1e-6);
    EXPECT_EQ(s.pivot, -0.25);
    EXPECT_EQ(s.colonne, 15);
    EXPECT_EQ(s.Anipos, p.Anipos);
    EXPECT_EQ(s.AniBuste, 4);
    EXPECT_EQ(s.weapon, 0);
    EXPECT_EQ(s.traversal, 3);
    EXPECT_EQ(s.idson, 1);
    EXPECT_NEAR(s.blood[0], 11, 1e-4);
    EXPECT_NEAR(s.blood[1], 4, 1e-4);
    EXPECT_NEAR(s.blood[2], -41, 1e-4);
    EXPECT_EQ(s.bloodStep, 5);  // as the frame's step left them
    EXPECT_EQ(s.flashStep, 2);
}

TEST_F(StateSending, ClocksRoundHalvesToEvenDeathShowsAndEventsGoOnce) {
    player& p = Build(0, true);
    p.NbBastos = 1;  // a round left: no reload in these frames
    struct Case {
        double clock;
        int32_t sent;
    };
    for (const Case c : {Case{2.5, 2}, Case{3.5, 4}, Case{-0.5, 0}, Case{7.49, 7}}) {
        p.fps = c.clock;
        p.fps2 = c.clock;
        const StateMessage s = Frames(p, 1).at(0);
        EXPECT_EQ(s.fps, c.sent) << c.clock;
        EXPECT_EQ(s.fps2, c.sent) << c.clock;
    }

    p.mort = true;
    p.idson2 = 1;
    p.idson3 = 1;
    const std::vector<StateMessage> sent = Frames(p, 2);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].traversal, 1);
    EXPECT_EQ(sent[0].idson2 + sent[0].idson3, 2);
    EXPECT_EQ(sent[1].idson2 + sent[1].idson3, 0);

    // Without a session nothing is sent, and the events still go.
    DPlay.reset();
    p.idson2 = 4;
    p.idson3 = 1;
    EXPECT_NO_THROW(p.Avance());
    EXPECT_EQ(p.idson2 + p.idson3, 0);
}

}  // namespace
