// The account request: what its reply changes, what it stores and when it
// announces a new release.

#include "web_fixture.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "platform/registry/registry.h"
#include "platform/ui/beep.h"
#include "support/hive_values.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char kScript[] = "/script/nouveaujoueur.php3";

std::string Reply(const std::string& elements) { return "<?xml version=\"1.0\"?><JOUEUR>" + elements + "</JOUEUR>"; }

std::string Totals(const char* killer, const char* killed, const char* snipper, const char* snipped) {
    return std::string("<KILLER>") + killer + "</KILLER><KILLED>" + killed + "</KILLED><SNIPPER>" + snipper +
           "</SNIPPER><SNIPPED>" + snipped + "</SNIPPED>";
}

// Ten entities, each ten of the one before: a billion "a" once expanded.
std::string EntityBomb() {
    std::string doctype = "<!DOCTYPE JOUEUR [<!ENTITY e0 \"aaaaaaaaaa\">";
    for (int i = 1; i < 10; ++i) {
        doctype += "<!ENTITY e" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j) doctype += "&e" + std::to_string(i - 1) + ";";
        doctype += "\">";
    }
    return "<?xml version=\"1.0\"?>" + doctype + "]><JOUEUR><CLE>12</CLE><VER>&e9;</VER></JOUEUR>";
}

class AccountTest : public WebTest {
protected:
    void SetUp() override {
        WebTest::SetUp();
        Before();
    }

    // The account as it stood before each case.
    static void Before() {
        ProfileId = 7;
        StatKiller = 1;
        StatKilled = 2;
        StatSnipper = 3;
        StatSnipped = 4;
        WeaponPower = 1;
        NewVersionUrl = "http://old/";
    }
};

