#pragma once

// The game's sound: DirectSound with its primary buffer and 3D listener, the
// loading of one sound file, and the info sounds that go with the HUD's info
// lines. Sound is optional: without a device DSound stays empty and every
// sound operation does nothing.

#include "core/shared_state.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace sound {
class Buffer;
class Buffer3D;
class DirectSound;
}  // namespace sound

// The primary buffer, which hands out the listener; held for the whole run.
inline std::shared_ptr<sound::Buffer> DSPrimaire = Initial(&DSPrimaire, {});

// Info sounds 0 to 4, below the game folder; slot 5 stays empty.
inline constexpr std::array<const char*, 5> InfoSoundFiles = {
    "\\models\\enter.wav",        // announcements: arrivals, becoming the host
    "\\models\\chat.wav",         // a chat line, another player's kill
    "\\models\\perfect.wav",      // a kill of the local player is confirmed
    "\\models\\humiliation.wav",  // the local player is killed
    "\\models\\headshot.wav",     // a head-shot kill, or death by one
};

// Sets up DSound on the game window, the primary buffer and the listener
// (deferred settings, committed by the main loop once a frame). The first
// failing step ends it silently, keeping what was set up so far.
void InitDirectSound();

// Loads a WAV file into a new static buffer of `ds`; with `son3D` also hands
// out its 3D buffer, placed in the world. Without DSound, or when the file
// does not load, the outputs are left as they were.
void ChargeSon(const std::string& fichier, const std::shared_ptr<sound::DirectSound>& ds,
               std::shared_ptr<sound::Buffer>& buffer, std::shared_ptr<sound::Buffer3D>& buffer3D, bool son3D);

// Plays info sound `son` (0 to 5) from its start, after stopping sounds 0 and
// 1. An index outside the table or an empty slot plays nothing.
void JoueSonInfo(int32_t son);
