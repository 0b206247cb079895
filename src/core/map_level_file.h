#pragma once

#include "platform/rm/math.h"

#include <array>
#include <cstdint>
#include <string>

// What a level's .map text file holds, line by line: the sky prefix (the
// whole line), the light position x:y:z, the four spawn points x:y:z, and an
// optional whole-number mesh scale; lines after the seventh are ignored.
struct MapLevelFile {
    std::string skyPrefix;
    rm::Vector light{};
    std::array<rm::Vector, 4> spawnPoints{};
    int32_t scale = 0;
};

// The scale of a level whose .map file gives none, 0, or no number.
inline constexpr int32_t kDefaultMapScale = 24;

// Reads a .map file (a path of this system). Lines end with LF or CR LF.
// Numbers are read with "." as decimal separator, and with the locale's own
// as well, so that one map file means the same on every machine; blanks
// around them are ignored. The scale rounds halves to even.
// Throws Failure for a file that cannot be read, fewer than six lines, a
// field line without two ":" or a coordinate that is no number.
MapLevelFile ReadMapLevelFile(const std::string& path);
