#include "pictures.h"

#include <cmath>
#include <vector>

#include "file_out.h"

namespace gen {

namespace {

const Rgb kGold{232, 190, 80}, kSteel{150, 170, 190}, kNight{10, 14, 24}, kDusk{70, 40, 50};

void Centred(Picture& p, int y, const std::string& text, int scale, Rgb c, Rgb shadow) {
    const int x = (p.width() - Picture::TextWidth(text, scale)) / 2;
    p.Text(x + scale / 2 + 1, y + scale / 2 + 1, text, scale, shadow);
    p.Text(x, y, text, scale, c);
}

// A skyline of warehouses and towers against the dusk.
void Skyline(Picture& p, int base, uint32_t seed) {
    int x = 0;
    int i = 0;
    while (x < p.width()) {
        const int w = 14 + int(Hash(i, 1, seed) * 36), h = 20 + int(Hash(i, 2, seed) * (base * 0.45));
        p.FillRect(x, base - h, w, h + p.height(), {14, 14, 20});
        for (int wy = base - h + 6; wy < base - 4; wy += 8)
            for (int wx = x + 3; wx < x + w - 3; wx += 6)
                if (Hash(wx, wy, seed) > 0.7) p.FillRect(wx, wy, 2, 3, {230, 190, 90});
        x += w + 2;
        ++i;
    }
}

// Crossed rifles behind a shield: the game's emblem.
void Emblem(Picture& p, double cx, double cy, double size, Rgb c) {
    for (int side : {-1, 1})
        for (double t = -1; t <= 1; t += 0.01) p.Disc(cx + t * size * side, cy + t * size, size * 0.06, Scale(c, 0.8));
    p.Disc(cx, cy, size * 0.55, Scale(c, 0.35));
    p.Disc(cx, cy, size * 0.45, c);
    p.Disc(cx, cy, size * 0.3, Scale(c, 0.35));
    p.Disc(cx, cy, size * 0.12, c);
}

Picture Button(const std::string& caption, bool over) {
    Picture p(227, 28);
    p.Gradient(over ? Rgb{120, 80, 20} : Rgb{40, 44, 52}, over ? Rgb{60, 30, 10} : Rgb{12, 14, 18});
    p.Frame(0, 0, 227, 28, 1, over ? kGold : Rgb{90, 96, 110});
    p.FillRect(6, 10, 8, 8, over ? kGold : kSteel);
    p.Text(22, 7, caption, 2, over ? Rgb{255, 235, 170} : Rgb{200, 205, 215});
    return p;
}

// Captions of the launcher's button pictures, by picture number.
const char* const kCaptions[22] = {
    "CONFIGURATIONS",  "PLAY QUELLMAR",  "ARSENAL & MAPS", "CREDITS",      "QUITTER",     "PLAYER",
    "VIDEO",           "CONNECTIONS",    "CONTROLS",       "RETOUR",       "SERVEUR WEB", "LAN",
    "WEAPONS",         "MAPS",           "NIVEAU 1",       "NIVEAU 2",     "NIVEAU 3",    "NIVEAU 4",
    "ABOUT & RELEASE", "MESSAGES BOARD", "MANUEL",         "PLAYER BOARD",
};

Picture LauncherBackground() {
    Picture p(620, 397);
    p.Gradient(kDusk, kNight);
    Skyline(p, 330, 21);
    p.FillRect(0, 330, 620, 67, {8, 8, 12});
    p.Grain(22, 0.05);
    Emblem(p, 520, 90, 60, kGold);
    // The title over the menu, left of the panel that the set-up pages open in.
    p.Text(14, 40, "QUELLMAR", 5, {30, 20, 10});
    p.Text(12, 38, "QUELLMAR", 5, kGold);
    p.FillRect(4, 148, 254, 214, {0, 0, 0});  // behind the menu pages
    p.Frame(2, 146, 258, 218, 2, Scale(kGold, 0.6));
    return p;
}

}  // namespace

Picture LoadingPicture() {
    Picture p(512, 256);
    p.Gradient({120, 60, 40}, {20, 16, 30});
    Skyline(p, 220, 1);
    p.FillRect(0, 220, 512, 36, {10, 10, 14});
    Emblem(p, 256, 110, 70, kGold);
    Centred(p, 20, "QUELLMAR", 7, kGold, {40, 20, 10});
    p.Grain(2, 0.04);
    return p;
}

Picture LoadingBanner() {
    Picture p(512, 128);
    p.Gradient({30, 34, 44}, {6, 8, 12});
    for (int x = 0; x < 512; x += 32) p.FillRect(x, 120, 16, 8, kGold);  // hazard edge
    Centred(p, 30, "TERRORISTES  VS  GIGN", 3, {230, 230, 235}, {0, 0, 0});
    Centred(p, 70, "UP TO EIGHT PLAYERS", 2, kSteel, {0, 0, 0});
    return p;
}

Picture SplashPicture() {
    Picture p(256, 250);
    p.Gradient({80, 40, 30}, kNight);
    Skyline(p, 215, 3);
    Emblem(p, 128, 105, 55, kGold);
    Centred(p, 14, "QUELLMAR", 4, kGold, {30, 15, 5});
    Centred(p, 228, "LOADING", 1, kSteel, {0, 0, 0});
    p.Grain(4, 0.04);
    return p;
}

Picture TeamPicture(int team) {
    Picture p(256, 256);
    const Rgb colour = team == 0 ? Rgb{200, 90, 40} : Rgb{60, 110, 200};
    p.Gradient(Scale(colour, 0.5), kNight);
    Emblem(p, 128, 120, 70, colour);
    Centred(p, 18, team == 0 ? "TERRORISTES" : "GIGN", 3, {240, 240, 240}, {0, 0, 0});
    Centred(p, 220, team == 0 ? "TEAM 0" : "TEAM 1", 2, Scale(colour, 1.3), {0, 0, 0});
    p.Grain(5 + team, 0.04);
    return p;
}

void WriteLogos(const std::string& media) {
    WriteBmp(media + "/logo2.bmp", LoadingPicture());
    WriteBmp(media + "/logo3.bmp", LoadingBanner());
    WriteBmp(media + "/logo.bmp", SplashPicture());
    WriteBmp(media + "/logo4.bmp", TeamPicture(0));
}

void WriteWindowPictures(const std::string& folder) {
    std::vector<std::pair<std::string, Picture>> pictures = {
        {"game/image1.bmp", LoadingPicture()}, {"game/image2.bmp", LoadingBanner()},
        {"splash/img0.bmp", SplashPicture()},  {"splash/img1.bmp", TeamPicture(0)},
        {"splash/img2.bmp", TeamPicture(1)},   {"launcher/background.bmp", LauncherBackground()},
    };
    for (int i = 0; i < 22; ++i) {
        const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        pictures.emplace_back("launcher/button" + n + ".bmp", Button(kCaptions[i], false));
        pictures.emplace_back("launcher/button" + n + "_over.bmp", Button(kCaptions[i], true));
    }
    Picture status(127, 128);
    status.Gradient({40, 44, 52}, kNight);
    Emblem(status, 63.5, 64, 40, kSteel);
    pictures.emplace_back("web/image1.bmp", status);
    Picture strip(203, 45);
    strip.Gradient({60, 40, 20}, {10, 8, 6});
    Centred(strip, 15, "QUELLMAR WEB", 2, kGold, {0, 0, 0});
    pictures.emplace_back("web/image2.bmp", strip);

    std::string qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/pictures\">\n";
    for (const auto& [name, picture] : pictures) {
        WriteBmp(folder + "/" + name, picture);
        qrc += "  <file>" + name + "</file>\n";
    }
    qrc += "</qresource>\n</RCC>\n";
    SaveText(folder + "/quellmar_data.qrc", qrc);
}

}  // namespace gen
