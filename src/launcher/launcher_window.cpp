#include "launcher/launcher_window.h"

#include "core/game_state.h"
#include "launcher/launcher_layout.h"
#include "platform/ui/colour.h"
#include "web/web_host.h"

#include <array>
#include <string>

namespace {

constexpr float kPageWidth = 3735;
constexpr float kPageHeight = 3135;
constexpr float kFrameWidth = 5025;
constexpr float kFrameHeight = 4815;
// A menu button and its pictures: 227 x 28 pixels.
constexpr float kButtonWidth = 3405;
constexpr float kButtonHeight = 420;
constexpr int kButtonPictures = 22;

struct MenuButton {
    int page;
    const char* caption;
    int picture;
    float left;
    float top;
};

// By index; the places keep the design's small irregularities.
constexpr std::array<MenuButton, 26> kMenu{{
    {0, "QUITTER", 4, 120, 2580},
    {0, "CONFIGURATIONS", 0, 120, 120},
    {0, "PLAY QUELLMAR", 1, 120, 720},
    {0, "ARSENAL && MAPS", 2, 120, 1320},
    {0, "CREDITS", 3, 120, 1950},
    {1, "CONTROLS", 8, 120, 1950},
    {1, "RETOUR", 9, 120, 2580},
    {1, "CONNECTIONS", 7, 120, 1320},
    {1, "VIDEO", 6, 120, 720},
    {1, "PLAYER", 5, 150, 120},
    {2, "SERVEUR WEB", 10, 120, 120},
    {2, "LAN", 11, 120, 720},
    {3, "WEAPONS", 12, 120, 120},
    {2, "RETOUR", 9, 120, 2580},
    {3, "MAPS", 13, 120, 720},
    {4, "RETOUR", 9, 120, 2580},
    {3, "RETOUR", 9, 120, 2580},
    {4, "MESSAGES BOARD", 19, 120, 720},
    {4, "ABOUT && RELEASE", 18, 120, 120},
    {5, "NIVEAU 1", 14, 150, 120},
    {5, "NIVEAU 2", 15, 120, 720},
    {5, "NIVEAU 3", 16, 120, 1320},
    {5, "RETOUR", 9, 120, 2580},
    {5, "NIVEAU 4", 17, 120, 1950},
    {4, "MANUEL", 20, 120, 1920},
    {4, "PLAYER BOARD", 21, 120, 1290},
}};

std::string ButtonPicture(int picture, bool highlighted) {
    const std::string number = (picture < 10 ? "0" : "") + std::to_string(picture);
    return ":/pictures/launcher/button" + number + (highlighted ? "_over" : "") + ".bmp";
}

struct Quality {
    const char* text;
    int32_t value;
};

// The texture filters and render qualities offered, with the values the
// game gives its device.
constexpr std::array<Quality, 6> kTextureQualities{{
    {"D3DRMTEXTURE_NEAREST", 0},
    {"D3DRMTEXTURE_LINEAR", 1},
    {"D3DRMTEXTURE_MIPNEAREST", 2},
    {"D3DRMTEXTURE_MIPLINEAR", 3},
    {"D3DRMTEXTURE_LINEARMIPNEAREST", 4},
    {"D3DRMTEXTURE_LINEARMIPLINEAR", 5},
}};
constexpr std::array<Quality, 5> kRenderQualities{{
    {"D3DRMRENDER_WIREFRAME", 64},
    {"D3DRMRENDER_UNLITFLAT", 128},
    {"D3DRMRENDER_FLAT", 136},
    {"D3DRMRENDER_GOURAUD", 137},
    {"D3DRMRENDER_PHONG", 138},
}};
constexpr int kDefaultTextureRow = 1;  // linear filtering
constexpr int kDefaultRenderRow = 3;   // Gouraud shading

template <size_t N>
void FillQualities(ui::ComboBox& list, const std::array<Quality, N>& qualities, int selected) {
    for (const Quality& quality : qualities) {
        list.AddItem(quality.text);
        list.SetItemData(list.NewIndex(), quality.value);
    }
    list.SetListIndex(selected);
}

}  // namespace

form2::form2() : ui::Form("form2") {
    for (int i = 0; i < btn.Count(); ++i) btn(i).Click = [this, i] { btn_Click(i); };
    WireButton(0);
    for (int page = 0; page < picbtn.Count(); ++page)
        picbtn(page).MouseMove = [this](int, int, float, float) { inactivebouton(); };
    fond.MouseMove = [this](int, int, float, float) { inactivebouton(); };
    Command1.Click = [this] { Command1_Click(); };
    list_DDraw.Click = [this] { list_DDraw_Click(); };
    WireSetupPages();
    WireWebPages();
}

void form2::WireButton(int i) {
    lebouton(i).Click = [this, i] { lebouton_Click(i); };
    lebouton(i).MouseMove = [this, i](int, int, float, float) { lebouton_MouseMove(i); };
}

