#include "weapons.h"

#include <algorithm>
#include <cmath>

#include "file_out.h"
#include "skeleton.h"
#include "sounds.h"
#include "weapon_shapes.h"

namespace gen {

namespace {

Picture WeaponTexture(const WeaponShape& w) {
    Picture p(64, 64);
    const Rgb bands[4] = {{38, 40, 44}, {120, 124, 130}, w.furniture, w.accent};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const Rgb base = bands[y / 16];
            const double wear =
                (y / 16 == kFurniture && w.furniture.r > w.furniture.b + 40) ? 0.12 * std::sin(x * 0.7 + y * 0.15) : 0;
            p.set(x, y, Scale(base, 0.9 + 0.2 * Hash(x, y, 5) + wear));
        }
    return p;
}

std::vector<SmdTriangle> WeaponTriangles(const WeaponShape& w, const std::string& texture) {
    std::vector<SmdTriangle> triangles;
    for (const WeaponBlock& b : w.blocks) {
        const Vec3 l = b.low, h = b.high;
        // Outward faces, corners clockwise from outside.
        const std::vector<std::vector<Vec3>> faces = {
            {{h.x, l.y, l.z}, {h.x, h.y, l.z}, {h.x, h.y, h.z}, {h.x, l.y, h.z}},
            {{l.x, l.y, h.z}, {l.x, h.y, h.z}, {l.x, h.y, l.z}, {l.x, l.y, l.z}},
            {{l.x, h.y, l.z}, {l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z}},
            {{l.x, l.y, h.z}, {l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, l.y, h.z}},
            {{h.x, l.y, h.z}, {h.x, h.y, h.z}, {l.x, h.y, h.z}, {l.x, l.y, h.z}},
            {{l.x, l.y, l.z}, {l.x, h.y, l.z}, {h.x, h.y, l.z}, {h.x, l.y, l.z}},
        };
        const double v0 = (b.band * 16 + 1) / 64.0, v1 = (b.band * 16 + 15) / 64.0;
        const std::pair<double, double> uv[4] = {{0.05, v1}, {0.05, v0}, {0.95, v0}, {0.95, v1}};
        for (const auto& c : faces) {
            // Rigid on the hand: the normal in the hand's own axes.
            const Vec3 normal = BoneLocal(Mat3{}, Normalised(Cross(c[1] - c[0], c[2] - c[0])));
            auto corner = [&](int i) { return SmdVertex{0, FilePosition(c[i]), normal, uv[i].first, -uv[i].second}; };
            triangles.push_back({texture, {corner(0), corner(1), corner(2)}});
            triangles.push_back({texture, {corner(0), corner(2), corner(3)}});
        }
    }
    return triangles;
}

// The side view of the weapon for the arsenal page.
Picture ArsenalPicture(const WeaponShape& w) {
    Picture p(180, 72);
    p.Gradient({30, 34, 40}, {8, 9, 12});
    double z0 = 1e9, z1 = -1e9, y0 = 1e9, y1 = -1e9;
    for (const WeaponBlock& b : w.blocks) {
        z0 = std::min(z0, b.low.z), z1 = std::max(z1, b.high.z);
        y0 = std::min(y0, b.low.y), y1 = std::max(y1, b.high.y);
    }
    const double scale = std::min(164 / (z1 - z0), 46 / (y1 - y0));
    const Picture texture = WeaponTexture(w);
    std::vector<WeaponBlock> order = w.blocks;
    std::stable_sort(order.begin(), order.end(),
                     [](const WeaponBlock& a, const WeaponBlock& b) { return a.high.x < b.high.x; });
    for (const WeaponBlock& b : order) {
        const int x = int(8 + (b.low.z - z0) * scale), y = int(54 - (b.high.y - y0) * scale);
        const int wd = std::max(1, int((b.high.z - b.low.z) * scale)),
                  ht = std::max(1, int((b.high.y - b.low.y) * scale));
        const Rgb c = texture.at(32, b.band * 16 + 8);
        p.FillRect(x, y, wd, ht, c);
        p.FillRect(x, y, wd, 1, Scale(c, 1.4));
    }
    std::string label = w.name;
    std::transform(label.begin(), label.end(), label.begin(), [](char c) { return char(std::toupper(c)); });
    p.Text(6, 60, label, 1, {220, 200, 120});
    return p;
}

Picture MuzzleFlash(int n) {
    Picture p(72, 72);
    const Rgb hot{255, 240, 170}, flame{255, 150, 40};
    for (int arm = 0; arm < 5 + n; ++arm) {
        const double a = arm * 2 * kPi / (5 + n) + n * 0.3;
        for (double r = 0; r < 30 - 6 * (n - 1); r += 1.5)
            p.Disc(36 + std::cos(a) * r, 36 + std::sin(a) * r, 4.5 - r / 9, Mix(hot, flame, r / 30));
    }
    p.Disc(36, 36, 9 - n, hot);
    return p;
}

// Crosshair: four green strokes and a dot, on black (transparent).
Picture Crosshair() {
    Picture p(256, 256);
    const Rgb green{90, 255, 90};
    for (int d = 18; d < 60; ++d)
        for (int w = -1; w <= 1; ++w) {
            p.set(128 + d, 128 + w, green), p.set(127 - d, 128 + w, green);
            p.set(128 + w, 128 + d, green), p.set(128 + w, 127 - d, green);
        }
    p.Disc(128, 128, 2.5, green);
    return p;
}

// The scope: a ring of sight with a fine reticle; black stays transparent,
// so the rim is painted in near-black.
Picture Scope() {
    Picture p(512, 512);
    const Rgb rim{6, 6, 6};
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            const double d = std::hypot(x + 0.5 - 256, y + 0.5 - 256);
            if (d > 236)
                p.set(x, y, rim);
            else if (d > 230)
                p.set(x, y, {40, 40, 40});
        }
    for (int i = 20; i < 236; ++i) {
        p.set(256 + i, 256, {200, 20, 20}), p.set(255 - i, 256, {200, 20, 20});
        p.set(256, 256 + i, {200, 20, 20}), p.set(256, 255 - i, {200, 20, 20});
    }
    for (int t = 40; t < 236; t += 40)  // range marks on the four arms
        for (int k = -4; k <= 4; ++k)
            for (int side : {-1, 1})
                p.set(256 + side * t, 256 + k, {200, 20, 20}), p.set(256 + k, 256 + side * t, {200, 20, 20});
    p.Disc(256, 256, 1.5, {255, 40, 40});
    return p;
}

}  // namespace

