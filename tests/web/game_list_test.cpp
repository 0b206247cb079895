// The Internet game list: the announce and its answers, the list and its
// rows, the removal and the end-of-game statistics, against the scripted
// site and against replies written for each case.

#include "web_fixture.h"

#include "core/game_state.h"
#include "core/text.h"
#include "launcher/settings.h"
#include "multiplayer/session_list.h"
#include "platform/ui/input_box.h"
#include "platform/ui/mouse_pointer.h"
#include "player/player.h"
#include "web/game_list.h"
#include "web/web_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr char kAnnounce[] = "/script/set_server.php3";
constexpr char kList[] = "/script/get_server2.php3";

std::string Games(const std::string& elements) {
    return "<?xml version=\"1.0\"?><SERVEURS>" + elements + "</SERVEURS>";
}

std::string Game(int key, const std::string& name, const std::string& version, const std::string& address,
                 const std::string& comment) {
    return "<CLE_SERVEUR>" + std::to_string(key) + "</CLE_SERVEUR><CLE_JOUEUR>" + std::to_string(key + 100) +
           "</CLE_JOUEUR><NOM>" + name + "</NOM><VERSION>" + version + "</VERSION><IP>" + address + "</IP><COMMENT>" +
           comment + "</COMMENT>";
}

// "SERVER name On version v", filled to 100 characters, then the address.
std::string Row(const std::string& name, const std::string& version, const std::string& address) {
    std::string row = "SERVER " + name + " On version " + version;
    row.resize(100, ' ');
    return row + address;
}

std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    ui::ListBox& list = SessionsWindow().lstserv;
    for (int i = 0; i < list.ListCount(); ++i) rows.push_back(list.List(i));
    return rows;
}

class GameListTest : public WebTest {
protected:
    void SetUp() override {
        WebTest::SetUp();
        WebServerHost = server_.Host();
        ProfileId = 42;
        ui::SetInputBoxHandler([this](const ui::InputBoxSeen& box) {
            inputBoxes_.push_back(box);
            return comment_;
        });
    }
    void TearDown() override {
        ui::SetInputBoxHandler({});
        SessionsWindow().Unload();
        WebTest::TearDown();
    }

    void ExpectIdle() {
        EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
        EXPECT_FALSE(status_.IsLoaded());
        EXPECT_TRUE(caller_.Enabled());
    }

    std::string comment_;
    std::vector<ui::InputBoxSeen> inputBoxes_;
};

