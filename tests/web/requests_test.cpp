// The request table, its URL builder and the transports.

#include "web/requests.h"

#include "platform/failure.h"
#include "platform/net/http_get.h"
#include "support/failure_number.h"
#include "support/fake_web_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// The scripts spell their keys differently; each row as the server must see
// it, with the values in the table's order.
TEST(RequestUrl, WritesEveryScriptsKeysInOrderWithTheirValues) {
    const struct {
        std::string url;
        std::string expected;
    } cases[] = {
        {RequestUrl("h:81", web_requests::DeleteServer, {-7}), "http://h:81/script/delete_server.php3?CLE_SERVEUR=-7"},
        {RequestUrl("h", web_requests::DevenirServer, {1, 42, "2.11.0"s, "my game"s}),
         "http://h/script/set_server.php3?LESOFT=1&LEJOUEUR=42&LAVERSION=2.11.0&LECOMMENT=my game"},
        {RequestUrl("h", web_requests::QuitteServer, {1, 42, 3, 2, 1, 0, ""s}),
         "http://h/script/quitte_server.php3?CLE_SOFT=1&CLE_JOUEUR=42&KILLER=3&KILLED=2&SNIPPER=1&SNIPPED=0&COMMENT="},
        {RequestUrl("h", web_requests::InfoJoueur, {-2147483647 - 1, "Jo"s, "jo"s, ""s, ""s, 1, "2.11.0"s}),
         "http://h/script/nouveaujoueur.php3?LENUM=-2147483648&LENOM=Jo&LELOG=jo&LEPWD=&LEMAIL=&LESOFT=1"
         "&LEVERSION=2.11.0"},
        {RequestUrl("h", web_requests::EnvoiMessage, {1, 42, 0, "a&b=c+d%e #\xc3\xa9"s}),
         "http://h/script/nouveaumess.php3?LESOFT=1&LEJOUEUR=42&LETYP=0&LEMESS=a%26b%3Dc%2Bd%25e #\xc3\xa9"},
        {RequestUrl("h", web_requests::ServerEnCours, {1, 42}), "http://h/script/get_server2.php3?LESOFT=1&LENUM=42"},
        {RequestUrl("h", web_requests::GetMap, {}), "http://h/script/get_map.php3"},
        {RequestUrl("h", web_requests::RecupMessage, {1, 2}), "http://h/script/getmess.php3?LESOFT=1&LETYP=2"},
        {RequestUrl("h", web_requests::GetAnyFile, {"dust.exe"s}), "http://h/quellmar/map/dust.exe"},
        {RequestUrl("h", web_requests::GetVersion, {}), "http://h/quellmar/release.exe"},
    };
    for (const auto& [url, expected] : cases) EXPECT_EQ(url, expected);

    EXPECT_EQ(FailureNumberOf([] { RequestUrl("h", web_requests::RecupMessage, {1}); }),
              failure_number::InvalidArgument);
}

class Transport : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server_.Start(), 0);
        SetRequestHook([this](std::string_view path) { paths_.emplace_back(path); });
    }
    void TearDown() override { SetRequestHook({}); }

    FakeWebServer server_;
    std::vector<std::string> paths_;
};

TEST_F(Transport, LoadsTheReplyAndFetchesFilesTellingTheHookOnlyThePath) {
    server_.ServeFixed("/script/getmess.php3", "<M><CLE>3</CLE></M>");
    server_.ServeFixed("/quellmar/map/dust.exe", "MZ\x01", 200);
    net::DOMDocument document;
    EXPECT_TRUE(LoadReply(document, server_.Host(), web_requests::RecupMessage, {1, 0}));
    EXPECT_EQ(document.DocumentElement().Text(), "3");
    const std::vector<uint8_t> file = DownloadFile(server_.Host(), web_requests::GetAnyFile, {"dust.exe"s});
    EXPECT_EQ(std::string(file.begin(), file.end()), "MZ\x01");
    EXPECT_EQ(paths_, (std::vector<std::string>{"/script/getmess.php3", "/quellmar/map/"}));
    EXPECT_EQ(server_.Requests(),
              (std::vector<std::string>{"/script/getmess.php3?LESOFT=1&LETYP=0", "/quellmar/map/dust.exe"}));
}

TEST_F(Transport, AnEmptyHostSendsNothing) {
    net::DOMDocument document;
    EXPECT_FALSE(LoadReply(document, "", web_requests::InfoJoueur, {1, "n"s, "l"s, "secret"s, "e"s, 1, "v"s}));
    EXPECT_TRUE(document.DocumentElement().IsNull());
    try {
        DownloadFile("", web_requests::GetVersion, {});
        ADD_FAILURE() << "downloaded from no host";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), net::TransferFailed);
        EXPECT_NE(failure.Description().find("No web host is set"), std::string::npos) << failure.Description();
    }
    EXPECT_TRUE(paths_.empty());
    EXPECT_TRUE(server_.Requests().empty());
}

}  // namespace
