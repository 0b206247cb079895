#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sound {

// The format of a sound as its file holds it.
struct WaveFormat {
    int16_t nFormatTag = 1;  // PCM
    int16_t nChannels = 0;
    int32_t lSamplesPerSec = 0;
    int32_t lAvgBytesPerSec = 0;
    int16_t nBlockAlign = 0;  // bytes per sample frame
    int16_t nBitsPerSample = 0;
};

// A sound read from a file: its format, and its sample frames as 16-bit
// samples with one or two channels (interleaved).
struct WaveData {
    WaveFormat format;
    int32_t frames = 0;
    int32_t channels = 0;
    std::vector<int16_t> samples;
};

// Reads a WAV file of 8- or 16-bit PCM, mono or stereo, 100 to 100000
// samples a second, with at least one frame and at most 0x0FFFFFFF bytes of
// sound. With `mono` a stereo sound is mixed down to one channel (a sound
// placed in space has one channel). Anything else is a failure: a missing
// file "file not found", a file of another kind or format "bad format".
WaveData ReadWaveFile(const std::string& path, bool mono);

}  // namespace sound
