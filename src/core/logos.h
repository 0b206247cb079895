#pragma once

// The logo bitmaps of the media folder, which the corridor level's meshes
// show as textures. They are rewritten from the game window's pictures
// before each corridor copy loads.

#include <cstdint>
#include <string>

namespace ui {
class Picture;
}

// Writes the game window's Image1, Image2 and Image3 as media\logo2.bmp,
// logo3.bmp and logo.bmp, and Image5 (flag not 0) or Image4 as logo4.bmp,
// below CheminJeu. Failing statements are skipped.
void SauveLogos(int32_t flag);

// Writes `picture` as a bitmap beside `path` and renames it over `path`, so a
// failed write leaves the old picture in place.
void EcritLogo(const ui::Picture& picture, const std::string& path);
