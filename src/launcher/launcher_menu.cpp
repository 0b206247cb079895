// The launcher's menu: its buttons' actions, the pages, the set-up frames
// opened in the panel, the picture buttons and their highlighting, Esc and
// the close box.

#include "core/text.h"
#include "launcher/launcher_layout.h"
#include "launcher/launcher_window.h"
#include "platform/os/program_end.h"

namespace {

enum MenuPage : int { kMainPage = 0, kArsenalMapsPage = 3, kArsenalPage = 5 };
// Esc acts as these buttons.
constexpr int kBackToArsenalMaps = 22;
constexpr int kBackToMain = 6;
// The title picture's place in an open frame; the frame's in the panel.
constexpr float kTitleLeft = 120;
constexpr float kTitleTop = 30;
constexpr float kTitleWiderThanButton = 100;
// Where the level stands in an arsenal button's caption ("NIVEAU 3").
constexpr int32_t kLevelInCaption = 7;

}  // namespace

// The web button chooses the network mode; LAN chooses it and launches.
void form2::btn_Click(int Index) {
    switch (Index) {
        case 0:
            os::EndProgram("QUITTER");
            break;
        case 1:
        case 2:
        case 3:
        case 4:
            ShowPage(Index);
            break;
        case 5:
            OpenFrame(Frame5, Index);
            break;
        case 6:
        case 13:
        case 15:
        case 16:
            BackToMenu();
            break;
        case 7:
            OpenFrame(Frame3, Index);
            break;
        case 8:
            OpenFrame(Frame1, Index);
            break;
        case 9:
            OpenFrame(Frame2, Index);
            break;
        case 10:
            Option2(1).SetValue(true);
            LanceJeu();
            break;
        case 11:
            Option2(0).SetValue(true);
            LanceJeu();
            break;
        case 12:
            picbtn(kArsenalMapsPage).SetVisible(false);
            picbtn(kArsenalPage).SetVisible(true);
            Frame7.SetVisible(false);
            fond.SetVisible(false);
            break;
        case 14:
            ChargeMap();
            OpenFrame(Frame7, Index);
            break;
        case 17:
            OpenFrame(Frame11, Index);
            break;
        case 18:
            OpenFrame(Frame6, Index);
            break;
        case 19:
        case 20:
        case 21:
        case 23:
            affiche_ARMES(CInt(Trim(Mid(btn(Index).Caption(), kLevelInCaption))));
            OpenFrame(Frame8, Index);
            break;
        case 22:
            Frame8.SetVisible(false);
            fond.SetVisible(false);
            picbtn(kArsenalPage).SetVisible(false);
            picbtn(kArsenalMapsPage).SetVisible(true);
            break;
        case 24:
            OpenFrame(Frame10, Index);
            break;
        case 25:
            OpenFrame(Frame9, Index);
            break;
        default:
            break;
    }
}

void form2::lebouton_Click(int Index) { btn_Click(Index); }

// From the main page to one of the four others; the panel stays as it is.
void form2::ShowPage(int page) {
    picbtn(kMainPage).SetVisible(false);
    picbtn(page).SetVisible(true);
}

// Hiding the panel hides any open frame with it.
void form2::BackToMenu() {
    picbtn(kMainPage).SetVisible(true);
    for (int page = 1; page < picbtn.Count(); ++page) picbtn(page).SetVisible(false);
    fond.SetVisible(false);
}

void form2::OpenFrame(ui::Frame& frame, int i) {
    for (ui::Frame* other :
         {&Frame1, &Frame2, &Frame3, &Frame5, &Frame6, &Frame7, &Frame8, &Frame9, &Frame10, &Frame11})
        if (other != &frame) other->SetVisible(false);
    fond.SetVisible(true);
    place_lebox(frame, static_cast<int16_t>(i));
    frame.Move(kFrameLeft, kFrameTop);
    frame.SetVisible(true);
}

void form2::place_lebox(ui::Frame& frame, int16_t i) {
    lemessbox.SetContainer(frame);
    lemessbox.Move(kTitleLeft, kTitleTop, btn(i).Width() + kTitleWiderThanButton);
    lemessbox.SetPicture(btnimg2(CInt(btn(i).Tag())).Picture());
    frame.SetCaption("");
}

void form2::configbouton() {
    for (int i = 0; i < btn.Count(); ++i) {
        if (i > 0) {
            lebouton.Load(i);
            WireButton(i);
        }
        ui::Image& button = lebouton(i);
        button.SetContainer(btn(i).GetContainer());
        button.Move(btn(i).Left(), btn(i).Top());
        button.SetTag(btn(i).Tag());
        button.SetVisible(true);
        button.SetPicture(btnimg1(CInt(button.Tag())).Picture());
        btn(i).SetVisible(false);
    }
}

void form2::lebouton_MouseMove(int Index) {
    inactivebouton();
    BoutonSurvole = Index;
    ui::Image& button = lebouton(Index);
    button.SetPicture(btnimg2(CInt(button.Tag())).Picture());
}

void form2::inactivebouton() {
    if (BoutonSurvole < 0 || !lebouton.Exists(BoutonSurvole)) return;
    ui::Image& button = lebouton(BoutonSurvole);
    button.SetPicture(btnimg1(CInt(button.Tag())).Picture());
}

void form2::Form_MouseMove(int, int, float, float) { inactivebouton(); }

void form2::Command1_Click() {
    if (picbtn(kArsenalPage).Visible())
        btn_Click(kBackToArsenalMaps);
    else if (!picbtn(kMainPage).Visible())
        btn_Click(kBackToMain);
    else
        os::EndProgram("Esc on the launcher's menu");
}

// Only the program's own unload closes the window without ending the run.
void form2::Form_QueryUnload(int&, int unloadMode) {
    if (unloadMode != ui::vbFormCode) os::EndProgram("the launcher was closed");
}