void form2::Design() {
    SetBorderStyle(ui::vbFixedSingle);
    SetCaption(ProductTitle);
    Move(Left(), Top(), kLauncherWidth, kLauncherHeight);
    SetBackColor(ui::vbBlack);  // around the picture, where the window is larger
    SetPicture(ui::LoadPicture(":/pictures/launcher/background.bmp"));
    DesignMenu();
    fond.SetBackColor(ui::vbBlack);
    fond.SetVisible(false);
    for (ui::Frame* frame :
         {&Frame1, &Frame2, &Frame3, &Frame5, &Frame6, &Frame7, &Frame8, &Frame9, &Frame10, &Frame11}) {
        frame->Move(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
        frame->SetVisible(false);
    }
    Frame1.SetCaption("VIDEO SETUP");
    Frame2.SetCaption("PLAYER SETUP");
    Frame3.SetCaption("CONNECTION SETUP");
    Frame5.SetCaption("CONTROLS SETUP");
    Frame6.SetCaption("ABOUT && RELEASE");
    Frame7.SetCaption("MAPS");
    Frame8.SetCaption("ARSENAL");
    Frame9.SetCaption("PROFILE BOARD");
    Frame10.SetCaption("MANUEL");
    Frame11.SetCaption("MESSAGES BOARD");
    lemessbox.Move(120, 30, kButtonWidth, kButtonHeight);
    Command1.SetCaption("Cancel");
    Command1.SetCancel(true);
    Command1.Move(120, kLauncherHeight + 600, 1215, 375);
    DesignVideoPage();
    DesignPlayerPage();
    DesignConnectionPage();
    DesignPreview();
    DesignArsenalPage();
    DesignControlsPage();
    DesignProfileBoard();
    DesignReleasePage();
    DesignMessageBoard();
    DesignMapsPage();
    mess.Move(240, 540, 4560, 4080);
}

void form2::DesignMenu() {
    for (int page = 0; page < picbtn.Count(); ++page) {
        picbtn(page).Move(kPageLeft, kPageTop, kPageWidth, kPageHeight);
        picbtn(page).SetBackColor(ui::vbBlack);
        picbtn(page).SetVisible(page == 0);
    }
    for (int i = 0; i < btn.Count(); ++i) {
        const MenuButton& button = kMenu[size_t(i)];
        btn(i).SetContainer(picbtn(button.page));
        btn(i).Move(button.left, button.top, kButtonWidth, kButtonHeight);
        btn(i).SetCaption(button.caption);
        btn(i).SetTag(std::to_string(button.picture));
    }
    lebouton(0).SetContainer(picbtn(0));
    for (int picture = 0; picture < kButtonPictures; ++picture) {
        btnimg1(picture).SetPicture(ui::LoadPicture(ButtonPicture(picture, false)));
        btnimg1(picture).SetVisible(false);
        btnimg2(picture).SetPicture(ui::LoadPicture(ButtonPicture(picture, true)));
        btnimg2(picture).SetVisible(false);
    }
}

void form2::DesignVideoPage() {
    lblTitle5.Move(240, 540, 4560, 255);
    lblTitle5.SetCaption("CONFIGURATION DIRECTX");
    list_DDraw.Move(240, 840, 4560, 315);
    list_display.Move(240, 1230, 2200, 315);
    list_bit.Move(2600, 1230, 2200, 315);
    list_d3d7.Move(240, 1620, 4560, 315);
    lblTitle1.Move(240, 2010, 4560, 255);
    lblTitle1.SetCaption("QUALITE TEXTURE");
    Combo1.Move(240, 2250, 4560, 315);
    FillQualities(Combo1, kTextureQualities, kDefaultTextureRow);
    lblTitle2.Move(240, 2640, 4560, 255);
    lblTitle2.SetCaption("QUALITE OBJET");
    Combo2.Move(240, 2880, 4560, 315);
    FillQualities(Combo2, kRenderQualities, kDefaultRenderRow);
    Check1.Move(240, 3330, 2300, 255);
    Check1.SetCaption("Full screen  ( clipper)");
    Check1.SetValue(ui::vbUnchecked);
    Option1(0).Move(240, 3690, 2300, 255);
    Option1(0).SetCaption("FULL SCREEN (3DFX)");
    Option1(1).Move(240, 4050, 2300, 255);
    Option1(1).SetCaption("CLIPPER (Window)");
    Option1(1).SetValue(true);
    Frame4.Move(2600, 3300, 2200, 1000);
    Frame4.SetCaption("RENDU JOUEUR");
    optrnd(0).Move(120, 300, 1900, 255);
    optrnd(0).SetCaption("Skinned");
    optrnd(0).SetValue(true);
    optrnd(1).Move(120, 600, 1900, 255);
    optrnd(1).SetCaption("BOX");
}

void form2::DesignPlayerPage() {
    txtYourName.Move(240, 840, 4560, 315);
    txtYourName.SetText("Player");
    cmbtyp.Move(240, 1260, 2200, 315);
    cmbtyp.AddItem("TERRORIST");
    cmbtyp.AddItem("GIGN");
    Combo3.Move(2600, 1260, 2200, 315);
    for (ui::Image* picture : {&Image4, &Image5}) {
        picture->SetStretch(true);
        picture->Move(1200, 1740, 2600, 2600);
        picture->SetVisible(false);
    }
}

void form2::DesignConnectionPage() {
    Label1(1).Move(240, 540, 4560, 255);
    Label1(1).SetCaption("&Choose Connection Type");
    lstConnections.Move(240, 840, 4560, 1200);
    lblTitle7.Move(240, 2280, 1500, 255);
    lblTitle7.SetCaption("LAN:");
    Option2(0).Move(1800, 2280, 2400, 255);
    Option2(0).SetCaption("LAN");
    Option2(0).SetValue(true);
    lblTitle6.Move(240, 2640, 1500, 255);
    lblTitle6.SetCaption("SERVEUR WEB:");
    Option2(1).Move(1800, 2640, 2400, 255);
    Option2(1).SetCaption("SERVEUR WEB");
    Label1(0).Move(240, 3060, 600, 255);
    Label1(0).SetCaption("URL");
    servertxt.Move(840, 3000, 3960, 315);
    servertxt.SetText(FixedWebHost);
}

form2& LauncherWindow() {
    static form2* const window = new form2;
    return *window;
}
