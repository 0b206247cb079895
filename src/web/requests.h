#pragma once

// Every request the program sends to a web server, in one table, with the one
// URL builder and the two transports they share. What callers get:
//  - web_requests::<procedure>: the script's path and its query keys in
//    order, each written with its "?" or "&" and "=" exactly as the script
//    expects them (the spellings differ from script to script).
//  - RequestUrl: "http://" + host + path + each key followed directly by its
//    value. Numbers are plain decimal ("-" for negatives). A text goes as
//    typed, except that "%", "&", "=" and "+" in it are percent-encoded: the
//    server's standard decoding then gives back exactly the typed text, and a
//    typed "&LEJOUEUR=1" cannot set another key. The transfer layer encodes
//    what a request line cannot carry (spaces, "#", control characters,
//    bytes beyond ASCII). Keys, separators and empty values stay as written.
//  - LoadReply: sends the request and loads its XML reply into a document;
//    false when the reply did not load.
//  - DownloadFile: the bytes of a file of the web server; throws Failure.
// With an empty host nothing is sent: LoadReply gives false, DownloadFile
// fails with net::TransferFailed and says that no web host is set, naming
// the file.
//
// A URL holds what the player typed, the account's password included: it
// is never shown in a message nor written to a log.

#include "platform/net/xml_document.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct WebRequest {
    std::string_view path;
    // Each followed by one value. A download's one key is empty: the file's
    // name follows the path.
    std::span<const std::string_view> keys;
};

using QueryValue = std::variant<int32_t, std::string>;

namespace web_requests {

inline constexpr std::string_view kDeleteServerKeys[] = {"?CLE_SERVEUR="};
inline constexpr std::string_view kDevenirServerKeys[] = {"?LESOFT=", "&LEJOUEUR=", "&LAVERSION=", "&LECOMMENT="};
inline constexpr std::string_view kQuitteServerKeys[] = {
    "?CLE_SOFT=", "&CLE_JOUEUR=", "&KILLER=", "&KILLED=", "&SNIPPER=", "&SNIPPED=", "&COMMENT="};
inline constexpr std::string_view kInfoJoueurKeys[] = {
    "?LENUM=", "&LENOM=", "&LELOG=", "&LEPWD=", "&LEMAIL=", "&LESOFT=", "&LEVERSION="};
inline constexpr std::string_view kEnvoiMessageKeys[] = {"?LESOFT=", "&LEJOUEUR=", "&LETYP=", "&LEMESS="};
inline constexpr std::string_view kServerEnCoursKeys[] = {"?LESOFT=", "&LENUM="};
inline constexpr std::string_view kRecupMessageKeys[] = {"?LESOFT=", "&LETYP="};
inline constexpr std::string_view kFileNameKey[] = {""};

// Values: ServerKey.
inline constexpr WebRequest DeleteServer{"/script/delete_server.php3", kDeleteServerKeys};
// IdSoft, ProfileId, ReleaseVersion, the comment.
inline constexpr WebRequest DevenirServer{"/script/set_server.php3", kDevenirServerKeys};
// IdSoft, ProfileId, the game's kills, deaths, head-shot kills, head-shot
// deaths, the comment.
inline constexpr WebRequest QuitteServer{"/script/quitte_server.php3", kQuitteServerKeys};
// ProfileId, ProfileName, ProfileLogin, ProfilePassword, ProfileEmail,
// IdSoft, ReleaseVersion.
inline constexpr WebRequest InfoJoueur{"/script/nouveaujoueur.php3", kInfoJoueurKeys};
// IdSoft, ProfileId, the board type, the message.
inline constexpr WebRequest EnvoiMessage{"/script/nouveaumess.php3", kEnvoiMessageKeys};
// IdSoft, ProfileId.
inline constexpr WebRequest ServerEnCours{"/script/get_server2.php3", kServerEnCoursKeys};
// No values.
inline constexpr WebRequest GetMap{"/script/get_map.php3", {}};
// IdSoft, the board type.
inline constexpr WebRequest RecupMessage{"/script/getmess.php3", kRecupMessageKeys};
// The package's file name: the map's name in lower case and ".exe".
inline constexpr WebRequest GetAnyFile{"/quellmar/map/", kFileNameKey};
// No values.
inline constexpr WebRequest GetVersion{"/quellmar/release.exe", {}};

}  // namespace web_requests

// Fails with failure_number::InvalidArgument when the number of values is
// not the number of keys.
std::string RequestUrl(std::string_view host, const WebRequest& request, std::initializer_list<QueryValue> values);

bool LoadReply(net::DOMDocument& document, std::string_view host, const WebRequest& request,
               std::initializer_list<QueryValue> values);

std::vector<uint8_t> DownloadFile(std::string_view host, const WebRequest& request,
                                  std::initializer_list<QueryValue> values);

// For tests: called on the calling thread just before each request is sent,
// with the script's path (never the query, which may hold a password).
// An empty hook removes it.
using RequestHook = std::function<void(std::string_view path)>;
void SetRequestHook(RequestHook hook);
