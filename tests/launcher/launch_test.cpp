// The launch from the launcher's LAN button: what the player sees when the
// connection, the listing or nothing fails, what is copied from each control,
// and a second launch after RETOUR.

#include "launcher/launcher_window.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "launcher/splash.h"
#include "multiplayer/session_list.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "platform/ui/mouse_pointer.h"
#include "support/fake_web_server.h"
#include "support/free_port.h"
#include "support/hive_values.h"
#include "support/message_boxes.h"
#include "support/scripted_web_site.h"
#include "support/ui_events.h"
#include "web/game_list.h"
#include "web/status_window.h"
#include "web/web_host.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kWeb = 10;
constexpr int kLan = 11;
constexpr int kPlayPage = 2;
constexpr int kSettingsStored = 24;
// Values no control gives, to see what a launch leaves alone.
constexpr int32_t kUntouched = -77;

std::string HiveBytes() {
    std::ifstream file(registry::HiveFilePath(registry::HKEY_LOCAL_MACHINE), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string StoredText(std::string_view key, std::string_view name) {
    const std::string bytes = hive_values::Stored(key, name).second;
    return bytes.empty() ? bytes : bytes.substr(0, bytes.size() - 1);
}

int StoredCount() {
    int count = 0;
    for (const char* name : {"Id", "Login", "Password", "Email", "Name"})
        count += hive_values::Stored(kProfileKey, name).second != "<missing>";
    for (const char* name : {"Skin", "Killer", "Killed", "Snipper", "Snipped", "Power", "Type", "Souris", "Bit", "Full",
                             "Res", "Draw", "D3D", "Tex", "Qua", "Mode", "Box", "Dplay1", "Dplay2"})
        count += hive_values::Stored(kGameKey, name).second != "<missing>";
    return count;
}

class Launch : public UiTest {
protected:
    Launch() {
        UseFreePlayPort();
        os::SetExecutableFolder(folder_.path().toStdString());
        registry::SetHiveFolder(folder_.filePath("hive").toStdString());
        SetUserNameQuery([](std::string&, uint32_t*) { return false; });
        window.Show();
        boxes.Take();
        // Choices that differ from the stored defaults.
        window.list_display.SetListIndex(1);
        window.Combo2.SetListIndex(2);
        window.cmbtyp.SetListIndex(1);
        window.Combo3.AddItem("2");
        window.Combo3.SetListIndex(0);
        window.btn_Click(kPlayPage);
    }
    ~Launch() override {
        SessionsWindow().Unload();
        window.Unload();
        SplashWindow().Unload();
        SetSessionListing({});
        SetUserNameQuery({});
        registry::SetHiveFolder({});
        os::SetExecutableFolder({});
    }

    // LAN, reaching the list without searching the network.
    void LaunchToAList() {
        SetSessionListing([] { return true; });
        window.btn_Click(kLan);
        ASSERT_TRUE(SessionsWindow().Visible());
    }
    // RETOUR.
    void BackToTheLauncher() { ui_events::Click(SessionsWindow().cmdCancel); }

    QTemporaryDir folder_;
    form2& window = LauncherWindow();
    MessageBoxes boxes;
};

TEST_F(Launch, TheLanButtonListsTheGamesAndOnlyThenCopiesStoresAndNames) {
    struct Case {
        const char* what;
        std::function<void(form2&)> arrange;
        bool listed;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"a listing made", [](form2&) {}, true, {}},
        {"a connection refused",
         [](form2& w) { w.lstConnections.SetListIndex(-1); },
         false,
         {"Failed to initialize connection."}},
        // As the session list's own listing fails: with the default pointer.
        {"a listing that fails",
         [](form2&) {
             SetSessionListing([] {
                 ui::SetMousePointer(ui::vbDefault);
                 return false;
             });
         },
         false,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetupDone = false;
        ResIndex = ScreenWidth = TextureQuality = kUntouched;
        FriendlyName = "";
        window.Show();
        window.lstConnections.SetListIndex(0);
        SetSessionListing({});
        c.arrange(window);
        const std::string hive = HiveBytes();
        const auto object = DPlay;

        window.btn_Click(kLan);

        EXPECT_EQ(boxes.Take(), c.boxes);
        EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
        EXPECT_EQ(window.Visible(), !c.listed);
        EXPECT_EQ(SessionsWindow().IsLoaded() && SessionsWindow().Visible(), c.listed);
        EXPECT_EQ(SetupDone, c.listed);
        if (c.listed) {
            EXPECT_EQ(StoredCount(), kSettingsStored);
            EXPECT_EQ(ResIndex, 1);
            EXPECT_EQ(ScreenWidth, 800);
            EXPECT_EQ(StoredText(kGameKey, "Res"), "1");
            EXPECT_EQ(StoredText(kGameKey, "Qua"), "2");
            EXPECT_EQ(StoredText(kGameKey, "Type"), "1");
            EXPECT_EQ(StoredText(kGameKey, "Skin"), "2");
            EXPECT_EQ(FriendlyName, "Player");
            EXPECT_EQ(FormalName, "12");
            SessionsWindow().Unload();
            continue;
        }
        EXPECT_EQ(HiveBytes(), hive);
        EXPECT_EQ(ResIndex, kUntouched);
        EXPECT_EQ(ScreenWidth, kUntouched);
        EXPECT_EQ(TextureQuality, kUntouched);
        EXPECT_EQ(FriendlyName, "");
        // A refused connection keeps the object; a failed listing makes a
        // fresh one for the next try.
        EXPECT_EQ(DPlay == object, c.boxes.size() == 1);
    }
}

// SERVEUR WEB: the account request, then the game list from the typed host;
// only a list that loaded opens the session list, with its server frame.
TEST_F(Launch, TheWebButtonAsksTheAccountAndTheGamesAndOpensTheListWithItsServers) {
    FakeWebServer server;
    ScriptedWebSite site(server);
    ASSERT_NE(server.Start(), 0);
    FixedWebHost = server.Host();
    site.SetAccount(7, {.name = "old", .killer = 30, .killed = 4});
    ProfileId = 7;
    IdSoft = 1;
    ReleaseVersion = "2.11.0";
    window.servertxt.SetText(server.Host());
    WebServerHost = server.Host();
    ASSERT_TRUE(StatusWindow().devenir_server(nullptr, "hi"));

    window.btn_Click(kWeb);
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_EQ(WebServerHost, server.Host());
    EXPECT_FALSE(window.Visible());
    ASSERT_TRUE(SessionsWindow().Visible());
    EXPECT_TRUE(SessionsWindow().Frame1.Enabled());
    EXPECT_EQ(SessionsWindow().lstserv.ListCount(), 1);
    EXPECT_EQ(WebServers.size(), 2u);
    EXPECT_TRUE(SetupDone);
    EXPECT_EQ(StoredCount(), kSettingsStored);
    EXPECT_EQ(StoredText(kGameKey, "Killer"), "30");
    EXPECT_EQ(FormalName, "12");
    const std::vector<std::string> sent = server.Requests();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1].rfind("/script/nouveaujoueur.php3?LENUM=7&", 0), 0u);
    EXPECT_EQ(sent[2], "/script/get_server2.php3?LESOFT=1&LENUM=7");

    // A list that does not load leaves the launcher, after the account.
    BackToTheLauncher();
    site.SetAccount(7, {.name = "old", .killer = 31});
    server.ServeStatus("/script/get_server2.php3", 404);
    window.btn_Click(kWeb);
    EXPECT_TRUE(window.Visible());
    EXPECT_FALSE(SessionsWindow().IsLoaded() && SessionsWindow().Visible());
    EXPECT_EQ(StoredText(kGameKey, "Killer"), "31");
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
}

