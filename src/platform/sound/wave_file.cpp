#include "platform/sound/wave_file.h"

#include "platform/failure.h"
#include "platform/sound/sound_failures.h"

#include <sndfile.h>

#include <filesystem>
#include <memory>

namespace sound {
namespace {

constexpr int32_t MinRate = 100;
constexpr int32_t MaxRate = 100000;
constexpr int64_t MaxBytes = 0x0FFFFFFF;

struct CloseFile {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

Failure BadFormat(const std::string& path, const std::string& why) {
    return Failure(failure::BadFormat, "Unsupported sound file " + path + ": " + why);
}

int16_t BitsOf(int subtype) { return subtype == SF_FORMAT_PCM_U8 ? 8 : 16; }

}  // namespace

WaveData ReadWaveFile(const std::string& path, bool mono) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        throw Failure(failure_number::FileNotFound, "File not found: " + path);
    }
    SF_INFO info{};
    std::unique_ptr<SNDFILE, CloseFile> file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) throw BadFormat(path, sf_strerror(nullptr));

    const int container = info.format & SF_FORMAT_TYPEMASK;
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX) throw BadFormat(path, "not a WAV file");
    if (subtype != SF_FORMAT_PCM_U8 && subtype != SF_FORMAT_PCM_16) throw BadFormat(path, "not 8- or 16-bit PCM");
    if (info.channels != 1 && info.channels != 2) throw BadFormat(path, "not mono or stereo");
    if (info.samplerate < MinRate || info.samplerate > MaxRate) throw BadFormat(path, "sample rate out of range");

    WaveData wave;
    WaveFormat& format = wave.format;
    format.nChannels = static_cast<int16_t>(info.channels);
    format.lSamplesPerSec = info.samplerate;
    format.nBitsPerSample = BitsOf(subtype);
    format.nBlockAlign = static_cast<int16_t>(format.nChannels * format.nBitsPerSample / 8);
    format.lAvgBytesPerSec = format.lSamplesPerSec * format.nBlockAlign;
    if (info.frames < 1) throw BadFormat(path, "no sound in it");
    if (info.frames * format.nBlockAlign > MaxBytes) throw BadFormat(path, "too long");

    std::vector<int16_t> read(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    const sf_count_t frames = sf_readf_short(file.get(), read.data(), info.frames);
    if (frames < 1) throw BadFormat(path, "no sound in it");
    wave.frames = static_cast<int32_t>(frames);
    read.resize(static_cast<size_t>(frames) * static_cast<size_t>(info.channels));

    if (mono && info.channels == 2) {
        wave.channels = 1;
        wave.samples.resize(static_cast<size_t>(frames));
        for (size_t i = 0; i < wave.samples.size(); ++i) {
            wave.samples[i] = static_cast<int16_t>((read[2 * i] + read[2 * i + 1]) / 2);
        }
    } else {
        wave.channels = info.channels;
        wave.samples = std::move(read);
    }
    return wave;
}

}  // namespace sound
