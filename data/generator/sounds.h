#pragma once

#include <string>

#include "wav.h"

// The game's sounds, all synthesised (22050 Hz unless said otherwise).

namespace gen {

// The fire sound of a weapon. The xm1014's carries its pump action and
// lasts over a second: the game lets it fire again only once the sound has
// played its average bytes per second less 15000 bytes.
Sound FireSound(const std::string& weapon);

// models/: the info sounds (enter, chat, perfect, humiliation, headshot;
// the last three are voice lines) and the player sounds (pas: footsteps
// recorded at 8800 Hz, the rate the game plays them at; coeur: heartbeat;
// touche: hit; mort: death; reload).
void WriteModelSounds(const std::string& models, const std::string& speaker);

}  // namespace gen
