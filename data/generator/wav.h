#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Synthesised sounds and their files: mono 16-bit PCM WAV.

namespace gen {

class Sound {
public:
    Sound(int rate, double seconds);

    int rate() const { return rate_; }
    const std::vector<double>& samples() const { return samples_; }

    // A tone gliding from f0 to f1 Hz, with a sharp attack and an
    // exponential decay of `decay` per second (0: held at full level).
    void Tone(double start, double length, double f0, double f1, double level, double decay, double harmonics = 0);
    // Noise through a one-pole low-pass filter (`brightness` 0 to 1),
    // decaying exponentially.
    void Noise(double start, double length, double level, double brightness, double decay, uint32_t seed);
    // Peak level scaled to `peak` (0 to 1).
    void Normalise(double peak);

private:
    int rate_;
    std::vector<double> samples_;
};

void WriteWav(const std::string& path, const Sound& sound);

// The voice line `words` spoken into `path` by the speech synthesiser found
// at build time; when there is none, or it fails, `fallback` is written.
void WriteVoice(const std::string& path, const std::string& speaker, const std::string& words, const Sound& fallback);

}  // namespace gen
