#pragma once

// The launcher window: shown by the splash's timer, it holds a menu of 26
// picture buttons on six pages at its left and, in the panel at its right,
// one set-up page at a time (video, player, connection, ...). What callers
// get:
//  - LauncherWindow(): the one window of the run; showing it loads it, which
//    fills the video and connection pages, reads the settings into the game
//    state and the pages, takes the splash's pictures and unloads the
//    splash, shows the release notes and makes the picture buttons. A
//    failure before the manual is read ends the program after a box with
//    its description and number.
//  - Lit_Ini: the settings read into the game state and pushed into the
//    pages.
//  - InitConnectionList: the connection page filled.
//  - The player page's turning model preview (affiche_MODELE), rebuilt
//    whenever the side, skin or a quality changes and dropped on unload; the
//    arsenal page by level and the controls page (ChargeControls).
//  - Closing the window by the user ends the program; Unload from code does
//    not.
//  - LanceJeu: the hand-over to the session list, on the chosen LAN
//    connection or, in web mode, after the account and game-list requests.
//  - The pages that talk to the fixed web host: the profile board and the
//    about and release page (ChargeInfos, ReChargeInfos), the message board
//    and the maps page (ChargeMap).
// The seams below let tests replace the user-name query, the connection
// enumeration and the session listing.

