#pragma once

// The web status window: its public procedures are the requests to the web
// server, and while one runs the window shows what the program waits for.
// Each request runs on the user-interface thread until its whole reply is in,
// under the busy pattern: the hourglass, the calling window disabled, this
// window in front with "Please Wait Connexion to <host> in progress...", one
// yield so that the text is drawn, the request, then the window unloaded, the
// default pointer and the caller enabled again, whatever happened meanwhile.
// The player cannot close the window; each procedure unloads it itself.
// What callers get:
//  - StatusWindow(): the one window of the run, loaded on first use.
//  - InfoJoueur: the account request to the fixed web host. Its reply
//    replaces the account number, the career totals and the latest release,
//    after which the rank is recomputed and the settings written, and a box
//    announces a newer release. True when the reply loaded; otherwise nothing
//    changes. With no calling window only the pointer shows that it runs.
//  - EnvoiMessage: posts `mess` on board `typ_mess`; the reply is not read.
//  - RecupMessage: the board `typ_mess` as one text for a multi-line box,
//    "" when the reply did not load. It empties the session window's two
//    lists and the Internet game list first, and asks account 1's private
//    board (1) as board 2, changing `typ_mess`.
// The game-list requests go to the host typed in the launcher,
// `WebServerHost` (game_list.h for the list itself):
//  - devenir_server: announces this machine's game; true when the site
//    answered with a game key, which becomes `ServerKey`. A refusal ("NO")
//    or any other answer gives false and keeps the key. With no calling
//    window only the pointer shows that it runs.
//  - server_en_cours: the running games into the session window's `lstserv`
//    and into `WebServers`, from empty; false when the reply did not load.
//  - DeleteServer: takes the game of `ServerKey` off the list; the status
//    window shows, nothing is disabled, the reply is not read.
//  - quitte_server: in web mode, asks the player for a comment and sends it
//    with the local player's counters of this game; every step that fails is
//    passed over. With no `WebServerHost` it asks and sends nothing.
// The map list and the downloads go to the fixed web host again:
//  - Get_Map: the offered maps' names, upper-cased in the order the site
//    sent them, replace the rows of `qui`'s list control "List2"; true when
//    the reply loaded, otherwise the rows stay. It empties the Internet game
//    list first, as the board request does.
//  - GetAnyFile: downloads the map `name`'s package ("/quellmar/map/" + the
//    name in lower case + ".exe") into the game folder, unpacks it into the
//    map folder and returns after the counted wait ("UNZIP 1 / 10" to
//    "UNZIP 10 / 10", one tick each WaitTickMilliseconds), during which the
//    status window is modal and `qui` (the game window when there is none)
//    disabled; the close box does nothing meanwhile. A name that is not a
//    plain map name (IsPlainMapName) is refused before anything is sent or
//    written. A failed transfer or write puts the windows and the pointer
//    back and passes the failure on, with no wait. A package that does not
//    unpack installs nothing and still gets its wait: the caller finds the
//    map missing.
//  - GetVersion: downloads "/quellmar/release.exe" into the game folder as
//    "release.exe", unpacks it over the game folder (each file replaced by a
//    rename, so the running program keeps what it has open) and ends the
//    program, also when the package does not unpack. A failed transfer or
//    write puts the status window and the pointer back and passes the
//    failure on; the program goes on.
// A package is a zip archive, maybe behind an executable stub; nothing in it
// is ever run (os::UnpackPackage says what it refuses). A map package's
// entries are paths below the map folder: the map's files, and optionally
// "textures/" and "env/" files; a release's are paths below the game folder.
// Each downloaded file is written beside the one it replaces and renamed
// over it.

#include "core/shared_state.h"
#include "platform/ui/form.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/timer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The latest release the web server announced, and where to fetch it; empty
// until an account reply brings them.
inline std::string ServerVersion = Initial(&ServerVersion, {});
inline std::string NewVersionUrl = Initial(&NewVersionUrl, {});
// What the profile board puts in place of an unknown server release; it is
// never announced as new.
inline constexpr std::string_view kUnknownVersion = "?.?.?";

// How often the wait after a map download ticks; tests shorten it.
inline int32_t WaitTickMilliseconds = Initial(&WaitTickMilliseconds, 1000);

class Form3 : public ui::Form {
public:
    Form3();

    ui::Label lbl{*this, "lbl"};  // the status text
    // WaitTickMilliseconds, off as designed; it counts the wait after a map
    // download.
    ui::Timer Timer1{*this, "Timer1"};
    ui::Image Image1{*this, "Image1"};
    ui::Image Image2{*this, "Image2"};

    bool InfoJoueur(ui::Form* qui);
    void EnvoiMessage(const std::string& mess, int32_t typ_mess, ui::Form& qui);
    std::string RecupMessage(ui::Form& qui, int32_t& typ_mess);
    void DeleteServer();
    bool devenir_server(ui::Form* qui, const std::string& commentaire);
    void quitte_server();
    bool server_en_cours(ui::Form& qui);
    bool Get_Map(ui::Form& qui);
    void GetAnyFile(const std::string& name, ui::Form* qui);
    [[noreturn]] void GetVersion();
    void Timer1_Timer();

protected:
    void Design() override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    class Busy;

    // Unpacks the package `zip_source` into `rep_destin`; a package that is
    // refused unpacks nothing and is passed over.
    void pkunzip(const std::string& zip_source, const std::string& rep_destin);

    // Kept for the downloads across unloads: the last file's bytes, and the
    // window disabled while a map downloads.
    std::vector<uint8_t> FichierRecu;
    ui::Form* FormAppelante = nullptr;
};

Form3& StatusWindow();
