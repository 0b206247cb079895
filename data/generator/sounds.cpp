#include "sounds.h"

#include <cstdint>

namespace gen {

namespace {

constexpr int kRate = 22050;

struct Report {
    const char* weapon;
    double length, body, brightness, decay, crack;
};

// Heavier calibres: a lower body, a slower tail.
constexpr Report kReports[] = {
    {"mac10", 0.22, 180, 0.55, 22, 0.5}, {"ump45", 0.3, 150, 0.5, 16, 0.6},   {"aug", 0.4, 120, 0.6, 11, 0.8},
    {"p90", 0.25, 170, 0.65, 20, 0.5},   {"mp5", 0.28, 160, 0.45, 18, 0.5},   {"ak47", 0.5, 95, 0.5, 9, 0.9},
    {"m4a1", 0.42, 115, 0.6, 11, 0.8},   {"sg550", 0.45, 105, 0.65, 10, 0.9}, {"sg552", 0.4, 125, 0.6, 12, 0.8},
    {"m249", 0.4, 100, 0.55, 12, 0.8},   {"m3", 0.7, 70, 0.4, 6, 1.0},        {"awp", 0.9, 60, 0.7, 4.5, 1.2},
    {"xm1014", 0.6, 75, 0.42, 7, 1.0},
};

uint32_t Seed(const std::string& s) {
    uint32_t h = 2166136261u;
    for (char c : s) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h;
}

void Click(Sound& s, double at, double pitch, uint32_t seed) {
    s.Noise(at, 0.03, 0.6, 0.9, 120, seed);
    s.Tone(at, 0.04, pitch, pitch * 0.8, 0.3, 80);
}

}  // namespace

Sound FireSound(const std::string& weapon) {
    Report r = kReports[0];
    for (const Report& candidate : kReports)
        if (weapon == candidate.weapon) r = candidate;
    const bool pump = weapon == "xm1014" || weapon == "m3";
    const bool bolt = weapon == "awp";
    Sound s(kRate, pump || bolt ? 1.3 : r.length);
    const uint32_t seed = Seed(weapon);
    s.Noise(0, 0.012, r.crack, 1.0, 300, seed);                  // the crack
    s.Noise(0, r.length, 1.0, r.brightness, r.decay, seed + 1);  // the blast
    s.Tone(0, r.length * 0.6, r.body, r.body * 0.5, 0.8, r.decay * 1.3, 0.4);
    if (pump) {  // the slide back and forth
        Click(s, 0.62, 900, seed + 2);
        Click(s, 0.85, 1100, seed + 3);
    }
    if (bolt) {
        Click(s, 0.7, 1400, seed + 2);
        Click(s, 0.95, 1000, seed + 3);
    }
    s.Normalise(0.9);
    return s;
}

void WriteModelSounds(const std::string& models, const std::string& speaker) {
    {
        Sound s(kRate, 0.45);  // a rising chime
        s.Tone(0, 0.2, 660, 660, 0.5, 6, 0.2);
        s.Tone(0.12, 0.33, 990, 990, 0.5, 6, 0.2);
        s.Normalise(0.7);
        WriteWav(models + "/enter.wav", s);
    }
    {
        Sound s(kRate, 0.18);  // a short blip
        s.Tone(0, 0.08, 1200, 1500, 0.5, 20);
        s.Tone(0.09, 0.09, 1500, 1800, 0.5, 20);
        s.Normalise(0.6);
        WriteWav(models + "/chat.wav", s);
    }
    {
        Sound s(kRate, 0.8);  // major arpeggio
        const double notes[] = {523, 659, 784, 1047};
        for (int i = 0; i < 4; ++i) s.Tone(i * 0.12, 0.8 - i * 0.12, notes[i], notes[i], 0.4, 4, 0.3);
        s.Normalise(0.8);
        WriteVoice(models + "/perfect.wav", speaker, "perfect!", s);
    }
    {
        Sound s(kRate, 1.0);  // sliding down, a sad trombone
        for (int i = 0; i < 3; ++i) s.Tone(i * 0.25, 0.3, 392 - i * 30, 380 - i * 30, 0.5, 2, 0.6);
        s.Tone(0.75, 0.25, 300, 240, 0.5, 3, 0.6);
        s.Normalise(0.8);
        WriteVoice(models + "/humiliation.wav", speaker, "humiliation", s);
    }
    {
        Sound s(kRate, 0.7);  // a metallic ping and a low hit
        s.Noise(0, 0.05, 0.8, 0.9, 60, 41);
        s.Tone(0, 0.7, 1760, 1740, 0.5, 5, 0.1);
        s.Tone(0, 0.3, 110, 60, 0.7, 8);
        s.Normalise(0.85);
        WriteVoice(models + "/headshot.wav", speaker, "head shot!", s);
    }
    {
        // Two steps per loop, made to play at 8800 Hz.
        Sound s(8800, 0.6);
        for (int step = 0; step < 2; ++step) {
            s.Noise(step * 0.3, 0.09, 0.9, 0.35, 35, 50 + step);
            s.Tone(step * 0.3, 0.06, 90, 60, 0.6, 40);
            s.Noise(step * 0.3 + 0.05, 0.05, 0.3, 0.7, 60, 60 + step);  // gravel
        }
        s.Normalise(0.7);
        WriteWav(models + "/pas.wav", s);
    }
    {
        Sound s(kRate, 0.86);  // lub-dub at 70 beats a minute, looping
        s.Tone(0, 0.12, 60, 45, 1.0, 18);
        s.Tone(0.18, 0.1, 55, 42, 0.7, 22);
        s.Normalise(0.6);
        WriteWav(models + "/coeur.wav", s);
    }
    {
        Sound s(kRate, 0.35);  // thud and grunt
        s.Noise(0, 0.08, 1.0, 0.4, 40, 71);
        s.Tone(0.02, 0.3, 180, 120, 0.6, 6, 0.8);
        s.Normalise(0.85);
        WriteWav(models + "/touche.wav", s);
    }
    {
        Sound s(kRate, 1.2);  // a falling groan, then the body on the floor
        s.Tone(0, 0.8, 220, 110, 0.6, 2.5, 0.9);
        s.Noise(0.85, 0.3, 1.0, 0.3, 14, 81);
        s.Tone(0.85, 0.2, 70, 45, 0.6, 12);
        s.Normalise(0.85);
        WriteWav(models + "/mort.wav", s);
    }
    {
        Sound s(kRate, 1.4);  // magazine out, magazine in, the bolt
        Click(s, 0.05, 700, 91);
        s.Noise(0.3, 0.15, 0.2, 0.6, 20, 92);
        Click(s, 0.75, 600, 93);
        Click(s, 0.78, 900, 94);
        Click(s, 1.15, 1300, 95);
        Click(s, 1.25, 1000, 96);
        s.Normalise(0.8);
        WriteWav(models + "/reload.wav", s);
    }
}

}  // namespace gen