#include "launcher/model_preview.h"
#include "platform/ui/check_box.h"
#include "platform/ui/command_button.h"
#include "platform/ui/control_array.h"
#include "platform/ui/form.h"
#include "platform/ui/frame.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/list_control.h"
#include "platform/ui/option_button.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/text_box.h"
#include "platform/ui/timer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class form2 : public ui::Form {
public:
    form2();

    // The menu: six pages, one visible at a time; the labels that design
    // each button (caption, picture number in Tag, place), hidden at start;
    // the picture buttons made from them; the normal and highlighted
    // pictures, by picture number.
    ui::ControlArray<ui::PictureBox> picbtn{*this, "picbtn", 6};
    ui::ControlArray<ui::Label> btn{*this, "btn", 26};
    ui::ControlArray<ui::Image> lebouton{*this, "lebouton", 1};
    ui::ControlArray<ui::Image> btnimg1{*this, "btnimg1", 22};
    ui::ControlArray<ui::Image> btnimg2{*this, "btnimg2", 22};

    // The panel and its set-up pages; the open page's title picture.
    ui::PictureBox fond{*this, "fond"};
    ui::Frame Frame1{fond, "Frame1"};    // video
    ui::Frame Frame2{fond, "Frame2"};    // player
    ui::Frame Frame3{fond, "Frame3"};    // connection
    ui::Frame Frame5{fond, "Frame5"};    // controls
    ui::Frame Frame6{fond, "Frame6"};    // about and release
    ui::Frame Frame7{fond, "Frame7"};    // maps
    ui::Frame Frame8{fond, "Frame8"};    // arsenal
    ui::Frame Frame9{fond, "Frame9"};    // profile board
    ui::Frame Frame10{fond, "Frame10"};  // manual
    ui::Frame Frame11{fond, "Frame11"};  // message board
    ui::PictureBox lemessbox{Frame1, "lemessbox"};

    // Esc presses it; it lies below the window's visible area.
    ui::CommandButton Command1{*this, "Command1"};

    // The video page.
    ui::ComboBox list_DDraw{Frame1, "list_DDraw"};
    ui::ComboBox list_display{Frame1, "list_display"};
    ui::ComboBox list_bit{Frame1, "list_bit"};
    ui::ComboBox list_d3d7{Frame1, "list_d3d7"};
    ui::ComboBox Combo1{Frame1, "Combo1"};  // texture quality
    ui::ComboBox Combo2{Frame1, "Combo2"};  // render quality
    ui::CheckBox Check1{Frame1, "Check1"};
    ui::ControlArray<ui::OptionButton> Option1{Frame1, "Option1", 2};
    ui::Frame Frame4{Frame1, "Frame4"};
    ui::ControlArray<ui::OptionButton> optrnd{Frame4, "optrnd", 2};
    ui::Label lblTitle5{Frame1, "lblTitle", 5};
    ui::Label lblTitle1{Frame1, "lblTitle", 1};
    ui::Label lblTitle2{Frame1, "lblTitle", 2};

    // The player page.
    ui::TextBox txtYourName{Frame2, "txtYourName"};
    ui::ComboBox cmbtyp{Frame2, "cmbtyp"};  // side
    ui::ComboBox Combo3{Frame2, "Combo3"};  // skin
    ui::Image Image4{Frame2, "Image4"};
    ui::Image Image5{Frame2, "Image5"};
    ui::PictureBox Picture1{Frame2, "Picture1"};  // the turning model
    ui::Timer Timer1{*this, "Timer1"};            // the preview's tick, on while a preview stands

    // The connection page.
    ui::ListBox lstConnections{Frame3, "lstConnections"};
    ui::ControlArray<ui::OptionButton> Option2{Frame3, "Option2", 2};  // LAN, web server
    ui::TextBox servertxt{Frame3, "servertxt"};
    ui::ControlArray<ui::Label> Label1{Frame3, "Label1", 2};
    ui::Label lblTitle7{Frame3, "lblTitle", 7};
    ui::Label lblTitle6{Frame3, "lblTitle", 6};

    // The controls page: the fixed keys, one per disabled list, and the
    // inverted mouse.
    ui::ControlArray<ui::ComboBox> cmbdep{Frame5, "cmbdep", 10};
    ui::ControlArray<ui::Label> lblAction{Frame5, "lblAction", 10};
    ui::Label lblRotation{Frame5, "lblRotation"};
    ui::CheckBox Chcnt{Frame5, "Chcnt"};

    // The arsenal page: up to four weapons of one level.
    ui::ControlArray<ui::Frame> Framew{Frame8, "Framew", 4};
    ui::ControlArray<ui::Image> img{Frame8, "img", 4};
    ui::ControlArray<ui::Label> lblrang{Frame8, "lblrang", 4};
    ui::ControlArray<ui::Label> lblammo{Frame8, "lblammo", 4};
    ui::ControlArray<ui::Label> lblsnipper{Frame8, "lblsnipper", 4};

    // The manual.
    ui::TextBox mess{Frame10, "mess", ui::TextBox::Lines::Multi};

    // The profile board: the account's login details, its number and the
    // career totals with the rank.
    ui::Frame fraLogin{Frame9, "fraLogin"};
    ui::Label lblLogin{fraLogin, "lblLogin"};
    ui::Label lblPassword{fraLogin, "lblPassword"};
    ui::Label lblConfirm{fraLogin, "lblConfirm"};
    ui::Label lblEmail{fraLogin, "lblEmail"};
    ui::TextBox txtlog{fraLogin, "txtlog"};
    ui::TextBox txtpass{fraLogin, "txtpass"};
    ui::TextBox txtpass2{fraLogin, "txtpass2"};
    ui::TextBox Txtmail{fraLogin, "Txtmail"};
    ui::Label num_joueur{Frame9, "num_joueur"};
    ui::Frame fraStatistics{Frame9, "fraStatistics"};
    ui::ControlArray<ui::Label> lbl{fraStatistics, "lbl", 5};  // kills, deaths, head shots both ways, rank
    ui::CommandButton btcsoft{Frame9, "btcsoft"};

    // The about and release page: this release, the server's and where to
    // fetch it (txtver's Tag keeps the address).
    ui::Label lblsoft{Frame6, "lblsoft"};
    ui::Label lblver{Frame6, "lblver"};
    ui::TextBox txtver{Frame6, "txtver"};
    ui::CommandButton Command4{Frame6, "Command4"};

    // The message board: the mode (send, check) and the board (public,
    // private) chosen in the two lists; the text posted or read.
    ui::TextBox message{Frame11, "message", ui::TextBox::Lines::Multi};
    ui::ControlArray<ui::ComboBox> cmbmess{Frame11, "cmbmess", 2};
    ui::CommandButton btcmess{Frame11, "btcmess"};

    // The maps page: the installed maps and those the web server offers,
    // with their counts.
    ui::ListBox List1{Frame7, "List1"};
    ui::ListBox List2{Frame7, "List2"};
    ui::ControlArray<ui::Label> Label2{Frame7, "Label2", 2};
    ui::Label lblChooseMap{Frame7, "lblChooseMap"};
    ui::CommandButton Command3{Frame7, "Command3"};
    ui::CommandButton Command2{Frame7, "Command2"};

    // The menu's dispatcher; indexes above 25 do nothing.
    void btn_Click(int Index);
    void lebouton_Click(int Index);
    void lebouton_MouseMove(int Index);
    // Replaces the menu labels by picture buttons.
    void configbouton();
    // Gives the highlighted picture button its normal picture again.
    void inactivebouton();
    // Puts the title picture of button `i` into `frame`, whose caption it
    // replaces.
    void place_lebox(ui::Frame& frame, int16_t i);
    void Command1_Click();

    // Reads the settings (both keys created) into the game state and pushes
    // them into the pages, each push skipped on failure. A stored position
    // that is not a row of its list leaves the list's selection; a stored
    // side other than 0 or 1 selects side 0.
    void Lit_Ini();
    // Fills the connection page; `ok` false when the enumeration failed
    // (the rows read so far stay). A failure to make the session object ends
    // the program after its message.
    void InitConnectionList(bool& ok);

    void list_DDraw_Click();

    // The hand-over to the lobby on the chosen connection: the session list
    // shown and the launcher hidden, then the set-up pages' choices copied
    // into the game state, SetupDone, the settings stored and the local
    // player's two names set. When the connection or the listing fails,
    // nothing is copied or stored and the launcher stays.
    void LanceJeu();

    // Builds the preview for the chosen side, skin and qualities and starts
    // its timer; `ok` false, the timer off, when any step fails. The previous
    // preview's objects go first, so Picture1 has one device at a time.
    void affiche_MODELE(bool& ok);
    // The side chosen: the preview, else its still picture; the side's skins
    // listed, the first chosen.
    void cmbtyp_Click();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    // The preview's tick: the scene moved on, drawn and shown.
    void Timer1_Timer();
    // The objects of the standing preview, for reading back.
    const ModelPreview& Preview() const { return preview_; }

    // The fixed keys into the controls page and the inverted mouse into its
    // box.
    void ChargeControls();
    void Chcnt_Click();
    // The profile board and the about and release page from the game state;
    // an unknown server release shows as "?.?.?".
    void ChargeInfos();
    // The profile from the boxes sent with the account request, the pages
    // refilled, and a newer release announced, after which Command4
    // downloads it.
    void ReChargeInfos();
    // The map folder's maps into List1, by name, with their count.
    void ChargeMap();
    void btcsoft_Click();
    void Command4_Click();
    void cmbmess_Click(int Index);
    // Posts the typed message or reads the chosen board; the first use asks
    // the web server for an account number.
    void btcmess_Click();
    // The web server's maps into List2; their count whether the request
    // succeeded or not.
    void Command3_Click();
    // Downloads the chosen offered map, then lists the installed ones again.
    void Command2_Click();

