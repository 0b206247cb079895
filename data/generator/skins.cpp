#include "skins.h"

#include <cmath>

namespace gen {

const std::vector<SkinStyle>& SkinStyles(Team team) {
    static const std::vector<SkinStyle> terrorists = {
        {"01", {150, 128, 88}, {90, 70, 45}, {196, 150, 110}, {60, 55, 45}, true},
        {"02", {92, 96, 100}, {160, 30, 30}, {170, 120, 90}, {40, 40, 42}, false},
        {"03", {70, 92, 52}, {40, 52, 30}, {140, 100, 70}, {75, 65, 40}, true},
    };
    static const std::vector<SkinStyle> gign = {
        {"01", {34, 44, 80}, {200, 200, 210}, {205, 160, 125}, {20, 24, 36}, true},
        {"02", {30, 30, 32}, {180, 150, 40}, {180, 130, 100}, {15, 15, 15}, true},
        {"03", {80, 92, 110}, {220, 220, 220}, {210, 170, 135}, {45, 52, 64}, false},
    };
    return team == Team::kGign ? gign : terrorists;
}

namespace {

void Cloth(Picture& p, const Region& r, Rgb c, uint32_t seed) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) {
            const double weave = ((x + y) % 4 == 0) ? 0.93 : 1.0;
            p.set(x, y, Scale(c, weave * (0.92 + 0.16 * Hash(x, y, seed))));
        }
}

void Face(Picture& p, const Region& r, const SkinStyle& s, Team team) {
    Cloth(p, r, s.skin, 11);
    const int cx = r.x + r.w / 2, eye_y = r.y + 26;
    if (s.masked) {
        Cloth(p, {r.x, r.y, r.w, 22}, team == Team::kGign ? s.gear : s.cloth, 12);
        Cloth(p, {r.x, r.y + 34, r.w, r.h - 34}, team == Team::kGign ? s.gear : s.cloth, 13);
    }
    for (int side : {-1, 1}) {
        p.FillRect(cx + side * 12 - 5, eye_y - 3, 10, 6, {235, 235, 230});
        p.FillRect(cx + side * 12 - 2, eye_y - 3, 5, 6, {50, 40, 30});
        p.FillRect(cx + side * 12 - 6, eye_y - 7, 12, 2, Scale(s.skin, 0.5));  // brow
    }
    if (!s.masked) {
        p.FillRect(cx - 2, eye_y + 4, 4, 10, Scale(s.skin, 0.85));   // nose
        p.FillRect(cx - 9, eye_y + 20, 18, 3, Scale(s.skin, 0.55));  // mouth
    }
    if (team == Team::kGign) p.FillRect(r.x + 4, eye_y - 9, r.w - 8, 18, Mix(s.gear, {90, 140, 170}, 0.35));  // visor
}

void Vest(Picture& p, const Region& r, const SkinStyle& s, Team team) {
    Cloth(p, r, s.cloth, 21);
    for (int i = 0; i < 3; ++i) {  // pockets
        const int x = r.x + 14 + i * 36;
        p.FillRect(x, r.y + 30, 26, 24, Scale(s.cloth, 0.8));
        p.FillRect(x, r.y + 30, 26, 4, s.trim);
    }
    const std::string badge = team == Team::kGign ? "GIGN" : "";
    if (!badge.empty())
        p.Text(r.x + (r.w - Picture::TextWidth(badge, 3)) / 2, r.y + 6, badge, 3, s.trim);
    else
        p.FillRect(r.x, r.y + 8, r.w, 5, s.trim);  // a scarf band
}

}  // namespace

Picture Skin(Team team, const SkinStyle& s) {
    Picture p(256, 256);
    Face(p, skin::kFaceArea, s, team);
    Cloth(p, skin::kHeadArea, team == Team::kGign ? s.gear : (s.masked ? s.cloth : Scale(s.skin, 0.35)), 31);
    Vest(p, skin::kChestArea, s, team);
    Cloth(p, skin::kTorsoArea, s.cloth, 41);
    p.FillRect(skin::kTorsoArea.x, skin::kTorsoArea.y + 28, skin::kTorsoArea.w, 6, s.gear);  // strap
    Cloth(p, skin::kArmArea, Scale(s.cloth, 0.9), 51);
    p.FillRect(skin::kArmArea.x, skin::kArmArea.y + 10, skin::kArmArea.w, 5, s.trim);  // arm band
    Cloth(p, skin::kHandArea, team == Team::kGign ? s.gear : s.skin, 61);
    Cloth(p, skin::kLegArea, Scale(s.cloth, 0.85), 71);
    p.FillRect(skin::kLegArea.x + 20, skin::kLegArea.y + 20, 24, 20, Scale(s.cloth, 0.7));  // knee pads
    Cloth(p, skin::kBootArea, {35, 30, 28}, 81);
    Cloth(p, skin::kBeltArea, s.gear, 91);
    p.FillRect(skin::kBeltArea.x + 26, skin::kBeltArea.y + 22, 12, 12, {170, 160, 120});  // buckle
    Cloth(p, skin::kGearArea, s.gear, 101);
    p.Frame(skin::kGearArea.x, skin::kGearArea.y, skin::kGearArea.w, skin::kGearArea.h, 3, Scale(s.gear, 1.6));
    return p;
}

Picture Blood(int n) {
    Picture p(16, 16);
    // The splash grows over the first frames and thins out over the last.
    const double spread = 2 + 4.5 * std::min(1.0, n / 4.0);
    const double fade = n <= 5 ? 1 : 1 - (n - 5) / 5.0;
    const Rgb red = Scale({170, 10, 8}, fade);
    p.Disc(8, 8, spread * 0.55, red);
    for (int i = 0; i < 6; ++i) {
        const double a = i * 2 * 3.14159265 / 6 + 0.4 * Hash(i, n, 7);
        const double d = spread * (0.6 + 0.4 * Hash(i, n, 9));
        p.Disc(8 + std::cos(a) * d, 8 + std::sin(a) * d, 1.0 + Hash(i, n, 3), Scale(red, 0.85));
    }
    return p;
}

}  // namespace gen
