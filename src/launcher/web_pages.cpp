// The launcher's pages that talk to the fixed web host: the profile board,
// the about and release page, the message board and the maps page.

#include "core/game_state.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/val_long.h"
#include "launcher/launcher_window.h"
#include "launcher/settings.h"
#include "platform/os/executable.h"
#include "platform/os/files.h"
#include "platform/ui/beep.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"
#include "web/status_window.h"

#include <array>
#include <string>

namespace {

// The message board's two lists: the mode, then the board, by position.
constexpr int kModeList = 0;
constexpr int kBoardList = 1;
constexpr int kSendMode = 0;
constexpr int kCheckMode = 1;
constexpr int kPublicBoard = 0;

constexpr const char* kDownloadCaption = "DOWNLOAD";
constexpr const char* kNoReleaseAddress = "Check on the server !!";
constexpr std::string_view kMapExtension = ".map";

struct StatisticLine {
    const char* caption;
    const int32_t* value;
};

}  // namespace

void form2::WireWebPages() {
    btcsoft.Click = [this] { btcsoft_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    for (int i = 0; i < cmbmess.Count(); ++i) cmbmess(i).Click = [this, i] { cmbmess_Click(i); };
    btcmess.Click = [this] { btcmess_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command2.Click = [this] { Command2_Click(); };
}

void form2::DesignProfileBoard() {
    fraLogin.Move(240, 540, 4560, 1800);
    fraLogin.SetCaption("Your LOGIN Informations");
    const std::array<std::pair<ui::Label*, ui::TextBox*>, 4> rows{
        {{&lblLogin, &txtlog}, {&lblPassword, &txtpass}, {&lblConfirm, &txtpass2}, {&lblEmail, &Txtmail}}};
    const std::array<const char*, 4> captions{"Login:", "Password:", "Confirm Password:", "Email:"};
    for (size_t row = 0; row < rows.size(); ++row) {
        const float top = 300 + 360 * static_cast<float>(row);
        rows[row].first->Move(120, top + 30, 1700, 255);
        rows[row].first->SetCaption(captions[row]);
        rows[row].second->Move(1860, top, 2580, 315);
        rows[row].second->SetText("");
    }
    txtpass.SetPasswordChar("*");
    txtpass2.SetPasswordChar("*");
    num_joueur.Move(240, 2430, 4560, 255);
    num_joueur.SetCaption("0");
    fraStatistics.Move(240, 2760, 4560, 1500);
    fraStatistics.SetCaption("Your STATISTICS");
    for (int i = 0; i < lbl.Count(); ++i) lbl(i).Move(120, 300 + 225 * static_cast<float>(i), 4320, 225);
    btcsoft.Move(240, 4350, 4560, 375);
    btcsoft.SetCaption("SEND && CHECK INFORMATIONS");
}

void form2::DesignReleasePage() {
    lblsoft.Move(240, 600, 4560, 255);
    lblver.Move(240, 1080, 4560, 255);
    lblver.SetCaption("VERSION DISPO SUR SERVEUR SUR URL:");
    txtver.Move(240, 1380, 4560, 315);
    Command4.Move(240, 1860, 4560, 375);
    Command4.SetCaption("COMPARER VERSION SUR SERVEUR");
}

void form2::DesignMessageBoard() {
    cmbmess(kModeList).Move(240, 540, 4560, 315);
    cmbmess(kBoardList).Move(240, 930, 4560, 315);
    message.Move(240, 1320, 4560, 2820);
    btcmess.Move(240, 4260, 4560, 375);
    btcmess.SetCaption("Check");
}

void form2::DesignMapsPage() {
    Frame7.SetCaption("DOWNLOAD MAPS");
    Label2(0).Move(240, 540, 2200, 480);
    Label2(0).SetCaption("Maps installées");
    Label2(1).Move(2600, 540, 2200, 480);
    Label2(1).SetCaption("?? Maps disponibles sur le SERVEUR");
    List1.Move(240, 1080, 2200, 2520);
    List2.Move(2600, 1080, 2200, 2520);
    lblChooseMap.Move(240, 3720, 4560, 255);
    lblChooseMap.SetCaption("sélectionner la MAP et ...");
    Command3.Move(240, 4140, 2200, 375);
    Command3.SetCaption("CHECK");
    Command2.Move(2600, 4140, 2200, 375);
    Command2.SetCaption(kDownloadCaption);
}

// Selecting from code runs cmbmess_Click, so the board opens reading, with
// its button saying so.
void form2::FillBoardChoices() {
    skip([&] { cmbmess(kModeList).AddItem("SEND Messages To"); });
    skip([&] { cmbmess(kModeList).AddItem("CHECK Messages From"); });
    skip([&] { cmbmess(kBoardList).AddItem("OTHERS PLAYERS (PUBLIC)"); });
    skip([&] { cmbmess(kBoardList).AddItem("Dravonik (PRIVATE)"); });
    skip([&] { cmbmess(kModeList).SetListIndex(kCheckMode); });
    skip([&] { cmbmess(kBoardList).SetListIndex(kPublicBoard); });
}

void form2::ChargeInfos() {
    num_joueur.SetCaption(std::to_string(ProfileId));
    lblsoft.SetCaption(ProductTitle + " " + ReleaseVersion);
    txtlog.SetText(ProfileLogin);
    txtpass.SetText(ProfilePassword);
    txtpass2.SetText(ProfilePassword);
    Txtmail.SetText(ProfileEmail);
    const std::array<StatisticLine, 5> lines{{{"KILLER: ", &StatKiller},
                                              {"KILLED: ", &StatKilled},
                                              {"SNIPPER: ", &StatSnipper},
                                              {"SNIPPED: ", &StatSnipped},
                                              {"WEAPON RANK: ", &WeaponPower}}};
    for (size_t i = 0; i < lines.size(); ++i)
        lbl(static_cast<int>(i)).SetCaption(lines[i].caption + std::to_string(*lines[i].value));
    if (ServerVersion.empty()) ServerVersion = kUnknownVersion;
    lblver.SetCaption("VERSION on SERVER:" + ServerVersion);
    txtver.SetTag(NewVersionUrl);
    txtver.SetText(NewVersionUrl.empty() ? kNoReleaseAddress : NewVersionUrl);
}

// The account request announces a newer release in its own box; this one
// follows it and arms the download.
void form2::ReChargeInfos() {
    ProfileLogin = txtlog.Text();
    ProfilePassword = txtpass.Text();
    ProfileEmail = Txtmail.Text();
    if (ProfileName.empty()) ProfileName = cmbtyp.Text();
    StatusWindow().InfoJoueur(this);
    ChargeInfos();
    if (ServerVersion == ReleaseVersion || ServerVersion == kUnknownVersion) return;
    ui::Beep();
    ui::MsgBox("New version " + ServerVersion + " at the url:\r\n" + NewVersionUrl, ui::vbOKOnly);
    Command4.SetCaption(kDownloadCaption);
}

void form2::btcsoft_Click() { ReChargeInfos(); }

// Once a newer release was announced the button downloads it, which ends
// the program.
void form2::Command4_Click() {
    if (Command4.Caption() != kDownloadCaption)
        ReChargeInfos();
    else
        StatusWindow().GetVersion();
}

void form2::cmbmess_Click(int Index) {
    if (Index == kModeList) btcmess.SetCaption(cmbmess(kModeList).ListIndex() == kSendMode ? "SEND !" : "CHECK !");
    message.SetText("");
}

// The board type goes to the requests as a copy: reading account 1's
// private board asks board 2, which must not move the list's choice.
void form2::btcmess_Click() {
    if (ValLong(std::string_view(num_joueur.Caption())) == 0) ReChargeInfos();
    int32_t board = cmbmess(kBoardList).ListIndex();
    switch (cmbmess(kModeList).ListIndex()) {
        case kSendMode:
            if (!Trim(message.Text()).empty()) StatusWindow().EnvoiMessage(message.Text(), board, *this);
            break;
        case kCheckMode:
            message.SetText(StatusWindow().RecupMessage(*this, board));
            break;
        default:
            break;
    }
}

// Only names the map loader can open are listed: a ".map" ending in
// another case is not one.
void form2::ChargeMap() {
    List1.Clear();
    for (const std::string& file : os::FilesEndingWith(JoinPath(os::ExecutableFolder(), "map"), kMapExtension))
        List1.AddItem(UCase(file.substr(0, file.size() - kMapExtension.size())));
    Label2(0).SetCaption(std::to_string(List1.ListCount()) + " Map(s) installées !!");
}

void form2::Command3_Click() {
    StatusWindow().Get_Map(*this);
    ZOrder(0);
    Label2(1).SetCaption(std::to_string(List2.ListCount()) + " Maps disponibles sur le SERVEUR");
}

// GetAnyFile returns after the wait that follows the unpacking.
void form2::Command2_Click() {
    if (List2.ListIndex() < 0) {
        ui::MsgBox("Select a Map to Download please !!", ui::vbOKOnly);
        return;
    }
    StatusWindow().GetAnyFile(UCase(List2.Text()), this);
    ChargeMap();
    ui::SetMousePointer(ui::vbDefault);
}