// With no host typed nothing is sent, and the launcher stays as it was.
TEST_F(Launch, TheWebButtonWithoutAHostLeavesTheLauncherAndTheHiveAlone) {
    FixedWebHost = "";
    window.servertxt.SetText("");
    const std::string hive = HiveBytes();
    window.btn_Click(kWeb);
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_TRUE(window.Visible());
    EXPECT_TRUE(window.Enabled());
    EXPECT_FALSE(SessionsWindow().IsLoaded() && SessionsWindow().Visible());
    EXPECT_EQ(HiveBytes(), hive);
    EXPECT_FALSE(SetupDone);
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
}

// The list's RETOUR keeps the object connected: the next LAN press takes a
// fresh one instead of doing nothing for the rest of the run.
TEST_F(Launch, RetourShowsTheLauncherAgainAndLanListsOnceMore) {
    LaunchToAList();
    BackToTheLauncher();
    EXPECT_TRUE(window.IsLoaded());
    EXPECT_TRUE(window.Visible());
    EXPECT_FALSE(SessionsWindow().IsLoaded());
    const auto object = DPlay;

    SetSessionListing({});
    window.btn_Click(kLan);
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_FALSE(window.Visible());
    ASSERT_TRUE(SessionsWindow().Visible());
    EXPECT_EQ(SessionsWindow().Label1.Caption(), "Aucune partie en cours sur ce serveur !!");
    EXPECT_NE(DPlay, object);

    BackToTheLauncher();
    EXPECT_TRUE(window.Visible());
    SessionsWindow().Unload();
    EXPECT_TRUE(window.Visible());
}

