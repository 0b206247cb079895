// The launcher's start: the video and connection pages filled, the settings
// read into them, the splash's pictures taken, the menu dressed, the manual
// read, the message board and the profile board filled and the release notes
// shown.

#include "core/game_state.h"
#include "core/paths.h"
#include "launcher/launcher_layout.h"
#include "launcher/launcher_window.h"
#include "launcher/settings.h"
#include "launcher/splash.h"
#include "launcher/window_look.h"
#include "platform/os/executable.h"
#include "platform/os/program_end.h"
#include "platform/os/user_name.h"
#include "platform/rm/directx7.h"
#include "platform/ui/colour.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"

#include <fstream>
#include <sstream>

namespace {

// The user-name buffer, its terminator included.
constexpr uint32_t kUserNameBuffer = 99;
constexpr int kSidesOffered = 2;

constexpr const char* kReleaseNotes[] = {
    "NOUVELLE MAP SNIPPER  ",
    "DANS CETTE MAP TERRORISTE ET GIGN APPARAISSENT TOUJOURS DU MM COTE",
    "A VOUS DE BIEN CHOISIR VOTRE CAMPS POUR UN MINIMUM DE STRATEGIE",
    "LE CHGT DE CAMPS PDT LE JEU N'EST PAS ENCORE POSSIBLE",
    "NOUVELLE ARME XM1014 NIVEAU 4 (POMPE AUTOMATIQUE)",
    "REGLAGLE DE LA SENSIBILITE DE LA SOURIS PDT LE JEU (F11 et F12)",
    "VUE SNIPPER SUR CLICK DROIT EN VUE INTERIEUR",
    "AFFICHAGE DES JOUEURS PRESENT PDT LA PARTIE (F1)",
    "CORRECTION SOURIS INVERSEE",
    "PAGE UP & DOWN CHANGE LES ARMES",
    "JUSQU'A 8 JOUEURS",
    "",
    "Merci a tous et BON CLASH!!",
    "",
    "N'OUBLIEZ PAS DE PERSONNALISER VOTRE JOUEUR EN POSANT UNE PHOTO ",
    "SUR VOTRE PROFIL DU SERVEUR WEB (LOGIN ET MOT DE PASSE DANS CREDITS\\PLAYER BOARD)",
};

std::string ReleaseNotes() {
    std::string text;
    for (const char* line : kReleaseNotes) text += (text.empty() ? "" : "\r\n") + std::string(line);
    return text;
}

UserNameQuery& NameQuery() {
    static UserNameQuery query;
    return query;
}

// The whole file as its bytes; a failure when it cannot be read.
std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    if (!file || !(bytes << file.rdbuf())) throw Failure(failure_number::FileNotFound, "File not found: " + path);
    return bytes.str();
}

}  // namespace

void SetUserNameQuery(UserNameQuery query) { NameQuery() = std::move(query); }

// A failure before the manual has no handler of its own: it ends the program
// after saying what failed, rather than leaving the splash up with no
// launcher.
void form2::Form_Load() {
    BoutonSurvole = -1;
    try {
        PrepareWindow();
        FillDriverList();
        ui::SetMousePointer(ui::vbHourglass);
        ui::DoEvents();
        Lit_Ini();
        ModeDebug = InIDE();
        FillNameBox();
        FillConnections();
        TakeSplashPictures();
        ShowFirstPage();
        HabilleForm(*this);
        ChargeControls();
    } catch (const Failure& failure) {
        ui::MsgBox(failure.Description() + ": " + std::to_string(failure.Number()));
        os::EndProgram("the launcher's start failed");
    }
    skip([&] { ReadManual(); });
    FillBoardChoices();
    skip([&] { ChargeInfos(); });
    skip([] { ui::MsgBox(ReleaseNotes()); });
    skip([&] { configbouton(); });
}

void form2::PrepareWindow() {
    ui::SetMousePointer(ui::vbHourglass);
    Move(Left(), Top(), kLauncherWidth, kLauncherHeight);
    DX7 = std::make_shared<rm::DirectX7>();
    fond.Move(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
    fond.SetBackColor(ui::vbBlack);
    ui::DoEvents();
}

// A saved profile name first, then the user's login name; "Player" stays
// when neither is known.
void form2::FillNameBox() {
    if (!ProfileName.empty()) {
        txtYourName.SetText(ProfileName);
        return;
    }
    std::string buffer(kUserNameBuffer, '\0');
    uint32_t size = kUserNameBuffer;
    const bool known = NameQuery() ? NameQuery()(buffer, &size) : os::GetUserNameA(buffer, &size);
    if (known && size >= 1 && size <= kUserNameBuffer) txtYourName.SetText(buffer.substr(0, size - 1));
}

void form2::FillConnections() {
    bool ok = false;
    InitConnectionList(ok);
    if (!ok) ui::MsgBox("Failed to Enumerate Connections.", ui::vbOKOnly);
}

void form2::TakeSplashPictures() {
    SplashWindow().RenvoieImage(Image4, 1);
    SplashWindow().RenvoieImage(Image5, 2);
    ui::SetMousePointer(ui::vbDefault);
    SplashWindow().Unload();
}

void form2::ShowFirstPage() {
    for (int page = 0; page < picbtn.Count(); ++page) {
        picbtn(page).SetBackColor(ui::vbBlack);
        picbtn(page).Move(kPageLeft, kPageTop);
        picbtn(page).SetVisible(false);
    }
    picbtn(0).SetVisible(true);
}

// The file's bytes as they are: text that is not UTF-8 shows with
// replacement characters.
void form2::ReadManual() { mess.SetText(FileBytes(JoinPath(os::ExecutableFolder(), "readme.txt"))); }

void form2::Lit_Ini() {
    VideoListChoices lists;
    skip([&] { lists.bitText = list_bit.Text(); });
    skip([&] { lists.display = list_display.ListIndex(); });
    skip([&] { lists.ddraw = list_DDraw.ListIndex(); });
    skip([&] { lists.d3d = list_d3d7.ListIndex(); });
    ::Lit_Ini(lists);
    PushSettings();
}

// In the order a change of driver needs: it chooses the desktop's mode and
// the hardware device again, so a stored mode holds only on the first driver.
void form2::PushSettings() {
    skip([&] { SelectStoredRow(lstConnections, ConnectionIndex); });
    skip([&] { Option2(NetMode).SetValue(true); });
    skip([&] { SelectStoredRow(list_display, ResIndex); });
    skip([&] { SelectStoredRow(list_DDraw, DDrawIndex); });
    skip([&] { SelectStoredRow(list_d3d7, D3DIndex); });
    skip([&] { SelectStoredRow(Combo1, TexIndex); });
    skip([&] { SelectStoredRow(Combo2, QualityIndex); });
    skip([&] { cmbtyp.SetListIndex(IdModeleLocal >= 0 && IdModeleLocal < kSidesOffered ? IdModeleLocal : 0); });
    skip([&] { Check1.SetValue(FullScreen ? ui::vbChecked : ui::vbUnchecked); });
    skip([&] { list_bit.SetText(std::to_string(BitDepth)); });
    skip([&] { Option1(ScreenMode == 1 ? 0 : 1).SetValue(true); });
    skip([&] { optrnd(ModeBox ? 1 : 0).SetValue(true); });
    skip([&] { Combo3.SetText(SkinLocal); });
}

void form2::SelectStoredRow(ui::ListControl& list, int32_t position) {
    if (position >= 0 && position < list.ListCount()) list.SetListIndex(position);
}
