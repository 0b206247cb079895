// The game's sound set-up, sound loading and info sounds, mixed into a
// loopback output so that what plays and where is what the mixer did.

#include "core/game_sound.h"
#include "../platform/sound/sound_fixtures.h"
#include "core/game_sound_buffers.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "platform/sound/direct_sound.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

namespace {

constexpr int ToneRate = 22050;  // one output frame moves a cursor by one byte
constexpr int Tolerance = 4;

class GameSound : public testing::Test {
protected:
    void SetUp() override {
        // The loopback owns its DirectSound; the game state only points to it.
        DSound = std::shared_ptr<sound::DirectSound>(std::shared_ptr<void>(), &output.Sound());
        for (int i = 0; i < 5; ++i) {
            std::shared_ptr<sound::Buffer3D> none;
            ChargeSon(folder.Tone("info" + std::to_string(i) + ".wav", ToneRate, 1, ToneRate), DSound, SonsJeu[i], none,
                      false);
        }
    }
    void TearDown() override { GameWindow().Unload(); }

    int32_t At(int i) { return SonsJeu[i]->GetCurrentPosition(); }

    sound_test::SoundFolder folder;
    sound_test::Loopback output;
};

TEST_F(GameSound, AnInfoSoundCutsArrivalAndChatShortAndStartsFromTheBeginning) {
    JoueSonInfo(0);
    output.Render(1000);
    JoueSonInfo(2);
    output.Render(1000);
    EXPECT_NEAR(At(0), 1000, Tolerance);  // stopped where it was
    EXPECT_NEAR(At(2), 1000, Tolerance);

    JoueSonInfo(1);
    JoueSonInfo(4);
    output.Render(500);
    EXPECT_NEAR(At(1), 0, Tolerance);     // stopped before it was heard
    EXPECT_NEAR(At(2), 1500, Tolerance);  // 2, 3 and 4 do not stop each other
    EXPECT_NEAR(At(4), 500, Tolerance);

    JoueSonInfo(2);  // still playing: back to its start
    output.Render(200);
    EXPECT_NEAR(At(2), 200, Tolerance);
}

TEST_F(GameSound, HumiliationYieldsToTheEventQueue) {
    ui::Form probe("probe");
    ui::Timer timer(probe, "timer");
    bool ran = false;
    timer.Tick = [&] { ran = true; };
    probe.Load();
    timer.SetInterval(1);
    usleep(5000);
    JoueSonInfo(2);
    EXPECT_FALSE(ran);
    for (int i = 0; i < 50 && !ran; ++i) {
        JoueSonInfo(3);
        usleep(2000);
    }
    EXPECT_TRUE(ran);
    probe.Unload();
}

TEST_F(GameSound, EmptySlotsAndUnknownNumbersPlayNothing) {
    JoueSonInfo(0);
    for (int32_t son : {5, 6, -1}) EXPECT_NO_THROW(JoueSonInfo(son));
    output.Render(300);
    EXPECT_NEAR(At(0), 0, Tolerance);  // the stop still ran
}

TEST_F(GameSound, ChargeSonGivesA3DBufferOnlyWhenAsked) {
    const std::string file = folder.Tone("pas.wav", ToneRate, 2, 100);
    std::shared_ptr<sound::Buffer> buffer;
    std::shared_ptr<sound::Buffer3D> buffer3D;
    ChargeSon(file, DSound, buffer, buffer3D, false);
    EXPECT_TRUE(buffer);
    EXPECT_FALSE(buffer3D);
    ChargeSon(file, DSound, buffer, buffer3D, true);
    EXPECT_TRUE(buffer3D);
}

TEST_F(GameSound, AFileThatDoesNotLoadLeavesTheBufferUnsetAndHarmless) {
    std::shared_ptr<sound::Buffer> buffer;
    std::shared_ptr<sound::Buffer3D> buffer3D;
    ChargeSon(folder.Bytes("bad.wav", "RIFF...."), DSound, buffer, buffer3D, true);
    ChargeSon((folder.Path() / "missing.wav").string(), DSound, buffer, buffer3D, true);
    EXPECT_FALSE(buffer);
    EXPECT_FALSE(buffer3D);
    EXPECT_NO_THROW({
        son::Play(buffer, 1);
        son::Stop(buffer);
        son::SetCurrentPosition(buffer, 0);
        son::SetFrequency(buffer, 8250);
        son::SetPosition(buffer3D, 1, 2, 3, 1);
    });
}

TEST(SilentGame, WithoutDSoundNothingLoadsAndInfoSoundsPlayNothing) {
    sound_test::SoundFolder folder;
    sound_test::Loopback output;
    const std::shared_ptr<sound::DirectSound> device(std::shared_ptr<void>(), &output.Sound());
    std::shared_ptr<sound::Buffer3D> none;
    ChargeSon(folder.Tone("enter.wav", ToneRate, 1, 100), device, SonsJeu[0], none, false);
    EXPECT_FALSE(SonsJeu[0]);
    for (int32_t son = 0; son <= 5; ++son) EXPECT_NO_THROW(JoueSonInfo(son));
    GameWindow().AfficheMessage("Ana est arrivée", 0);
    EXPECT_EQ(Message1, "Ana est arrivée");
    GameWindow().Unload();
}

TEST(SoundSetUp, InitDirectSoundMakesThePrimaryBufferAndItsListener) {
    InitDirectSound();
    ASSERT_TRUE(DSound);
    EXPECT_TRUE(DSPrimaire);
    ASSERT_TRUE(DSListener);
    EXPECT_NO_THROW(DSListener->CommitDeferredSettings());
    GameWindow().Unload();
}

}  // namespace
