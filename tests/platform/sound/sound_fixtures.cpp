#define AL_ALEXT_PROTOTYPES
#include "sound_fixtures.h"

#include "platform/sound/audio_device.h"

#include <AL/alc.h>
#include <AL/alext.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace sound_test {
namespace {

constexpr int SettleFrames = 4096;

// No sound test plays to the machine's speakers: the default output is the
// mixer's silent one unless the test run names another.
const bool silentOutput = setenv("ALSOFT_DRIVERS", "null", 0) == 0;

}  // namespace

SoundFolder::SoundFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quellmar-sound-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
    path_ = pattern;
}

SoundFolder::~SoundFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string SoundFolder::Tone(const std::string& name, int rate, int channels, int frames, int subtype, int format) {
    const std::string file = (path_ / name).string();
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = (format ? format : SF_FORMAT_WAV) | (subtype ? subtype : SF_FORMAT_PCM_16);
    SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
    if (!out) throw std::runtime_error(std::string("cannot write ") + file + ": " + sf_strerror(nullptr));
    std::vector<float> samples(static_cast<size_t>(frames * channels));
    for (int frame = 0; frame < frames; ++frame) {
        for (int channel = 0; channel < channels; ++channel) {
            samples[static_cast<size_t>(frame * channels + channel)] =
                0.5f * static_cast<float>(std::sin(2 * M_PI * 440 * frame / rate));
        }
    }
    sf_writef_float(out, samples.data(), frames);
    sf_close(out);
    return file;
}

std::string SoundFolder::Bytes(const std::string& name, const std::string& bytes) {
    const std::string file = (path_ / name).string();
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

Loopback::Loopback() {
    ALCdevice* device = alcLoopbackOpenDeviceSOFT(nullptr);
    if (!device) throw std::runtime_error("no loopback device");
    const ALCint attributes[] = {
        ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT, ALC_FREQUENCY, Rate, 0};
    device_ = sound::AudioDevice::Adopt(device, attributes);
    sound_ = std::make_shared<sound::DirectSound>(device_);
}

std::vector<int16_t> Loopback::Render(int frames) {
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
    alcRenderSamplesSOFT(device_->Handle(), samples.data(), frames);
    return samples;
}

std::vector<int16_t> Loopback::RenderSettled(int frames) {
    Render(SettleFrames);
    return Render(frames);
}

double Loudness(const std::vector<int16_t>& stereo, int channel) {
    double sum = 0;
    for (size_t i = static_cast<size_t>(channel); i < stereo.size(); i += 2) sum += double(stereo[i]) * stereo[i];
    return std::sqrt(sum / static_cast<double>(stereo.size() / 2));
}

}  // namespace sound_test