TEST_F(Launch, EachVariableComesFromItsControl) {
    struct Case {
        const char* what;
        std::function<void(form2&)> arrange;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"a resolution row", [](form2& w) { w.list_display.SetListIndex(2); },
         [] {
             EXPECT_EQ(ScreenWidth, 1024);
             EXPECT_EQ(ScreenHeight, 768);
             EXPECT_EQ(ResIndex, 2);
         }},
        {"no resolution row", [](form2& w) { w.list_display.SetListIndex(-1); },
         [] {
             EXPECT_EQ(ScreenWidth, kUntouched);
             EXPECT_EQ(ResIndex, -1);
         }},
        {"full screen (3D card), box off",
         [](form2& w) {
             w.Option1(0).SetValue(true);
             w.Check1.SetValue(ui::vbUnchecked);
         },
         [] {
             EXPECT_EQ(ScreenMode, 1);
             EXPECT_FALSE(FullScreen);
         }},
        {"window, box on",
         [](form2& w) {
             w.Option1(1).SetValue(true);
             w.Check1.SetValue(ui::vbChecked);
         },
         [] {
             EXPECT_EQ(ScreenMode, 0);
             EXPECT_TRUE(FullScreen);
         }},
        {"the default qualities", [](form2& w) { w.Combo2.SetListIndex(3); },
         [] {
             EXPECT_EQ(TextureQuality, 1);
             EXPECT_EQ(RenderQuality, 137);
             EXPECT_EQ(TexIndex, 1);
             EXPECT_EQ(QualityIndex, 3);
         }},
        {"boxes for players, the drivers' identifiers", [](form2& w) { w.optrnd(1).SetValue(true); },
         [] {
             EXPECT_TRUE(ModeBox);
             EXPECT_EQ(D3DDeviceGuid, "IID_IDirect3DHALDevice");
             EXPECT_EQ(DDrawGuid, "");
             EXPECT_EQ(BitDepth, 32);
             EXPECT_EQ(NetMode, 0);
             EXPECT_EQ(ConnectionIndex, 0);
         }},
        {"GIGN with skin 2", [](form2&) {}, [] { EXPECT_EQ(FormalName, "12"); }},
        {"the terrorist side without skins",
         [](form2& w) {
             w.cmbtyp.SetListIndex(0);
             w.Combo3.Clear();
         },
         [] {
             EXPECT_EQ(FormalName, "0");
             EXPECT_EQ(SkinLocal, "");
         }},
        {"the web server chosen before, with its host",
         [](form2& w) {
             w.Option2(1).SetValue(true);
             WebServerHost = "games.example";
         },
         [] {
             EXPECT_EQ(WebServerHost, "");
             EXPECT_EQ(NetMode, 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResIndex = ScreenWidth = ScreenHeight = kUntouched;
        window.Show();
        c.arrange(window);
        LaunchToAList();
        c.check();
        BackToTheLauncher();
    }

    // Each quality row gives its item's value.
    for (int row = 0; row < window.Combo1.ListCount(); ++row) {
        window.Combo1.SetListIndex(row);
        window.Combo2.SetListIndex(row % window.Combo2.ListCount());
        LaunchToAList();
        EXPECT_EQ(TextureQuality, window.Combo1.ItemData(row));
        EXPECT_EQ(RenderQuality, window.Combo2.ItemData(row % window.Combo2.ListCount()));
        BackToTheLauncher();
    }
    EXPECT_TRUE(boxes.Seen().empty());
}

// The session layer, not the launcher, refuses names beyond its cap.
TEST_F(Launch, TheNameIsTheSidesWhenBlankAndElseStoredAsTyped) {
    struct Case {
        std::string typed;
        int side;
        std::string name;
    };
    const Case cases[] = {
        {"", 0, "TERRORIST"},
        {"   ", 1, "GIGN"},
        {"Kestrel & co = #1", 0, "Kestrel & co = #1"},
        {"Frédéric Ægir", 1, "Frédéric Ægir"},
        {std::string(5000, 'n'), 0, std::string(5000, 'n')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.substr(0, 20));
        window.Show();
        window.txtYourName.SetText(c.typed);
        window.cmbtyp.SetListIndex(c.side);
        LaunchToAList();
        EXPECT_EQ(ProfileName, c.name);
        EXPECT_EQ(FriendlyName, c.name);
        EXPECT_EQ(StoredText(kProfileKey, "Name"), c.name);
        BackToTheLauncher();
    }
}

}  // namespace
