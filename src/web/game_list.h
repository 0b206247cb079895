#pragma once

// The Internet game list as the web server sends it: one entry per running
// game, shared by the requests that fill it and the session window that
// shows it.

#include "core/shared_state.h"

#include <cstdint>
#include <string>
#include <vector>

// One running game of the list; each field is named after the reply element
// that fills it.
struct ServerEntry {
    int32_t CLE_SERVEUR = 0;  // the game's key on the web server
    int32_t CLE_JOUEUR = 0;   // account number of the player who announced it
    std::string NOM;          // the name shown for the game
    std::string VERSION;      // release version of the announcing program
    std::string IP;           // address of the announcing machine
    std::string COMMENT;      // the announcer's comment
    bool operator==(const ServerEntry&) const = default;
};

// Entry i describes row i of the session window's server list; the table
// holds at least one entry more than the list has rows once a list request
// has filled it. Empty until then.
inline std::vector<ServerEntry> WebServers = Initial(&WebServers, {});

// The key of the game this machine announced last; 0 until one is. Never
// stored in the registry.
inline int32_t ServerKey = Initial(&ServerKey, 0);

namespace net {
class XmlNode;
}
namespace ui {
class ListBox;
}

// The session window's two lists emptied and the table back to its one
// empty entry: the list request does it before it fills them again, and the
// board and map-list requests, which share the session window, do it too.
void EmptyGameList();

// The list reply's games, walked in document order into `rows` and
// `WebServers` (both as the list request left them: empty, and one empty
// entry). Row text: "SERVER " + name + " On version " + version, cut or
// filled with spaces to 100 characters, then the address.
void FillGameList(const net::XmlNode& root, ui::ListBox& rows);