TEST_F(GameListTest, ListRepliesGiveOneRowPerCompleteGameAndATableAheadOfTheRows) {
    const std::string longName(90, 'n');
    const std::string accented = "\xc3\xa9t\xc3\xa9 \xe2\x82\xac";  // "été €": 5 characters, 9 bytes
    const auto entry = [](int key, std::string name, std::string version, std::string ip, std::string comment) {
        return ServerEntry{key, key + 100, std::move(name), std::move(version), std::move(ip), std::move(comment)};
    };
    const struct {
        const char* what;
        std::string reply;
        std::vector<std::string> rows;
        std::vector<ServerEntry> table;
    } cases[] = {
        {"three games",
         Games(Game(1, "Ana", "2.11.0", "10.0.0.1", "hi") + Game(2, "Bo", "2.10.0", "10.0.0.2", "") +
               Game(3, "Cy", "2.11.0", "10.0.0.3", "come")),
         {Row("Ana", "2.11.0", "10.0.0.1"), Row("Bo", "2.10.0", "10.0.0.2"), Row("Cy", "2.11.0", "10.0.0.3")},
         {entry(1, "Ana", "2.11.0", "10.0.0.1", "hi"),
          entry(2, "Bo", "2.10.0", "10.0.0.2", ""),
          entry(3, "Cy", "2.11.0", "10.0.0.3", "come"),
          {}}},
        {"a game without its comment: the next one takes its place",
         Games("<CLE_SERVEUR>1</CLE_SERVEUR><NOM>Ana</NOM><VERSION>1</VERSION><IP>10.0.0.1</IP>" +
               Game(2, "Bo", "2.11.0", "10.0.0.2", "x")),
         {Row("Bo", "2.11.0", "10.0.0.2")},
         {entry(2, "Bo", "2.11.0", "10.0.0.2", "x"), {}}},
        {"games without their key",
         Games("<NOM>Ana</NOM><VERSION>2.11.0</VERSION><IP>a</IP><COMMENT>1</COMMENT>"
               "<IP>b</IP><VERSION>2.9</VERSION><NOM>Bo</NOM><COMMENT>2</COMMENT><COMMENT>3</COMMENT>"),
         {Row("Ana", "2.11.0", "a"), "SERVER Bo", "SERVER Bo"},
         {{0, 0, "Ana", "2.11.0", "a", "1"}, {0, 0, "Bo", "2.9", "b", "2"}, {0, 0, "", "", "", "3"}, {}}},
        {"a name and version past the address column",
         Games(Game(7, longName, "2.11.0-" + std::string(20, 'v'), "10.0.0.7", "")),
         {Left("SERVER " + longName + " On version 2.11.0-" + std::string(20, 'v'), 100) + "10.0.0.7"},
         {entry(7, longName, "2.11.0-" + std::string(20, 'v'), "10.0.0.7", ""), {}}},
        {"a name beyond ASCII",
         Games(Game(8, accented, "2.11.0", "10.0.0.8", accented)),
         {"SERVER " + accented + " On version 2.11.0" + std::string(100 - 30, ' ') + "10.0.0.8"},
         {entry(8, accented, "2.11.0", "10.0.0.8", accented), {}}},
        {"no games", Games(""), {}, {{}}},
        {"other elements and names skipped",
         Games("<X>1</X><cle_serveur>5</cle_serveur><!-- <COMMENT>c</COMMENT> -->" + Game(4, "Di", "2.11.0", "h", "") +
               "text"),
         {Row("Di", "2.11.0", "h")},
         {entry(4, "Di", "2.11.0", "h", ""), {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        server_.ServeFixed(kList, c.reply);
        EXPECT_TRUE(status_.server_en_cours(caller_));
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(WebServers, c.table);
        ExpectIdle();
    }
}

// A list that does not load, or a second list, starts from empty: nothing
// of the one before stays.
TEST_F(GameListTest, EachListRequestStartsFromEmpty) {
    server_.ServeFixed(kList, Games(Game(1, "Ana", "2.11.0", "a", "") + Game(2, "Bo", "2.11.0", "b", "")));
    ASSERT_TRUE(status_.server_en_cours(caller_));
    SessionsWindow().lstSessions.AddItem("a session");
    server_.ServeFixed(kList, Games(Game(3, "Cy", "2.11.0", "c", "")));
    EXPECT_TRUE(status_.server_en_cours(caller_));
    EXPECT_EQ(Rows(), std::vector<std::string>{Row("Cy", "2.11.0", "c")});
    EXPECT_EQ(WebServers.size(), 2u);
    EXPECT_EQ(SessionsWindow().lstSessions.ListCount(), 0);

    for (const auto& [status, body] : std::vector<std::pair<int, std::string>>{
             {404, Games(Game(1, "Ana", "2.11.0", "a", ""))}, {200, "<SERVEURS><CLE_SERVEUR>"}, {200, ""}}) {
        server_.ServeFixed(kList, body, status);
        EXPECT_FALSE(status_.server_en_cours(caller_));
        EXPECT_TRUE(Rows().empty());
        EXPECT_EQ(WebServers, std::vector<ServerEntry>(1));
        ExpectIdle();
    }
}

// Tens of thousands of games, some with elements repeated, missing or out
// of order: the rows follow the walk and the table stays ahead of them.
TEST_F(GameListTest, AHugeAndDisorderedListKeepsTheTableAheadOfTheRows) {
    std::string elements;
    for (int i = 0; i < 30000; ++i) {
        switch (i % 3) {
            case 0:
                elements += Game(i, "g" + std::to_string(i), "2.11.0", "h", "");
                break;
            case 1:
                elements += "<COMMENT>c</COMMENT><COMMENT>d</COMMENT>";
                break;
            default:
                elements += "<IP></IP><NOM>" + std::string(300, 'x') + "</NOM><CLE_SERVEUR>x</CLE_SERVEUR>";
        }
    }
    server_.ServeFixed(kList, Games(elements));
    ASSERT_TRUE(status_.server_en_cours(caller_));
    const int rows = SessionsWindow().lstserv.ListCount();
    EXPECT_EQ(rows, 30000);
    EXPECT_GE(WebServers.size(), size_t(rows) + 1);
    EXPECT_EQ(Mid(SessionsWindow().lstserv.List(0), 101), "h");
}

TEST_F(GameListTest, AnAnnounceGivesTheGameKeyOnAWholeNumberAndARefusalOnAnythingElse) {
    const struct {
        const char* reply;  // the root's text; nullptr: a reply that does not load
        bool announced;
        int32_t key;
    } cases[] = {
        {"4711", true, 4711}, {" 4711 ", true, 4711},    {"NO", false, 5},   {"no", false, 5}, {"", false, 5},
        {"12abc", false, 5},  {"99999999999", false, 5}, {"12.5", true, 12}, {"-3", true, -3}, {nullptr, false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply ? c.reply : "not loaded");
        ServerKey = 5;
        if (c.reply)
            server_.ServeFixed(kAnnounce, std::string("<SERVEUR>") + c.reply + "</SERVEUR>");
        else
            server_.ServeStatus(kAnnounce, 500);
        for (ui::Form* qui : {static_cast<ui::Form*>(&caller_), static_cast<ui::Form*>(nullptr)}) {
            EXPECT_EQ(status_.devenir_server(qui, "my game"), c.announced);
            EXPECT_EQ(ServerKey, c.key);
            ExpectIdle();
        }
    }
}

// Just before each request: what shows that it runs.
TEST_F(GameListTest, EachRequestShowsItsWaitAndUndoesItAfter) {
    const std::string waiting = "Please Wait Connexion to " + server_.Host() + " in progress...";
    const std::string sending = waiting + " to send Game Informations !! Thank You";
    const struct {
        const char* what;
        std::function<void()> call;
        std::string status;
        bool statusShown, callerEnabled;
    } procedures[] = {
        {"announce with the create window", [&] { status_.devenir_server(&caller_, ""); }, waiting, true, false},
        {"announce of a new host", [&] { status_.devenir_server(nullptr, ""); }, "", false, true},
        {"list", [&] { status_.server_en_cours(caller_); }, waiting, true, false},
        {"removal", [&] { status_.DeleteServer(); }, sending, true, true},
        {"statistics", [&] { status_.quitte_server(); }, sending, true, true},
    };
    for (const auto& p : procedures) {
        SCOPED_TRACE(p.what);
        seen_.clear();
        p.call();
        ASSERT_EQ(seen_.size(), 1u);
        EXPECT_EQ(seen_[0].status, p.status);
        EXPECT_EQ(seen_[0].statusShown, p.statusShown);
        EXPECT_EQ(seen_[0].callerEnabled, p.callerEnabled);
        EXPECT_EQ(seen_[0].pointer, ui::vbHourglass);
        EXPECT_FALSE(status_.IsLoaded());
        EXPECT_TRUE(caller_.Enabled());
    }
}

TEST_F(GameListTest, EachRequestSendsItsValuesToTheTypedHostNeverToTheFixedOne) {
    FixedWebHost = "fixed.invalid";
    ServerKey = -9;
    IndiceLocal = 2;
    Joueurs[2].tueur = 3;
    Joueurs[2].tue = 2;
    Joueurs[2].snipper = 1;
    Joueurs[2].snipped = 4;
    comment_ = "gg & bye=1";
    status_.devenir_server(&caller_, "my game & more");
    status_.server_en_cours(caller_);
    status_.DeleteServer();
    status_.quitte_server();
    EXPECT_EQ(ServerKey, 4711);
    EXPECT_EQ(Targets(), (std::vector<std::string>{
                             "/script/set_server.php3?LESOFT=1&LEJOUEUR=42&LAVERSION=2.11.0&LECOMMENT=my%20game%20"
                             "%26%20more",
                             "/script/get_server2.php3?LESOFT=1&LENUM=42",
                             "/script/delete_server.php3?CLE_SERVEUR=4711",
                             "/script/quitte_server.php3?CLE_SOFT=1&CLE_JOUEUR=42&KILLER=3&KILLED=2&SNIPPER=1"
                             "&SNIPPED=4&COMMENT=gg%20%26%20bye%3D1",
                         }));
    ASSERT_EQ(inputBoxes_.size(), 1u);
    EXPECT_EQ(inputBoxes_[0].prompt, "Send a message (bugs,remarks) to Dravonik Thank you !!");
    EXPECT_EQ(inputBoxes_[0].title, "Quellmar");
    EXPECT_EQ(inputBoxes_[0].defaultText, "");
}

// The site keeps what the announce, the removal and the statistics said.
TEST_F(GameListTest, TheSiteListsTheAnnouncedGameRemovesItAndAddsTheStatistics) {
    site_.SetAccount(42, {.name = "Ana", .killer = 10, .killed = 1});
    ASSERT_TRUE(status_.devenir_server(&caller_, "come & play"));
    ASSERT_TRUE(status_.server_en_cours(caller_));
    EXPECT_EQ(Rows(), std::vector<std::string>{Row("Ana", "2.11.0", "127.0.0.1")});
    EXPECT_EQ(WebServers[0], (ServerEntry{ServerKey, 42, "Ana", "2.11.0", "127.0.0.1", "come & play"}));

    status_.DeleteServer();
    EXPECT_TRUE(site_.Games().empty());
    EXPECT_NE(ServerKey, 0);

    // A game without a local player counts nothing; Cancel sends no comment.
    IndiceLocal = -1;
    status_.quitte_server();
    IndiceLocal = 0;
    Joueurs[0].tueur = 2;
    Joueurs[0].snipped = 1;
    comment_ = "nice <map>";
    status_.quitte_server();
    EXPECT_EQ(site_.Comments(), (std::vector<std::string>{"", "nice <map>"}));
    const SiteAccount account = *site_.Account(42);
    EXPECT_EQ(account.killer, 12);
    EXPECT_EQ(account.killed, 1);
    EXPECT_EQ(account.snipped, 1);

    site_.RefuseAnnounces(true);
    EXPECT_FALSE(status_.devenir_server(&caller_, ""));
    EXPECT_TRUE(site_.Games().empty());
}

TEST_F(GameListTest, WithoutATypedHostTheStatisticsAskAndSendNothing) {
    WebServerHost = "";
    status_.Show();
    status_.quitte_server();
    EXPECT_TRUE(inputBoxes_.empty());
    EXPECT_TRUE(Targets().empty());
    EXPECT_FALSE(status_.IsLoaded());
}

}  // namespace
