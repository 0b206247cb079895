// The Internet game list: a machine announces the game it hosts, the lobby
// fetches the running games, the host takes its game off again, and every
// web game ends with the player's statistics and comment. All of it goes to
// the host typed in the launcher.

#include "web/game_list.h"

#include "core/game_state.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/val_long.h"
#include "launcher/settings.h"
#include "multiplayer/session_list.h"
#include "platform/failure.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/input_box.h"
#include "platform/ui/mouse_pointer.h"
#include "player/player.h"
#include "web/busy.h"
#include "web/requests.h"
#include "web/status_window.h"

#include <string_view>

namespace {

// The site's answer to an announce it does not take.
constexpr std::string_view kRefused = "NO";
// The address starts at the column after these characters of a row.
constexpr int32_t kAddressColumn = 100;
constexpr char kSendingGame[] = " to send Game Informations !! Thank You";
constexpr char kCommentPrompt[] = "Send a message (bugs,remarks) to Dravonik Thank you !!";

// The announce's answer is a game key or the refusal. Anything else (an
// empty text, a word, a number past the 32-bit range) is no key either: it
// counts as a refusal rather than as a failure, so that neither the create
// window nor the new host's drain stops half-way.
bool TakeGameKey(const std::string& answer) {
    if (answer == kRefused) return false;
    try {
        ServerKey = CLng(answer);
        return true;
    } catch (const Failure&) {
        return false;
    }
}

// Entry `i`, made when the table does not reach it yet: a reply whose games
// do not start with their key writes no entry past the table.
ServerEntry& EntryAt(int32_t i) {
    if (WebServers.size() < size_t(i) + 1) WebServers.resize(size_t(i) + 1);
    return WebServers[size_t(i)];
}

// The row cut or filled with spaces to the address column, then the
// address.
std::string WithAddress(const std::string& row, const std::string& address) {
    std::string text = Left(row, kAddressColumn);
    text.append(size_t(kAddressColumn - Len(text)), ' ');
    return text + address;
}

// "servers listed <n>: <row> | <row>..." for the diagnostic log.
void TraceRows(ui::ListBox& rows) {
    std::string line;
    const int count = rows.ListCount();
    for (int row = 0; row < count; ++row) line += (row > 0 ? " | " : "") + rows.List(row);
    Trace("servers listed ", count, ": ", line);
}

}  // namespace

void EmptyGameList() {
    SessionsWindow().lstserv.Clear();
    SessionsWindow().lstSessions.Clear();
    WebServers.assign(1, ServerEntry{});
}

// Each game comes as its key, account, name, version, address and comment;
// the comment closes it and adds its row, which moves on to the next entry.
// The key makes room for the entry after it, so the table stays one entry
// ahead of the rows.
void FillGameList(const net::XmlNode& root, ui::ListBox& rows) {
    std::string row;
    int32_t i = rows.ListCount();
    for (const net::XmlNode& child : root.ChildNodes()) {
        const std::string name = child.NodeName();
        if (name == "CLE_SERVEUR") {
            EntryAt(i + 1);
            WebServers[size_t(i)].CLE_SERVEUR = ValLong(std::string_view(child.Text()));
        } else if (name == "CLE_JOUEUR") {
            EntryAt(i).CLE_JOUEUR = ValLong(std::string_view(child.Text()));
        } else if (name == "NOM") {
            EntryAt(i).NOM = child.Text();
            row = "SERVER " + WebServers[size_t(i)].NOM;
        } else if (name == "VERSION") {
            EntryAt(i).VERSION = child.Text();
            row += " On version " + WebServers[size_t(i)].VERSION;
        } else if (name == "IP") {
            EntryAt(i).IP = child.Text();
            row = WithAddress(row, WebServers[size_t(i)].IP);
        } else if (name == "COMMENT") {
            EntryAt(i).COMMENT = child.Text();
            rows.AddItem(row);
            EntryAt(++i);
        }
    }
}

bool Form3::devenir_server(ui::Form* qui, const std::string& commentaire) {
    Busy busy(*this, qui, Busy::End::Plain, Busy::Alone::PointerThenUnload);
    busy.Start(WaitingFor(WebServerHost));
    net::DOMDocument document;
    if (!LoadReply(document, WebServerHost, web_requests::DevenirServer,
                   {IdSoft, ProfileId, ReleaseVersion, commentaire}))
        return false;
    return TakeGameKey(document.DocumentElement().Text());
}

bool Form3::server_en_cours(ui::Form& qui) {
    Busy busy(*this, &qui);
    busy.Start(WaitingFor(WebServerHost));
    EmptyGameList();
    net::DOMDocument document;
    if (!LoadReply(document, WebServerHost, web_requests::ServerEnCours, {IdSoft, ProfileId})) return false;
    FillGameList(document.DocumentElement(), SessionsWindow().lstserv);
    if (trace::On()) TraceRows(SessionsWindow().lstserv);
    return true;
}

// The key stays: a later announce replaces it.
void Form3::DeleteServer() {
    Busy busy(*this, nullptr, Busy::End::Plain, Busy::Alone::StatusWindow);
    busy.Start(WaitingFor(WebServerHost) + kSendingGame);
    net::DOMDocument document;
    LoadReply(document, WebServerHost, web_requests::DeleteServer, {ServerKey});
}

// The program ends right after: whatever fails is passed over, and the
// statistics go with what could be gathered.
void Form3::quitte_server() {
    if (WebServerHost.empty()) return skip([&] { Unload(); });
    skip([&] { Show(); });
    skip([&] { lbl.SetCaption(WaitingFor(WebServerHost) + kSendingGame); });
    skip([] { ui::SetMousePointer(ui::vbHourglass); });
    skip([] { ui::DoEvents(); });
    std::string comment;
    skip([&] { comment = ui::InputBox(kCommentPrompt); });
    skip([] { ui::DoEvents(); });
    int32_t kills = 0, deaths = 0, headKills = 0, headDeaths = 0;
    skip([&] { kills = JoueurLocal().tueur; });
    skip([&] { deaths = JoueurLocal().tue; });
    skip([&] { headKills = JoueurLocal().snipper; });
    skip([&] { headDeaths = JoueurLocal().snipped; });
    skip([&] {
        net::DOMDocument document;
        LoadReply(document, WebServerHost, web_requests::QuitteServer,
                  {IdSoft, ProfileId, kills, deaths, headKills, headDeaths, comment});
    });
    skip([&] { Unload(); });
}
