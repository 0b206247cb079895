#include "platform/sound/direct_sound.h"
#include "platform/sound/sound_failures.h"
#include "sound_fixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

TEST(DirectSound, DefaultDeviceGivesThePrimaryBufferAndItsListener) {
    auto directSound = sound::DirectSoundCreate("");
    directSound->SetCooperativeLevel(nullptr, sound::DSSCL_NORMAL);
    auto primary = directSound->CreateSoundBuffer(sound::DSBCAPS_PRIMARYBUFFER | sound::DSBCAPS_CTRL3D);
    auto listener = primary->GetDirectSound3DListener();
    ASSERT_NE(listener, nullptr);
    EXPECT_EQ(primary->GetDirectSound3DListener(), listener) << "one listener per device";
    primary->Play(sound::DSBPLAY_LOOPING);
    listener->SetPosition(1, 2, 3, sound::DS3D_DEFERRED);
    listener->CommitDeferredSettings();

    EXPECT_EQ(FailureNumberOf([&] { primary->SetCurrentPosition(0); }), sound::failure::InvalidCall);
    EXPECT_EQ(FailureNumberOf([&] { primary->GetDirectSound3DBuffer(); }), sound::failure::NoInterface);
    EXPECT_EQ(FailureNumberOf([&] { directSound->CreateSoundBuffer(sound::DSBCAPS_CTRL3D); }),
              sound::failure::InvalidParam);
    EXPECT_EQ(FailureNumberOf(
                  [&] { directSound->CreateSoundBuffer(sound::DSBCAPS_PRIMARYBUFFER)->GetDirectSound3DListener(); }),
              sound::failure::NoInterface);
}

TEST(DirectSound, BuffersPlayOnTheDefaultDevice) {
    sound_test::SoundFolder folder;
    auto directSound = sound::DirectSoundCreate("");
    auto buffer = directSound->CreateSoundBufferFromFile(folder.Tone("tone.wav", 22050, 1, 22050), 242);
    EXPECT_EQ(buffer->GetFormat().lAvgBytesPerSec, 44100);
    buffer->Play(sound::DSBPLAY_LOOPING);
    // The default device mixes in real time.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (buffer->GetCurrentPosition() == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_GT(buffer->GetCurrentPosition(), 0);
    buffer->Stop();
}

TEST(DirectSound, UnknownDeviceFails) {
    EXPECT_EQ(FailureNumberOf([] { sound::DirectSoundCreate("{00000000-0000-0000-0000-000000000001}"); }),
              sound::failure::NoDriver);
}

// The mixer reads its choice of outputs once per process, so the machine
// without any output is played in a process of its own.
TEST(DirectSoundDeathTest, NoOutputAtAllFailsCleanly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "none", 1);
            std::exit(FailureNumberOf([] { sound::DirectSoundCreate(""); }) == sound::failure::NoDriver ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
