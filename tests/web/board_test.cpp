// The message boards: the board read as one text, and a posted message
// coming back from the site.

#include "web_fixture.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "multiplayer/session_list.h"
#include "web/game_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr char kScript[] = "/script/getmess.php3";

using BoardTest = WebTest;

TEST_F(BoardTest, TheBoardReadsAsTextInDocumentOrder) {
    const struct {
        const char* what;
        int status;
        std::string reply;
        std::string board;
    } cases[] = {
        {"two messages", 200,
         "<M><CLE>1</CLE><NOM>Ann</NOM><DATE>2026-01-02</DATE><MESSAGE>hello</MESSAGE>"
         "<CLE>2</CLE><NOM>Bob</NOM><DATE>2026-01-03</DATE><MESSAGE>&lt;b&gt;hi&lt;/b&gt; &amp; bye</MESSAGE></M>",
         "#1 send by Ann 2026-01-02\r\nhello\r\n\r\n#2 send by Bob 2026-01-03\r\n<b>hi</b> & bye\r\n\r\n"},
        {"another order", 200, "<M><MESSAGE>hello</MESSAGE><DATE>d</DATE><CLE>1</CLE><NOM>Ann</NOM></M>",
         "hello\r\n\r\n d\r\n#1 send by Ann"},
        {"other nodes skipped", 200,
         "<M><TITLE>x</TITLE><cle>9</cle>text<!-- c --><CLE>1</CLE><X><NOM>y</NOM></X><NOM>Ann</NOM></M>",
         "#1 send by Ann"},
        {"an empty board", 200, "<M/>", ""},
        {"error status", 500, "<M><CLE>1</CLE></M>", ""},
        {"not XML", 200, "<M><CLE>1</CLE>", ""},
    };
    for (const auto& [what, status, reply, board] : cases) {
        SCOPED_TRACE(what);
        server_.ServeFixed(kScript, reply, status);
        int32_t type = 0;
        EXPECT_EQ(status_.RecupMessage(caller_, type), board);
    }
}

TEST_F(BoardTest, ReadingTheBoardEmptiesTheSessionWindowsLists) {
    ServerEntry listed;
    listed.CLE_SERVEUR = 4;
    listed.NOM = "game";
    WebServers = {listed, ServerEntry{}};
    SessionsWindow().lstserv.AddItem("game");
    SessionsWindow().lstSessions.AddItem("a LAN game");
    int32_t type = 0;
    status_.RecupMessage(caller_, type);
    EXPECT_EQ(WebServers, std::vector<ServerEntry>{ServerEntry{}});
    EXPECT_EQ(SessionsWindow().lstserv.ListCount(), 0);
    EXPECT_EQ(SessionsWindow().lstSessions.ListCount(), 0);
    SessionsWindow().Unload();
}

TEST_F(BoardTest, APostedMessageComesBackFromItsBoard) {
    site_.SetAccount(7, {.name = "Ann"});
    ProfileId = 7;
    const std::string text = "hi&LEJOUEUR=1 + 100% <b>caf\xc3\xa9</b> #2";
    status_.EnvoiMessage(text, 0, caller_);
    ASSERT_EQ(site_.Board(0).size(), 1u);
    const BoardMessage posted = site_.Board(0)[0];
    EXPECT_EQ(posted.text, text);
    EXPECT_EQ(posted.sender, "Ann");
    EXPECT_TRUE(site_.Board(1).empty());

    int32_t type = 0;
    EXPECT_EQ(status_.RecupMessage(caller_, type), "#1 send by Ann " + posted.date + "\r\n" + text + "\r\n\r\n");
    type = 1;
    EXPECT_EQ(status_.RecupMessage(caller_, type), "");
}

}  // namespace
