#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pictures as the generator draws them, and their files: uncompressed
// 24-bit Windows bitmaps, rows bottom-up, each padded to four bytes.

namespace gen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double k);

class Picture {
public:
    Picture(int width, int height, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    void set(int x, int y, Rgb c);  // outside the picture: nothing

    void FillRect(int x, int y, int w, int h, Rgb c);
    void Frame(int x, int y, int w, int h, int thickness, Rgb c);
    // Top-to-bottom gradient over the whole picture.
    void Gradient(Rgb top, Rgb bottom);
    // Deterministic grain: each pixel brightened or darkened by up to `amount`.
    void Grain(uint32_t seed, double amount);
    void Disc(double cx, double cy, double radius, Rgb c, double softness = 1);
    // Text in the built-in 5 x 7 font, each font pixel `scale` pixels wide.
    void Text(int x, int y, const std::string& text, int scale, Rgb c);
    static int TextWidth(const std::string& text, int scale);
    // Copies `other` with its top-left corner at (x, y).
    void Paste(const Picture& other, int x, int y);

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// A deterministic hash of two coordinates and a seed to [0, 1).
double Hash(uint32_t x, uint32_t y, uint32_t seed);

void WriteBmp(const std::string& path, const Picture& picture);

}  // namespace gen
