#pragma once

#include <array>
#include <cstdint>

// A 5 x 7 pixel font of capitals, digits and a little punctuation, so the
// pictures' lettering is the same on every build machine. Small letters are
// drawn as capitals; unknown characters as blanks.

namespace gen {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
using Glyph = std::array<uint8_t, kGlyphHeight>;  // one row a byte, bit 4 leftmost

const Glyph& GlyphOf(char c);

}  // namespace gen
