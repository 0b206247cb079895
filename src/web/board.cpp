// The message boards: a message posted to one, and one read back as a text.

#include "core/game_state.h"
#include "launcher/settings.h"
#include "web/busy.h"
#include "web/game_list.h"
#include "web/requests.h"
#include "web/status_window.h"
#include "web/web_host.h"

#include <string_view>

namespace {

// The private board as account 1, the board's keeper, reads it.
constexpr int32_t kPrivateBoard = 1;
constexpr int32_t kKeepersBoard = 2;
constexpr int32_t kKeeperAccount = 1;

// Each message comes as its key, sender, date and text: one line
// "#key send by name date", the text on the next, then an empty line.
std::string BoardText(const net::XmlNode& root) {
    std::string board;
    for (const net::XmlNode& child : root.ChildNodes()) {
        const std::string name = child.NodeName();
        if (name == "CLE") board += "#" + child.Text();
        if (name == "NOM") board += " send by " + child.Text();
        if (name == "DATE") board += " " + child.Text() + "\r\n";
        if (name == "MESSAGE") board += child.Text() + "\r\n\r\n";
    }
    return board;
}

}  // namespace

void Form3::EnvoiMessage(const std::string& mess, int32_t typ_mess, ui::Form& qui) {
    Busy busy(*this, &qui);
    busy.Start(WaitingFor(FixedWebHost));
    net::DOMDocument document;
    LoadReply(document, FixedWebHost, web_requests::EnvoiMessage, {IdSoft, ProfileId, typ_mess, mess});
}

std::string Form3::RecupMessage(ui::Form& qui, int32_t& typ_mess) {
    Busy busy(*this, &qui, Busy::End::CallerToFront);
    busy.Start(WaitingFor(FixedWebHost));
    EmptyGameList();
    if (typ_mess == kPrivateBoard && ProfileId == kKeeperAccount) typ_mess = kKeepersBoard;
    net::DOMDocument document;
    if (!LoadReply(document, FixedWebHost, web_requests::RecupMessage, {IdSoft, typ_mess})) return {};
    return BoardText(document.DocumentElement());
}