void WriteWeapons(const std::string& weapons) {
    // The hand at the model's origin with the standard axes, "flash" at the muzzle.
    for (const WeaponShape& w : WeaponShapes()) {
        const std::vector<Bone> bones = {{"Bip01 R Hand", -1, {0, 0, 0}, Mat3{}}, {"flash", 0, w.muzzle, Mat3{}}};
        const std::string texture = w.name + "_tex.bmp";
        WriteSmd(weapons + "/" + w.name + "_ref.smd", Nodes(bones), {Pose(bones).Keys()}, WeaponTriangles(w, texture));
        WriteBmp(weapons + "/" + texture, WeaponTexture(w));
        SaveText(weapons + "/" + w.file, "$modelname \"" + w.name +
                                             ".mdl\"\n$cd \".\"\n$cdtexture \".\"\n$scale 1.0\n\n"
                                             "$bodygroup \"weapon\"\n{\nstudio \"" +
                                             w.name + "_ref\"\n}\n");
        WriteWav(weapons + "/" + w.name + "-1.wav", FireSound(w.name));
        WriteBmp(weapons + "/640_" + w.name + ".bmp", ArsenalPicture(w));
    }
    for (int n = 1; n <= 2; ++n) WriteBmp(weapons + "/muzz" + std::to_string(n) + ".bmp", MuzzleFlash(n));
    WriteBmp(weapons + "/croix2.bmp", Crosshair());
    WriteBmp(weapons + "/sniper2.bmp", Scope());
}

}  // namespace gen