protected:
    void Design() override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_Unload(int& cancel) override;

private:
    void DesignMenu();
    void DesignVideoPage();
    void DesignPlayerPage();
    void DesignConnectionPage();
    void DesignProfileBoard();
    void DesignReleasePage();
    void DesignMessageBoard();
    void DesignMapsPage();
    void WireWebPages();
    void FillBoardChoices();
    void PrepareWindow();
    void FillDriverList();
    void FillModeLists(const std::string& guid);
    void FillDeviceList();
    void FillNameBox();
    void FillConnections();
    void TakeSplashPictures();
    void ShowFirstPage();
    void ReadManual();
    void PushSettings();
    void ShowPage(int page);
    void BackToMenu();
    void OpenFrame(ui::Frame& frame, int i);
    void WireButton(int i);
    // Selects a stored position when it is a row of the list; any other
    // leaves the list's choice (-1 would clear it, leaving the launch
    // nothing to read).
    static void SelectStoredRow(ui::ListControl& list, int32_t position);
    // LanceJeu's steps: false when the launch ends there.
    bool OpenLanList();
    bool OpenWebList();
    void CopySettings();

    void DesignPreview();
    void DesignArsenalPage();
    void DesignControlsPage();
    void WireSetupPages();
    // Shows the weapons of `level` (1 to 4; any other shows weapon 0) with
    // their statistics, greyed above the player's rank.
    void affiche_ARMES(int32_t level);
    void ListSkins();
    void BuildPreview();
    void MakePreviewDevice();
    void CopyChosenSkin();
    void LoadPreviewModel();
    void PlacePreviewScene();
    void ReleasePreview();

    // The picture button the mouse last highlighted; -1 for none.
    int BoutonSurvole = -1;
    ModelPreview preview_;
};

// The launcher window of the run, made on first use.
form2& LauncherWindow();

// The system's user-name query (os::GetUserNameA); tests replace it, and an
// empty query restores it.
using UserNameQuery = std::function<bool(std::string& buffer, uint32_t* size)>;
void SetUserNameQuery(UserNameQuery query);

// What the connection page lists: by default the session object's
// connections. Tests put another in place; an empty source restores it.
class ConnectionEnumeration {
public:
    virtual ~ConnectionEnumeration() = default;
    virtual int32_t GetCount() = 0;
    // Counts from 1.
    virtual std::string GetName(int32_t index) = 0;
};
using ConnectionSource = std::function<std::unique_ptr<ConnectionEnumeration>()>;
void SetConnectionSource(ConnectionSource source);

// How the launch lists the sessions of the chosen connection: by default the
// session list's UpdateSessionList. Tests put another in place; an empty
// listing restores it.
using SessionListing = std::function<bool()>;
void SetSessionListing(SessionListing listing);
