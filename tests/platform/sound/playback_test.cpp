// Static buffers played into a loopback output: positions and silence are
// those of the samples actually mixed.

#include "platform/sound/direct_sound.h"
#include "sound_fixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int32_t Flags2D = 226;
constexpr int ToneRate = 22050;  // half the output rate: one output frame moves the cursor half a frame
constexpr int OneSecond = ToneRate;
constexpr int Silent = 1;

class Playback : public testing::Test {
protected:
    std::shared_ptr<sound::Buffer> Load(int frames, int32_t flags = Flags2D) {
        return output.Sound().CreateSoundBufferFromFile(folder.Tone("tone.wav", ToneRate, 1, frames), flags);
    }
    // Renders `bytes` of the tone's 16-bit mono sound at the tone's own rate.
    std::vector<int16_t> Play(int bytes) { return output.Render(bytes); }
    double Loudness() { return sound_test::Loudness(output.RenderSettled(2000), 0); }

    sound_test::SoundFolder folder;
    sound_test::Loopback output;
};

TEST_F(Playback, StopKeepsThePositionAndPlayResumesThere) {
    auto buffer = Load(OneSecond);
    EXPECT_EQ(buffer->GetCurrentPosition(), 0);
    buffer->Play(0);
    Play(4410);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 4410, 4);
    buffer->Stop();
    const int32_t stoppedAt = buffer->GetCurrentPosition();
    EXPECT_LT(Loudness(), Silent);
    EXPECT_EQ(buffer->GetCurrentPosition(), stoppedAt);
    buffer->Play(0);
    Play(4410);
    EXPECT_NEAR(buffer->GetCurrentPosition(), stoppedAt + 4410, 4);
}

TEST_F(Playback, AOneShotThatEndedReadsZeroAndPlaysAgainFromTheStart) {
    auto buffer = Load(2205);
    buffer->Play(0);
    Play(8820);
    EXPECT_EQ(buffer->GetCurrentPosition(), 0);
    EXPECT_LT(Loudness(), Silent);
    buffer->Play(0);
    Play(400);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 400, 4);
}

TEST_F(Playback, LoopingWrapsUntilPlayedOnce) {
    auto buffer = Load(2205);
    buffer->Play(sound::DSBPLAY_LOOPING);
    Play(5000);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 5000 - 4410, 4);
    EXPECT_GT(Loudness(), 1000);
    buffer->Play(0);  // this pass is the last
    Play(8820);
    EXPECT_EQ(buffer->GetCurrentPosition(), 0);
    EXPECT_LT(Loudness(), Silent);
}

TEST_F(Playback, PositionMovesThePlayCursorInAnyState) {
    auto buffer = Load(OneSecond);
    buffer->SetCurrentPosition(1001);
    EXPECT_EQ(buffer->GetCurrentPosition(), 1000) << "a position falls to the start of its sample frame";
    buffer->Play(0);
    Play(1000);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 2000, 4);

    buffer->SetCurrentPosition(0);  // restarted while playing
    EXPECT_EQ(buffer->GetCurrentPosition(), 0);
    Play(1000);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 1000, 4);

    buffer->Play(0);  // playing again while playing does not restart
    Play(1000);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 2000, 4);

    buffer->Stop();
    buffer->SetCurrentPosition(30000);
    EXPECT_EQ(buffer->GetCurrentPosition(), 30000);
    buffer->Play(0);
    Play(1000);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 31000, 4);
}

TEST_F(Playback, FrequencyIsTheRateInHertz) {
    auto buffer = Load(OneSecond);
    buffer->SetFrequency(2 * ToneRate);
    buffer->Play(0);
    Play(1000);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 2000, 8);
    buffer->SetFrequency(0);
    Play(1000);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 3000, 8);
}

TEST_F(Playback, PlayedBuffersSoundAndStoppedOnesAreSilent) {
    auto first = Load(OneSecond);
    auto second = Load(OneSecond);
    EXPECT_LT(Loudness(), Silent) << "nothing plays before Play";
    first->Play(0);
    const double one = Loudness();
    EXPECT_GT(one, 1000);
    second->Play(sound::DSBPLAY_LOOPING);
    EXPECT_GT(Loudness(), one * 1.5) << "both play at once";
    first->Stop();
    EXPECT_NEAR(Loudness(), one, one * 0.2);
    second->Stop();
    EXPECT_LT(Loudness(), Silent);
}

}  // namespace
