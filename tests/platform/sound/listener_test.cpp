// The 3D listener and 3D buffers: which settings wait for the commit, and
// how the mix places a sound.

#include "platform/sound/direct_sound.h"
#include "sound_fixtures.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

namespace {

constexpr int32_t Flags3D = 242;
constexpr int32_t Deferred = sound::DS3D_DEFERRED;
constexpr int32_t Immediate = sound::DS3D_IMMEDIATE;

class Listener3D : public testing::Test {
protected:
    Listener3D()
        : listener(output.Sound()
                       .CreateSoundBuffer(sound::DSBCAPS_PRIMARYBUFFER | sound::DSBCAPS_CTRL3D)
                       ->GetDirectSound3DListener()) {}

    // A looping 3D tone, as the game loads and places its sounds.
    std::shared_ptr<sound::Buffer3D> PlayingAt(float x, float y, float z) {
        buffer = output.Sound().CreateSoundBufferFromFile(folder.Tone("tone.wav", 22050, 1, 22050), Flags3D);
        auto placed = buffer->GetDirectSound3DBuffer();
        placed->SetMode(sound::DS3DMODE_NORMAL, Deferred);
        placed->SetPosition(x, y, z, Immediate);
        buffer->Play(sound::DSBPLAY_LOOPING);
        return placed;
    }
    // The game's world: 1 unit = 1 cm, gentle roll-off.
    void GameSettings() {
        listener->SetDopplerFactor(1, Deferred);
        listener->SetDistanceFactor(0.01f, Deferred);
        listener->SetRolloffFactor(0.1f, Deferred);
        listener->SetOrientation(0, 0, 1, 0, 1, 0, Deferred);
        listener->CommitDeferredSettings();
    }
    std::array<double, 2> LeftRight() {
        const auto samples = output.RenderSettled(4000);
        return {sound_test::Loudness(samples, 0), sound_test::Loudness(samples, 1)};
    }
    double Loudness() {
        const auto [left, right] = LeftRight();
        return left + right;
    }
    static std::array<float, 3> ListenerVector(ALenum what) {
        std::array<float, 3> v{};
        alGetListener3f(what, &v[0], &v[1], &v[2]);
        return v;
    }

    sound_test::SoundFolder folder;
    sound_test::Loopback output;
    std::shared_ptr<sound::Listener> listener;
    std::shared_ptr<sound::Buffer> buffer;
};

TEST_F(Listener3D, DeferredSettingsApplyTogetherAtTheCommit) {
    listener->SetVelocity(4, 5, 6, Deferred);
    listener->SetPosition(1, 2, 3, Deferred);
    listener->SetDopplerFactor(2, Deferred);
    listener->SetDistanceFactor(0.01f, Deferred);
    listener->SetOrientation(1, 0, 0, 0, 1, 0, Deferred);

    EXPECT_EQ(ListenerVector(AL_POSITION), (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(ListenerVector(AL_VELOCITY), (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(alGetFloat(AL_DOPPLER_FACTOR), 1);
    EXPECT_FLOAT_EQ(alGetFloat(AL_SPEED_OF_SOUND), 343.3f);

    listener->CommitDeferredSettings();
    // Our left-handed z is the mixer's −z.
    EXPECT_EQ(ListenerVector(AL_POSITION), (std::array<float, 3>{1, 2, -3}));
    EXPECT_EQ(ListenerVector(AL_VELOCITY), (std::array<float, 3>{4, 5, -6}));
    EXPECT_EQ(alGetFloat(AL_DOPPLER_FACTOR), 2);
    EXPECT_FLOAT_EQ(alGetFloat(AL_SPEED_OF_SOUND), 34330);
    std::array<float, 6> orientation{};
    alGetListenerfv(AL_ORIENTATION, orientation.data());
    EXPECT_EQ(orientation, (std::array<float, 6>{1, 0, 0, 0, 1, 0}));

    listener->SetPosition(7, 8, 9, Immediate);
    EXPECT_EQ(ListenerVector(AL_POSITION), (std::array<float, 3>{7, 8, -9}));
}

TEST_F(Listener3D, BufferPositionAndRolloffWaitForTheCommit) {
    auto placed = PlayingAt(0, 0, 1);
    const double near = Loudness();
    placed->SetPosition(0, 0, 100, Deferred);
    EXPECT_NEAR(Loudness(), near, near * 0.05);
    listener->CommitDeferredSettings();
    const double far = Loudness();
    EXPECT_LT(far, near * 0.05) << "roll-off 1: 1/100 at 100 units";

    listener->SetRolloffFactor(0, Deferred);
    EXPECT_NEAR(Loudness(), far, far * 0.05);
    listener->CommitDeferredSettings();
    EXPECT_NEAR(Loudness(), near, near * 0.05) << "roll-off 0: no attenuation";
}

TEST_F(Listener3D, AFarSoundIsSofterInTheGamesWorld) {
    GameSettings();
    PlayingAt(0, 0, 10);
    const double at10 = Loudness();
    PlayingAt(0, 0, 100);
    const double at100 = Loudness();
    EXPECT_GT(at10, 1000);
    EXPECT_LT(at100, at10 / 3);
    EXPECT_GT(at100, 100) << "still audible";
}

TEST_F(Listener3D, SoundsKeepTheirSideOfTheListener) {
    GameSettings();
    PlayingAt(10, 0, 0);
    const auto facingZ = LeftRight();
    EXPECT_GT(facingZ[1], 2 * facingZ[0]) << "facing +z, +x is on the right";

    listener->SetOrientation(1, 0, 0, 0, 1, 0, Immediate);
    PlayingAt(0, 0, 10);
    const auto facingX = LeftRight();
    EXPECT_GT(facingX[0], 2 * facingX[1]) << "facing +x, +z is on the left";
}

TEST_F(Listener3D, DisabledModePlaysAtTheListener) {
    GameSettings();
    auto placed = PlayingAt(0, 0, 1);
    const double near = Loudness();
    placed->SetPosition(300, 0, 0, Immediate);
    placed->SetMode(sound::DS3DMODE_DISABLE, Immediate);
    EXPECT_NEAR(Loudness(), near, near * 0.05);
}

TEST_F(Listener3D, InvalidSettingsFail) {
    EXPECT_NE(FailureNumberOf([&] { listener->SetOrientation(0, 0, 0, 0, 1, 0, Deferred); }), 0);
    EXPECT_NE(FailureNumberOf([&] { listener->SetOrientation(0, 2, 0, 0, 1, 0, Deferred); }), 0);
    EXPECT_NE(FailureNumberOf([&] { listener->SetDistanceFactor(0, Deferred); }), 0);
    EXPECT_NE(FailureNumberOf([&] { listener->SetRolloffFactor(11, Deferred); }), 0);
    EXPECT_NE(FailureNumberOf([&] { listener->SetDopplerFactor(-1, Deferred); }), 0);
    EXPECT_NE(FailureNumberOf([&] { listener->SetPosition(0, INFINITY, 0, Deferred); }), 0);
    EXPECT_NE(FailureNumberOf([&] { listener->SetVelocity(0, 0, 0, 5); }), 0);
}

}  // namespace
