#include "wav.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "file_out.h"
#include "picture.h"
#include "vec.h"

namespace gen {

Sound::Sound(int rate, double seconds) : rate_(rate), samples_(static_cast<size_t>(rate * seconds), 0.0) {}

void Sound::Tone(double start, double length, double f0, double f1, double level, double decay, double harmonics) {
    const size_t first = static_cast<size_t>(start * rate_);
    const size_t count = static_cast<size_t>(length * rate_);
    double phase = 0;
    for (size_t i = 0; i < count && first + i < samples_.size(); ++i) {
        const double t = double(i) / rate_;
        const double f = f0 + (f1 - f0) * (t / length);
        phase += 2 * kPi * f / rate_;
        const double attack = std::min(1.0, t * 400);
        const double release = std::min(1.0, (length - t) * 200);
        const double wave = std::sin(phase) + harmonics * std::sin(2 * phase) + harmonics * 0.5 * std::sin(3 * phase);
        samples_[first + i] += level * attack * release * std::exp(-decay * t) * wave;
    }
}

void Sound::Noise(double start, double length, double level, double brightness, double decay, uint32_t seed) {
    const size_t first = static_cast<size_t>(start * rate_);
    const size_t count = static_cast<size_t>(length * rate_);
    double filtered = 0;
    for (size_t i = 0; i < count && first + i < samples_.size(); ++i) {
        const double t = double(i) / rate_;
        const double white = 2 * Hash(static_cast<uint32_t>(i), 17, seed) - 1;
        filtered += brightness * (white - filtered);
        const double attack = std::min(1.0, t * 2000);
        const double release = std::min(1.0, (length - t) * 200);
        samples_[first + i] += level * attack * release * std::exp(-decay * t) * filtered;
    }
}

void Sound::Normalise(double peak) {
    double largest = 0;
    for (double s : samples_) largest = std::max(largest, std::abs(s));
    if (largest > 0)
        for (double& s : samples_) s *= peak / largest;
}

void WriteWav(const std::string& path, const Sound& sound) {
    const uint32_t data = static_cast<uint32_t>(sound.samples().size() * 2);
    Bytes out;
    out.Text("RIFF");
    out.U32(36 + data);
    out.Text("WAVEfmt ");
    out.U32(16);
    out.U16(1);  // PCM
    out.U16(1);  // mono
    out.U32(sound.rate());
    out.U32(sound.rate() * 2);
    out.U16(2);
    out.U16(16);
    out.Text("data");
    out.U32(data);
    for (double s : sound.samples()) {
        const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767);
        out.U16(static_cast<uint16_t>(static_cast<int16_t>(v)));
    }
    out.Save(path);
}

void WriteVoice(const std::string& path, const std::string& speaker, const std::string& words, const Sound& fallback) {
    if (!speaker.empty()) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        const std::string command = "\"" + speaker + "\" -v en -s 150 -p 35 -w \"" + path + "\" \"" + words + "\"";
        if (std::system(command.c_str()) == 0 && std::filesystem::exists(path) && std::filesystem::file_size(path) > 44)
            return;
    }
    WriteWav(path, fallback);
}

}  // namespace gen
