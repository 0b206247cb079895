#include "textures.h"

#include <cmath>

namespace gen {

Picture Tiles(int size, int tiles, Rgb tile, Rgb grout, uint32_t seed) {
    Picture p(size, size);
    const int step = size / tiles;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool line = x % step < 2 || y % step < 2;
            const double shade = 0.9 + 0.12 * Hash(x / step, y / step, seed) + 0.06 * Hash(x, y, seed + 1);
            p.set(x, y, line ? grout : Scale(tile, shade));
        }
    return p;
}

Picture Panels(int size, Rgb panel, Rgb rail, uint32_t seed) {
    Picture p(size, size);
    const int width = size / 2;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double light = 1.1 - 0.35 * y / size;  // lit from the ceiling
            Rgb c = Scale(panel, light * (0.95 + 0.08 * Hash(x, y, seed)));
            if (x % width < 2) c = Scale(panel, 0.5);
            if (x % width == 2) c = Scale(panel, 1.3);
            if (y > size * 7 / 8) c = Scale(rail, 0.9 + 0.1 * Hash(x, y, seed + 1));
            if (y == size * 7 / 8) c = Scale(rail, 1.4);
            p.set(x, y, c);
        }
    for (int i = 0; i < 2; ++i)  // rivets
        for (int j = 0; j < 4; ++j) p.Disc(i * width + 8, 10 + j * size / 4.5, 1.5, Scale(panel, 1.4));
    return p;
}

Picture Concrete(int size, Rgb base, uint32_t seed) {
    Picture p(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double blotch = Hash(x / 16, y / 16, seed) * 0.5 + Hash(x / 5, y / 5, seed + 1) * 0.3;
            p.set(x, y, Scale(base, 0.8 + 0.25 * blotch + 0.1 * Hash(x, y, seed + 2)));
        }
    for (int c = 0; c < 3; ++c) {  // cracks
        double x = Hash(c, 1, seed) * size, y = Hash(c, 2, seed) * size;
        for (int i = 0; i < size / 2; ++i) {
            x += std::cos(Hash(c, i, seed + 3) * 6.28) * 1.2;
            y += 0.9;
            p.set(int(x) % size, int(y) % size, Scale(base, 0.45));
        }
    }
    return p;
}

Picture Corrugated(int size, Rgb base, uint32_t seed) {
    Picture p(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double rib = 0.8 + 0.3 * std::sin(x * 2 * 3.14159265 / 16);
            const double rust = Hash(x / 8, y / 12, seed) > 0.85 ? 0.75 : 1.0;
            p.set(x, y,
                  Scale(Mix(base, {120, 70, 40}, rust < 1 ? 0.4 : 0), rib * (0.95 + 0.08 * Hash(x, y, seed + 1))));
        }
    return p;
}

Picture Crate(int size, uint32_t seed) {
    const Rgb wood{150, 105, 60};
    Picture p(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int plank = y / (size / 5);
            const double grain =
                0.85 + 0.1 * std::sin(x * 0.3 + plank * 2 + 3 * Hash(plank, 0, seed)) + 0.1 * Hash(x, y, seed);
            p.set(x, y, Scale(wood, grain * (y % (size / 5) == 0 ? 0.5 : 1)));
        }
    const int edge = size / 10;
    p.Frame(0, 0, size, size, edge, Scale(wood, 0.7));
    for (int i = 0; i < size; ++i)
        for (int w = -edge / 2; w <= edge / 2; ++w) p.set(i, i + w, Scale(wood, 0.75));
    p.Text(size / 2 - Picture::TextWidth("QM", 2) / 2 + 8, size / 2 + 10, "QM", 2, {60, 40, 20});
    return p;
}

Picture Hazard(int size) {
    Picture p(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) p.set(x, y, ((x + y) / (size / 4)) % 2 ? Rgb{30, 30, 30} : Rgb{230, 190, 30});
    return p;
}

Picture Tread(int size) {
    Picture p(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Rgb steel = Scale({105, 108, 112}, (y % 6 < 2 ? 0.75 : 1.0) * (0.92 + 0.12 * Hash(x, y, 41)));
            p.set(x, y, y < size / 8 ? Rgb{220, 180, 30} : steel);
        }
    return p;
}

Picture LightPanel(int size, Rgb glow) {
    Picture p(size, size, Scale(glow, 0.6));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = std::abs(x - size / 2.0) / (size / 2.0), dy = std::abs(y - size / 2.0) / (size / 2.0);
            const double inner = std::max(dx, dy);
            p.set(x, y, inner > 0.85 ? Rgb{70, 70, 75} : Mix(glow, {255, 255, 255}, 0.5 * (1 - inner)));
        }
    return p;
}

Picture Grating(int size, Rgb base) {
    Picture p(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool bar = x % 8 < 2 || y % 8 < 2;
            p.set(x, y, bar ? Scale(base, 1.15) : Scale(base, 0.75));
        }
    return p;
}

}  // namespace gen
