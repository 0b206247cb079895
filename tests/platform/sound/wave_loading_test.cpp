#include "platform/sound/direct_sound.h"
#include "platform/sound/sound_failures.h"
#include "sound_fixtures.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t Flags2D = 226;
constexpr int32_t Flags3D = 242;

struct FormatCase {
    int rate;
    int channels;
    int subtype;
    int16_t bits;
};

TEST(WaveLoading, PcmFilesLoadWithTheirFormat) {
    sound_test::SoundFolder folder;
    sound_test::Loopback output;
    const FormatCase cases[] = {
        {11025, 1, SF_FORMAT_PCM_U8, 8},
        {22050, 2, SF_FORMAT_PCM_U8, 8},
        {22050, 1, SF_FORMAT_PCM_16, 16},
        {44100, 2, SF_FORMAT_PCM_16, 16},
    };
    for (const FormatCase& c : cases) {
        const std::string file = folder.Tone("tone.wav", c.rate, c.channels, 1000, c.subtype);
        for (const int32_t flags : {Flags2D, Flags3D}) {
            SCOPED_TRACE(testing::Message()
                         << c.rate << " Hz, " << c.channels << " channels, " << c.bits << " bits, flags " << flags);
            const sound::WaveFormat format = output.Sound().CreateSoundBufferFromFile(file, flags)->GetFormat();
            EXPECT_EQ(format.nChannels, c.channels);
            EXPECT_EQ(format.lSamplesPerSec, c.rate);
            EXPECT_EQ(format.nBitsPerSample, c.bits);
            EXPECT_EQ(format.nBlockAlign, c.channels * c.bits / 8);
            EXPECT_EQ(format.lAvgBytesPerSec, c.rate * c.channels * c.bits / 8);
        }
    }
}

TEST(WaveLoading, AnythingElseFailsAtLoad) {
    sound_test::SoundFolder folder;
    sound_test::Loopback output;
    const std::string wave = folder.Tone("good.wav", 22050, 1, 1000);
    std::ifstream in(wave, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    const struct {
        const char* what;
        std::string file;
        int32_t number;
    } cases[] = {
        {"missing file", (folder.Path() / "missing.wav").string(), failure_number::FileNotFound},
        {"folder", folder.Path().string(), failure_number::FileNotFound},
        {"not a sound", folder.Bytes("text.wav", "RIFF this is not a wave file at all"), sound::failure::BadFormat},
        {"header only", folder.Bytes("cut.wav", bytes.substr(0, 44)), sound::failure::BadFormat},
        {"cut header", folder.Bytes("half.wav", bytes.substr(0, 20)), sound::failure::BadFormat},
        {"no frames", folder.Tone("empty.wav", 22050, 1, 0), sound::failure::BadFormat},
        {"float samples", folder.Tone("float.wav", 22050, 1, 100, SF_FORMAT_FLOAT), sound::failure::BadFormat},
        {"24-bit samples", folder.Tone("deep.wav", 22050, 1, 100, SF_FORMAT_PCM_24), sound::failure::BadFormat},
        {"ADPCM", folder.Tone("adpcm.wav", 22050, 1, 1000, SF_FORMAT_IMA_ADPCM), sound::failure::BadFormat},
        {"three channels", folder.Tone("three.wav", 22050, 3, 100), sound::failure::BadFormat},
        {"rate too low", folder.Tone("slow.wav", 50, 1, 100), sound::failure::BadFormat},
        {"other container", folder.Tone("tone.aiff", 22050, 1, 100, SF_FORMAT_PCM_16, SF_FORMAT_AIFF),
         sound::failure::BadFormat},
    };
    for (const auto& c : cases) {
        for (const int32_t flags : {Flags2D, Flags3D}) {
            EXPECT_EQ(FailureNumberOf([&] { output.Sound().CreateSoundBufferFromFile(c.file, flags); }), c.number)
                << c.what << ", flags " << flags;
        }
    }
}

TEST(WaveLoading, BufferControlsFollowItsFlags) {
    sound_test::SoundFolder folder;
    sound_test::Loopback output;
    const std::string file = folder.Tone("tone.wav", 22050, 1, 1000);
    auto plain = output.Sound().CreateSoundBufferFromFile(file, Flags2D);
    auto placed = output.Sound().CreateSoundBufferFromFile(file, Flags3D);
    auto fixedRate = output.Sound().CreateSoundBufferFromFile(file, sound::DSBCAPS_STATIC);

    EXPECT_EQ(FailureNumberOf([&] { plain->GetDirectSound3DBuffer(); }), sound::failure::NoInterface);
    EXPECT_NE(placed->GetDirectSound3DBuffer(), nullptr);
    EXPECT_EQ(FailureNumberOf([&] { placed->GetDirectSound3DListener(); }), sound::failure::NoInterface);
    EXPECT_EQ(FailureNumberOf([&] { fixedRate->SetFrequency(8000); }), sound::failure::ControlUnavailable);
    EXPECT_EQ(FailureNumberOf([&] { output.Sound().CreateSoundBufferFromFile(file, 17); }),
              sound::failure::InvalidParam);

    const struct {
        const char* what;
        std::function<void()> call;
    } invalid[] = {
        {"frequency too low", [&] { plain->SetFrequency(99); }},
        {"frequency too high", [&] { plain->SetFrequency(100001); }},
        {"position past the end", [&] { plain->SetCurrentPosition(2000); }},
        {"negative position", [&] { plain->SetCurrentPosition(-2); }},
        {"play flags", [&] { plain->Play(2); }},
        {"3D mode", [&] { placed->GetDirectSound3DBuffer()->SetMode(3, sound::DS3D_IMMEDIATE); }},
        {"apply flag", [&] { placed->GetDirectSound3DBuffer()->SetPosition(0, 0, 0, 2); }},
        {"position not finite", [&] { placed->GetDirectSound3DBuffer()->SetPosition(NAN, 0, 0, 1); }},
    };
    for (const auto& c : invalid) EXPECT_EQ(FailureNumberOf(c.call), sound::failure::InvalidParam) << c.what;
    EXPECT_EQ(FailureNumberOf([&] { plain->SetCurrentPosition(1998); }), 0);
    EXPECT_EQ(FailureNumberOf([&] { plain->SetFrequency(0); }), 0);
}

TEST(WaveLoading, RunningOutOfVoicesIsAFailure) {
    sound_test::SoundFolder folder;
    sound_test::Loopback output;
    const std::string file = folder.Tone("tone.wav", 22050, 1, 100);
    std::vector<std::shared_ptr<sound::Buffer>> buffers;
    int32_t number = 0;
    while (number == 0 && buffers.size() < 10000) {
        number = FailureNumberOf([&] { buffers.push_back(output.Sound().CreateSoundBufferFromFile(file, Flags3D)); });
    }
    EXPECT_EQ(number, sound::failure::OutOfMemory);
    buffers.pop_back();
    EXPECT_EQ(FailureNumberOf([&] { buffers.push_back(output.Sound().CreateSoundBufferFromFile(file, Flags3D)); }), 0)
        << "a released buffer frees its voice";
}

}  // namespace