TEST_F(AccountTest, TheReplyReplacesWhatItCarriesAndAnnouncesAnOtherRelease) {
    const std::string box = "New version 2.12.0 at the url:\r\nhttp://x/r?a=1&b=<2>";
    const struct {
        const char* what;
        std::string serverVersionBefore;
        std::string reply;
        int32_t id, killer, killed, snipper, snipped, power;
        std::string serverVersion;
        std::string url;
        std::string box;  // "" for none
    } cases[] = {
        {"complete", "",
         Reply("<CLE>12</CLE><VER>2.12.0</VER><URL>http://x/r?a=1&amp;b=&lt;2&gt;</URL>" + Totals("20", "5", "3", "1")),
         12, 20, 5, 3, 1, 4, "2.12.0", "http://x/r?a=1&b=<2>", box},
        {"no release, another one known", "2.12.0", Reply("<CLE>12</CLE><URL>http://x/r?a=1&amp;b=&lt;2&gt;</URL>"), 12,
         1, 2, 3, 4, 1, "2.12.0", "http://x/r?a=1&b=<2>", box},
        {"no release, the board's placeholder", "?.?.?", Reply("<CLE>12</CLE>"), 12, 1, 2, 3, 4, 1, "?.?.?",
         "http://old/", ""},
        {"no release, none known", "", Reply("<CLE>12</CLE>"), 12, 1, 2, 3, 4, 1, "", "http://old/", ""},
        {"this release", "", Reply("<VER>2.11.0</VER>" + Totals("9", "0", "0", "0")), 7, 9, 0, 0, 0, 2, "2.11.0",
         "http://old/", ""},
        {"elements twice: the last counts", "",
         Reply("<CLE>5</CLE><KILLER>8</KILLER><CLE>6</CLE><VER>2.11.0</VER><KILLER>10</KILLER>"), 6, 10, 2, 3, 4, 1,
         "2.11.0", "http://old/", ""},
        {"numbers that are not numbers", "2.11.0", Reply("<CLE>abc</CLE>" + Totals("12abc", "", " 8 ", "99999999999")),
         0, 0, 0, 8, 0, 4, "2.11.0", "http://old/", ""},
        {"other nodes and names skipped", "2.11.0",
         Reply("<cle>1</cle><Killer>1</Killer><!-- <CLE>2</CLE> --><X><CLE>3</CLE></X>text"), 7, 1, 2, 3, 4, 1,
         "2.11.0", "http://old/", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Before();
        ServerVersion = c.serverVersionBefore;
        server_.ServeFixed(kScript, c.reply);
        boxes_.clear();
        const int beeps = ui::BeepCount();

        EXPECT_TRUE(status_.InfoJoueur(&caller_));
        EXPECT_EQ(ProfileId, c.id);
        EXPECT_EQ(StatKiller, c.killer);
        EXPECT_EQ(StatKilled, c.killed);
        EXPECT_EQ(StatSnipper, c.snipper);
        EXPECT_EQ(StatSnipped, c.snipped);
        EXPECT_EQ(ServerVersion, c.serverVersion);
        EXPECT_EQ(WeaponPower, c.power);
        EXPECT_EQ(NewVersionUrl, c.url);
        if (c.box.empty()) {
            EXPECT_TRUE(boxes_.empty());
            EXPECT_EQ(ui::BeepCount(), beeps);
        } else {
            ASSERT_EQ(boxes_.size(), 1u);
            EXPECT_EQ(boxes_[0].prompt, c.box);
            EXPECT_EQ(boxes_[0].style, ui::vbOKOnly);
            EXPECT_EQ(boxes_[0].title, "Quellmar");
            EXPECT_EQ(ui::BeepCount(), beeps + 1);
        }
        EXPECT_EQ(hive_values::Stored(kProfileKey, "Id").second, std::to_string(c.id) + '\0');
    }
}

// The account's number and totals from the site, and the rank they give,
// end up in the registry.
TEST_F(AccountTest, TheHiveHoldsTheSitesNumberTotalsAndTheRecomputedRank) {
    site_.SetAccount(41, {.name = "old", .killer = 30, .killed = 4, .snipper = 2, .snipped = 1});
    ProfileId = 41;
    ProfileName = "Ann";
    EXPECT_TRUE(status_.InfoJoueur(&caller_));
    EXPECT_EQ(WeaponPower, 4);
    EXPECT_EQ(site_.Account(41)->name, "Ann");
    const std::pair<const char*, std::string> stored[] = {
        {"Killer", "30"}, {"Killed", "4"}, {"Snipper", "2"}, {"Snipped", "1"}, {"Power", "4"}};
    for (const auto& [name, value] : stored)
        EXPECT_EQ(hive_values::Stored(kGameKey, name), std::make_pair(registry::REG_SZ, value + '\0')) << name;
    EXPECT_EQ(hive_values::Stored(kProfileKey, "Id").second, std::string("41") + '\0');

    // Account 0 and an unknown number are new accounts of the site.
    for (const int32_t asked : {0, 999}) {
        ProfileId = asked;
        EXPECT_TRUE(status_.InfoJoueur(&caller_));
        EXPECT_EQ(ProfileId, asked == 0 ? 42 : 43);
        EXPECT_EQ(StatKiller, 0);
        EXPECT_EQ(WeaponPower, 1);
    }
}

TEST_F(AccountTest, AReplyThatDoesNotLoadChangesAndStoresNothing) {
    const struct {
        const char* what;
        int status;
        std::string body;
    } cases[] = {
        {"error status", 404, Reply("<CLE>12</CLE>")}, {"an HTML page", 200, "<html><body>Welcome<br></body></html>"},
        {"not XML", 200, "CLE=12&KILLER=3"},           {"empty", 200, ""},
        {"unclosed", 200, "<JOUEUR><CLE>12</CLE>"},    {"an entity bomb", 200, EntityBomb()},
    };
    for (const auto& [what, status, body] : cases) {
        SCOPED_TRACE(what);
        FreshHive();
        server_.ServeFixed(kScript, body, status);
        EXPECT_FALSE(status_.InfoJoueur(&caller_));
        EXPECT_EQ(ProfileId, 7);
        EXPECT_EQ(StatKiller, 1);
        EXPECT_EQ(WeaponPower, 1);
        EXPECT_EQ(NewVersionUrl, "http://old/");
        EXPECT_TRUE(HiveUntouched());
    }
    FreshHive();
    server_.ServeCutShort(kScript, 4096);
    EXPECT_FALSE(status_.InfoJoueur(&caller_));
    EXPECT_TRUE(HiveUntouched());
    EXPECT_TRUE(boxes_.empty());
}

}  // namespace
