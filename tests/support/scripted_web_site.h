#pragma once

// The game's web site for tests, as scripts on a FakeWebServer (loopback
// only; never installed). It keeps player accounts with their career totals,
// the latest release and its address, and the message boards, and answers
// the scripts the program calls with the elements the program reads:
//  - the account script: account 0 or a number it does not know gets a new
//    number; the name, login, password and e-mail are stored; the reply
//    carries "CLE", the four totals and, once a release is set, "VER" and
//    "URL";
//  - the post script: the message is stored on its board with a new key,
//    the sender's account name and the date; the reply says "OK";
//  - the read script: the board's messages in the order they came, each as
//    "CLE", "NOM", "DATE" and "MESSAGE";
//  - the game list's scripts: an announce gets a new game key (or "NO"
//    while refusing) and lists the game with the announcing account's number
//    and name, the release it sent, the address the request came from and
//    its comment; the list script sends every game as its six elements in
//    order; the remove script takes a game off; the statistics script adds
//    a game's counters to the account's totals and keeps the comment;
//  - the map list script: one "MAP" per offered map, in the order offered;
//  - the packages: each offered map's at "/quellmar/map/" + its name in
//    lower case + ".exe", the release at "/quellmar/release.exe", each as
//    given or, while packages are broken, as an HTML page.
// Texts in replies are escaped, so they come back exactly as stored.

#include "support/fake_web_server.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct SiteAccount {
    std::string name{};
    std::string login{};
    std::string password{};
    std::string email{};
    int32_t killer = 0;
    int32_t killed = 0;
    int32_t snipper = 0;
    int32_t snipped = 0;

    bool operator==(const SiteAccount&) const = default;
};

struct SiteGame {
    int32_t key = 0;
    int32_t player = 0;
    std::string name{};
    std::string version{};
    std::string address{};
    std::string comment{};

    bool operator==(const SiteGame&) const = default;
};

struct BoardMessage {
    int32_t key = 0;
    std::string sender{};
    std::string date{};
    std::string text{};
};

class ScriptedWebSite {
public:
    // Adds the scripts' routes to `server`, which must outlive the site's use.
    explicit ScriptedWebSite(FakeWebServer& server);

    void SetAccount(int32_t number, SiteAccount account);
    std::optional<SiteAccount> Account(int32_t number) const;
    void SetRelease(std::string version, std::string url);
    // The messages of board `type`, in the order they were posted.
    std::vector<BoardMessage> Board(int32_t type) const;

    // While set, every announce is answered "NO".
    void RefuseAnnounces(bool refuse);
    // The listed games, by key.
    std::vector<SiteGame> Games() const;
    // The comments sent with the statistics, in the order they came.
    std::vector<std::string> Comments() const;

    // Lists `name` (any text) in the map list; with a package, serves it.
    void OfferMap(const std::string& name, std::optional<std::string> package = std::nullopt);
    void SetReleasePackage(std::string package);
    // While set, every package is answered with an HTML page instead.
    void BreakPackages(bool broken);

private:
    FakeReply AccountScript(const FakeRequest& request);
    FakeReply PostScript(const FakeRequest& request);
    FakeReply ReadScript(const FakeRequest& request);
    FakeReply AnnounceScript(const FakeRequest& request);
    FakeReply ListScript(const FakeRequest& request);
    FakeReply RemoveScript(const FakeRequest& request);
    FakeReply StatisticsScript(const FakeRequest& request);
    FakeReply MapListScript(const FakeRequest& request);
    void ServePackage(const std::string& path, std::string package);

    FakeWebServer& server_;

    mutable std::mutex mutex_;
    std::map<int32_t, SiteAccount> accounts_;
    std::optional<std::pair<std::string, std::string>> release_;
    std::map<int32_t, std::vector<BoardMessage>> boards_;
    int32_t lastMessageKey_ = 0;
    bool refuseAnnounces_ = false;
    std::map<int32_t, SiteGame> games_;
    int32_t lastGameKey_ = 4710;
    std::vector<std::string> comments_;
    std::vector<std::string> maps_;
    bool brokenPackages_ = false;
};

// A map package made from the sample map's files, named `name` in lower case,
// behind an executable stub. A `mapText` given replaces the sample's ".map"
// file (its sky, light and start points).
std::string SampleMapPackage(const std::string& name, const std::string& mapText = {});
