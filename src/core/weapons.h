#pragma once

// The thirteen weapons: their model description files, in the order of the
// weapon models, and their statistics by weapon name.

#include <cstdint>
#include <string>
#include <string_view>

// The model description file of weapon `index` (0 to 12); "" for any other.
std::string NomFichierArme(int32_t index);

// Fills the statistics of the weapon called `name` (any case; blanks are
// part of the name). For an unknown name the event queue gets one turn,
// `scope` becomes false and the other outputs keep their values.
void InfosArme(std::string_view name, int32_t& magazine, int32_t& damage, int32_t& level, bool& scope);
