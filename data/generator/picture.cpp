#include "picture.h"

#include <algorithm>
#include <cmath>

#include "file_out.h"
#include "font.h"

namespace gen {

Rgb Mix(Rgb a, Rgb b, double t) {
    auto channel = [t](uint8_t p, uint8_t q) {
        return static_cast<uint8_t>(std::clamp(std::lround(p + (q - p) * t), 0L, 255L));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

Rgb Scale(Rgb c, double k) {
    auto channel = [k](uint8_t p) { return static_cast<uint8_t>(std::clamp(std::lround(p * k), 0L, 255L)); };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

Picture::Picture(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Picture::set(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Picture::FillRect(int x, int y, int w, int h, Rgb c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) set(i, j, c);
}

void Picture::Frame(int x, int y, int w, int h, int thickness, Rgb c) {
    FillRect(x, y, w, thickness, c);
    FillRect(x, y + h - thickness, w, thickness, c);
    FillRect(x, y, thickness, h, c);
    FillRect(x + w - thickness, y, thickness, h, c);
}

void Picture::Gradient(Rgb top, Rgb bottom) {
    for (int y = 0; y < height_; ++y) {
        const Rgb c = Mix(top, bottom, height_ > 1 ? double(y) / (height_ - 1) : 0);
        for (int x = 0; x < width_; ++x) set(x, y, c);
    }
}

void Picture::Grain(uint32_t seed, double amount) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) set(x, y, Scale(at(x, y), 1 + amount * (2 * Hash(x, y, seed) - 1)));
}

void Picture::Disc(double cx, double cy, double radius, Rgb c, double softness) {
    for (int y = int(cy - radius - 1); y <= int(cy + radius + 1); ++y)
        for (int x = int(cx - radius - 1); x <= int(cx + radius + 1); ++x) {
            if (x < 0 || y < 0 || x >= width_ || y >= height_) continue;
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double cover = std::clamp((radius - d) / softness + 0.5, 0.0, 1.0);
            if (cover > 0) set(x, y, Mix(at(x, y), c, cover));
        }
}

void Picture::Text(int x, int y, const std::string& text, int scale, Rgb c) {
    for (char ch : text) {
        const Glyph& glyph = GlyphOf(ch);
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int col = 0; col < kGlyphWidth; ++col)
                if (glyph[row] & (1 << (kGlyphWidth - 1 - col)))
                    FillRect(x + col * scale, y + row * scale, scale, scale, c);
        x += (kGlyphWidth + 1) * scale;
    }
}

int Picture::TextWidth(const std::string& text, int scale) {
    return text.empty() ? 0 : int(text.size()) * (kGlyphWidth + 1) * scale - scale;
}

void Picture::Paste(const Picture& other, int x, int y) {
    for (int j = 0; j < other.height(); ++j)
        for (int i = 0; i < other.width(); ++i) set(x + i, y + j, other.at(i, j));
}

double Hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / double(0x1000000);
}

void WriteBmp(const std::string& path, const Picture& picture) {
    const uint32_t row = (picture.width() * 3 + 3) & ~3u;
    const uint32_t image = row * picture.height();
    Bytes out;
    out.Text("BM");
    out.U32(54 + image);
    out.U32(0);
    out.U32(54);
    out.U32(40);  // BITMAPINFOHEADER
    out.U32(picture.width());
    out.U32(picture.height());
    out.U16(1);
    out.U16(24);
    out.U32(0);  // no compression
    out.U32(image);
    out.U32(2835);  // 72 dots per inch
    out.U32(2835);
    out.U32(0);
    out.U32(0);
    for (int y = picture.height() - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.at(x, y);
            out.U8(c.b);
            out.U8(c.g);
            out.U8(c.r);
        }
        for (uint32_t pad = picture.width() * 3; pad < row; ++pad) out.U8(0);
    }
    out.Save(path);
}

}  // namespace gen
