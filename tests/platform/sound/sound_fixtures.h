#pragma once

#include "platform/failure.h"
#include "platform/sound/direct_sound.h"
#include "support/failure_number.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace sound_test {

// A folder of sound files made for one test, removed with it.
class SoundFolder {
public:
    SoundFolder();
    ~SoundFolder();

    // A WAV file of a 440 Hz tone at half scale: `subtype` a libsndfile
    // subtype (SF_FORMAT_PCM_16 unless told), `format` its container.
    std::string Tone(const std::string& name, int rate, int channels, int frames, int subtype = 0, int format = 0);
    // A file holding exactly these bytes.
    std::string Bytes(const std::string& name, const std::string& bytes);
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Sound rendered into memory instead of an output: every test sees exactly
// the samples that the mix made, 44100 stereo 16-bit frames a second.
class Loopback {
public:
    static constexpr int Rate = 44100;
    Loopback();

    std::vector<int16_t> Render(int frames);
    // Renders `frames` after the mix has settled: a change reaches the
    // output with a short fade, which this leaves out.
    std::vector<int16_t> RenderSettled(int frames);
    sound::DirectSound& Sound() { return *sound_; }

private:
    std::shared_ptr<sound::AudioDevice> device_;
    std::shared_ptr<sound::DirectSound> sound_;
};

// Root mean square of the left (channel 0) or right (1) samples.
double Loudness(const std::vector<int16_t>& stereo, int channel);

}  // namespace sound_test
