// The launcher window on the test display: its start, its menu with pages,
// frames and highlighted picture buttons, Esc and the close box, and the
// video and connection pages filled from the enumerations and the settings.

#include "launcher/launcher_window.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "launcher/splash.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"
#include "support/hive_values.h"
#include "support/message_boxes.h"
#include "support/program_ended.h"
#include "support/ui_events.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kNoPage = -1;

// What the user-name query answers, as the system's does: the name and its
// NUL when the buffer holds them.
UserNameQuery NameIs(const std::string& name) {
    return [name](std::string& buffer, uint32_t* size) {
        const auto needed = static_cast<uint32_t>(name.size() + 1);
        if (*size < needed) {
            *size = needed;
            return false;
        }
        buffer.replace(0, needed, name.c_str(), needed);
        *size = needed;
        return true;
    };
}

// Connections that fail after `rows` names, or none at all.
class FakeConnections : public ConnectionEnumeration {
public:
    FakeConnections(int32_t count, int32_t failAfter) : count_(count), failAfter_(failAfter) {}
    int32_t GetCount() override { return count_; }
    std::string GetName(int32_t index) override {
        if (index > failAfter_) throw Failure(5, "The connection went away");
        return "Connection " + std::to_string(index);
    }

private:
    int32_t count_;
    int32_t failAfter_;
};

class Launcher : public UiTest {
protected:
    Launcher() {
        os::SetExecutableFolder(folder_.path().toStdString());
        registry::SetHiveFolder(folder_.filePath("hive").toStdString());
        SetUserNameQuery(NameIs("alice"));
    }
    ~Launcher() override {
        window.Unload();
        SplashWindow().Unload();
        SetUserNameQuery({});
        SetConnectionSource({});
        registry::SetHiveFolder({});
        os::SetExecutableFolder({});
    }

    fs::path Game() const { return folder_.path().toStdString(); }

    // A fresh hive for the next start.
    void FreshHive() { registry::SetHiveFolder(folder_.filePath(QString::number(++hives_)).toStdString()); }

    void Start() {
        boxes.Take();
        window.Show();
    }
    void Restart() {
        window.Unload();
        Start();
    }

    // Where the user sees the control: shown, in shown containers.
    static bool OnScreen(ui::Control& control) { return control.hWnd()->isVisible(); }

    int VisiblePage() {
        int visible = kNoPage;
        for (int page = 0; page < window.picbtn.Count(); ++page)
            if (OnScreen(window.picbtn(page))) visible = visible == kNoPage ? page : -2;
        return visible;
    }

    std::vector<ui::Frame*> Frames() {
        return {&window.Frame1, &window.Frame2, &window.Frame3, &window.Frame5,  &window.Frame6,
                &window.Frame7, &window.Frame8, &window.Frame9, &window.Frame10, &window.Frame11};
    }

    std::vector<ui::Frame*> VisibleFrames() {
        std::vector<ui::Frame*> visible;
        for (ui::Frame* frame : Frames())
            if (OnScreen(*frame)) visible.push_back(frame);
        return visible;
    }

    // Brings the menu to a page the way the user would.
    void GoToPage(int page) {
        window.btn_Click(6);
        if (page == 5) {
            window.btn_Click(3);
            window.btn_Click(12);
        } else if (page > 0) {
            window.btn_Click(page);
        }
    }

    QImage Shown(ui::Image& button) { return button.Picture().Image(); }
    QImage Normal(int i) { return window.btnimg1(std::stoi(window.btn(i).Tag())).Picture().Image(); }
    QImage Highlighted(int i) { return window.btnimg2(std::stoi(window.btn(i).Tag())).Picture().Image(); }

    std::vector<int> HighlightedButtons() {
        std::vector<int> lit;
        for (int i = 0; i < window.lebouton.Count(); ++i)
            if (Shown(window.lebouton(i)) == Highlighted(i)) lit.push_back(i);
        return lit;
    }

    QTemporaryDir folder_;
    int hives_ = 0;
    form2& window = LauncherWindow();
    MessageBoxes boxes;
};

const char* const kReleaseNotes =
    "NOUVELLE MAP SNIPPER  \r\n"
    "DANS CETTE MAP TERRORISTE ET GIGN APPARAISSENT TOUJOURS DU MM COTE\r\n"
    "A VOUS DE BIEN CHOISIR VOTRE CAMPS POUR UN MINIMUM DE STRATEGIE\r\n"
    "LE CHGT DE CAMPS PDT LE JEU N'EST PAS ENCORE POSSIBLE\r\n"
    "NOUVELLE ARME XM1014 NIVEAU 4 (POMPE AUTOMATIQUE)\r\n"
    "REGLAGLE DE LA SENSIBILITE DE LA SOURIS PDT LE JEU (F11 et F12)\r\n"
    "VUE SNIPPER SUR CLICK DROIT EN VUE INTERIEUR\r\n"
    "AFFICHAGE DES JOUEURS PRESENT PDT LA PARTIE (F1)\r\n"
    "CORRECTION SOURIS INVERSEE\r\n"
    "PAGE UP & DOWN CHANGE LES ARMES\r\n"
    "JUSQU'A 8 JOUEURS\r\n"
    "\r\n"
    "Merci a tous et BON CLASH!!\r\n"
    "\r\n"
    "N'OUBLIEZ PAS DE PERSONNALISER VOTRE JOUEUR EN POSANT UNE PHOTO \r\n"
    "SUR VOTRE PROFIL DU SERVEUR WEB (LOGIN ET MOT DE PASSE DANS CREDITS\\PLAYER BOARD)";

TEST_F(Launcher, StartsOnTheFirstPageWithPictureButtonsAndNoFrame) {
    Start();

    EXPECT_EQ(boxes.Seen(), std::vector<std::string>{kReleaseNotes});
    EXPECT_FLOAT_EQ(window.Width(), 9390);
    EXPECT_FLOAT_EQ(window.Height(), 6045);
    EXPECT_EQ(window.Picture().Width(), 620);
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    EXPECT_FALSE(SplashWindow().IsLoaded());
    EXPECT_EQ(window.Image4.Picture().Width(), 256);
    EXPECT_EQ(window.Image5.Picture().Width(), 256);

    EXPECT_EQ(VisiblePage(), 0);
    EXPECT_TRUE(VisibleFrames().empty());
    EXPECT_FALSE(OnScreen(window.fond));
    ASSERT_EQ(window.lebouton.Count(), 26);
    int onFirstPage = 0;
    for (int i = 0; i < 26; ++i) {
        SCOPED_TRACE(i);
        ui::Image& button = window.lebouton(i);
        EXPECT_EQ(&button.GetContainer(), &window.btn(i).GetContainer());
        EXPECT_FLOAT_EQ(button.Left(), window.btn(i).Left());
        EXPECT_FLOAT_EQ(button.Top(), window.btn(i).Top());
        EXPECT_EQ(button.Tag(), window.btn(i).Tag());
        EXPECT_EQ(Shown(button), Normal(i));
        EXPECT_FALSE(window.btn(i).Visible());
        onFirstPage += OnScreen(button);
    }
    EXPECT_EQ(onFirstPage, 5);
    // The irregular places and one picture number, as designed.
    EXPECT_FLOAT_EQ(window.lebouton(9).Left(), 150);
    EXPECT_FLOAT_EQ(window.lebouton(24).Top(), 1920);
    EXPECT_FLOAT_EQ(window.lebouton(25).Top(), 1290);
    EXPECT_EQ(window.btn(3).Caption(), "ARSENAL && MAPS");
    EXPECT_EQ(window.btn(3).Tag(), "2");
}

TEST_F(Launcher, EachMenuButtonShowsItsPageAndFrame) {
    struct Case {
        int button;
        int from;
        int page;
        ui::Frame* frame;
    };
    Start();
    const Case cases[] = {
        {1, 0, 1, nullptr},          {2, 0, 2, nullptr},          {3, 0, 3, nullptr},
        {4, 0, 4, nullptr},          {5, 1, 1, &window.Frame5},   {6, 1, 0, nullptr},
        {7, 1, 1, &window.Frame3},   {8, 1, 1, &window.Frame1},   {9, 1, 1, &window.Frame2},
        {10, 2, 2, nullptr},         {12, 3, 5, nullptr},         {13, 2, 0, nullptr},
        {14, 3, 3, &window.Frame7},  {15, 4, 0, nullptr},         {16, 3, 0, nullptr},
        {17, 4, 4, &window.Frame11}, {18, 4, 4, &window.Frame6},  {19, 5, 5, &window.Frame8},
        {20, 5, 5, &window.Frame8},  {21, 5, 5, &window.Frame8},  {22, 5, 3, nullptr},
        {23, 5, 5, &window.Frame8},  {24, 4, 4, &window.Frame10}, {25, 4, 4, &window.Frame9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("button " + std::to_string(c.button));
        GoToPage(c.from);
        // Straight from one frame to another, as well as from none.
        if (c.frame && c.from == 1) window.btn_Click(c.button == 8 ? 9 : 8);
        ui_events::Click(window.lebouton(c.button));

        EXPECT_EQ(VisiblePage(), c.page);
        EXPECT_EQ(OnScreen(window.fond), c.frame != nullptr);
        if (!c.frame) {
            EXPECT_TRUE(VisibleFrames().empty());
            continue;
        }
        EXPECT_EQ(VisibleFrames(), std::vector<ui::Frame*>{c.frame});
        EXPECT_FLOAT_EQ(c.frame->Left(), 180);
        EXPECT_FLOAT_EQ(c.frame->Top(), 240);
        EXPECT_EQ(c.frame->Caption(), "");
        EXPECT_EQ(&window.lemessbox.GetContainer(), c.frame);
        EXPECT_FLOAT_EQ(window.lemessbox.Left(), 120);
        EXPECT_FLOAT_EQ(window.lemessbox.Top(), 30);
        EXPECT_NEAR(window.lemessbox.Width(), window.btn(c.button).Width() + 100, 15);
        EXPECT_EQ(window.lemessbox.Picture().Image(), Highlighted(c.button));
    }

    // The web button chooses the network mode (LAN launches: launch_test).
    GoToPage(2);
    window.btn_Click(10);
    EXPECT_TRUE(window.Option2(1).Value());
    window.btn_Click(26);
    EXPECT_EQ(VisiblePage(), 2);
    GoToPage(0);
    EXPECT_THROW(ui_events::Click(window.lebouton(0)), ProgramEnded);
}

TEST_F(Launcher, EscGoesBackAPageAndEndsTheProgramOnTheFirst) {
    Start();
    for (int page : {1, 2, 3, 4}) {
        GoToPage(page);
        if (page == 1) window.btn_Click(8);
        ui_events::TypeKey(window, Qt::Key_Escape);
        EXPECT_EQ(VisiblePage(), 0) << page;
        EXPECT_FALSE(OnScreen(window.fond)) << page;
    }
    GoToPage(5);
    window.btn_Click(19);
    ui_events::TypeKey(window, Qt::Key_Escape);
    EXPECT_EQ(VisiblePage(), 3);
    EXPECT_FALSE(OnScreen(window.fond));

    GoToPage(0);
    EXPECT_THROW(ui_events::TypeKey(window, Qt::Key_Escape), ProgramEnded);
}

TEST_F(Launcher, TheCloseBoxEndsTheProgramAndAnUnloadFromCodeDoesNot) {
    Start();
    EXPECT_THROW(ui_events::CloseBox(window), ProgramEnded);
    window.Unload();
    EXPECT_FALSE(window.IsLoaded());
}

TEST_F(Launcher, TheMouseHighlightsOneButtonAtATime) {
    Start();
    ui_events::MoveMouse(window, ui_events::MiddleOf(window.lebouton(1)));
    EXPECT_EQ(HighlightedButtons(), std::vector<int>{1});
    ui_events::MoveMouse(window, ui_events::MiddleOf(window.lebouton(2)));
    EXPECT_EQ(HighlightedButtons(), std::vector<int>{2});
    ui_events::MoveMouse(window, ui_events::MiddleOf(window.picbtn(0)) + QPoint(0, 60));
    EXPECT_TRUE(HighlightedButtons().empty());

    ui_events::MoveMouse(window, ui_events::MiddleOf(window.lebouton(1)));
    ui_events::Click(window.lebouton(1));
    ui_events::Click(window.lebouton(8));
    ui_events::MoveMouse(window, ui_events::MiddleOf(window.lebouton(8)));
    EXPECT_EQ(HighlightedButtons(), std::vector<int>{8});
    // The panel's edge, beside the open frame.
    ui_events::MoveMouse(window, window.fond.hWnd()->mapTo(window.hWnd(), QPoint(4, 4)));
    EXPECT_TRUE(HighlightedButtons().empty());
    ui_events::MoveMouse(window, ui_events::MiddleOf(window.lebouton(7)));
    ui_events::MoveMouse(window, QPoint(3, 3));
    EXPECT_TRUE(HighlightedButtons().empty());
}

TEST_F(Launcher, TheNameBoxShowsTheProfileNameElseTheUserNameElsePlayer) {
    struct Case {
        const char* profileName;
        UserNameQuery query;
        std::string shown;
    };
    const Case cases[] = {
        {"Kestrel", NameIs("alice"), "Kestrel"},
        {nullptr, NameIs("alice"), "alice"},
        {nullptr, NameIs(std::string(98, 'n')), std::string(98, 'n')},
        {nullptr, NameIs(std::string(99, 'n')), "Player"},
        {nullptr, [](std::string&, uint32_t*) { return false; }, "Player"},
    };
    for (const Case& c : cases) {
        FreshHive();
        if (c.profileName) hive_values::SetText(kProfileKey, "Name", c.profileName);
        SetUserNameQuery(c.query);
        Restart();
        EXPECT_EQ(window.txtYourName.Text(), c.shown) << c.shown;
    }
}

TEST_F(Launcher, AFailureBeforeTheManualEndsTheProgramWithItsMessage) {
    SetUserNameQuery([](std::string&, uint32_t*) -> bool { throw Failure(5, "No user"); });
    EXPECT_THROW(Start(), ProgramEnded);
    EXPECT_EQ(boxes.Seen(), std::vector<std::string>{"No user: 5"});
}

TEST_F(Launcher, TheManualIsReadmeAsItStands) {
    const std::string text = "Quellmar\r\nÉquipes: terroristes et GIGN — ça tire!\r\n";
    std::ofstream(Game() / "readme.txt", std::ios::binary) << text;
    Start();
    EXPECT_EQ(window.mess.Text(), text);

    // Bytes that are no text show decoded as far as they go.
    std::ofstream(Game() / "readme.txt", std::ios::binary)
        << std::string("a\0b\xff\xfe", 5) << std::string(1 << 20, 'x');
    Restart();
    EXPECT_GT(window.mess.Text().size(), size_t(1) << 20);

    fs::remove(Game() / "readme.txt");
    Restart();
    EXPECT_EQ(window.mess.Text(), "");
    fs::create_directory(Game() / "readme.txt");
    Restart();
    EXPECT_EQ(window.mess.Text(), "");
    EXPECT_EQ(boxes.Seen(), std::vector<std::string>{kReleaseNotes});
}

TEST_F(Launcher, TheConnectionPageListsTheConnectionsFromTheStoredPosition) {
    struct Case {
        const char* what;
        int32_t count;
        int32_t failAfter;
        const char* stored;
        std::vector<std::string> rows;
        int selected;
        bool message;
    };
    const Case cases[] = {
        {"position 0", 3, 3, "0", {"Connection 1", "Connection 2", "Connection 3"}, 0, false},
        {"position 2", 3, 3, "2", {"Connection 1", "Connection 2", "Connection 3"}, 2, false},
        {"a position beyond the list", 3, 3, "5", {"Connection 1", "Connection 2", "Connection 3"}, 0, false},
        {"a position before the list", 3, 3, "-1", {"Connection 1", "Connection 2", "Connection 3"}, 0, false},
        {"none", 0, 0, "0", {}, -1, true},
        {"failing part-way", 3, 1, "0", {"Connection 1"}, -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FreshHive();
        hive_values::SetText(kGameKey, "Dplay1", c.stored);
        SetConnectionSource([&] { return std::make_unique<FakeConnections>(c.count, c.failAfter); });
        Restart();
        std::vector<std::string> rows;
        for (int i = 0; i < window.lstConnections.ListCount(); ++i) rows.push_back(window.lstConnections.List(i));
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(window.lstConnections.ListIndex(), c.selected);
        EXPECT_EQ(boxes.Seen().size(), c.message ? 2u : 1u);
        EXPECT_EQ(boxes.Seen().front(), c.message ? "Failed to Enumerate Connections." : kReleaseNotes);
    }

    // The session object's own: the one connection.
    SetConnectionSource({});
    FreshHive();
    Restart();
    ASSERT_EQ(window.lstConnections.ListCount(), 1);
    EXPECT_EQ(window.lstConnections.ListIndex(), 0);
}

// The test display is 1280 x 1024 at 24 bits.
TEST_F(Launcher, TheVideoPageOffersTheDisplaysModesWithTheDesktopsChosen) {
    Start();
    ASSERT_EQ(window.list_DDraw.ListCount(), 1);
    EXPECT_EQ(window.list_DDraw.Text(), std::string("Primary Display Driver") + std::string(78, ' '));
    EXPECT_EQ(window.list_DDraw.ListIndex(), 0);
    std::vector<std::string> sizes;
    for (int i = 0; i < window.list_display.ListCount(); ++i) sizes.push_back(window.list_display.List(i));
    EXPECT_EQ(sizes, (std::vector<std::string>{"640 X 480      ", "800 X 600      ", "1024 X 768     ",
                                               "1280 X 720     ", "1280 X 1024    "}));
    EXPECT_EQ(window.list_display.Text(), "1280 X 1024    ");
    EXPECT_EQ(window.list_bit.ListCount(), 2);
    EXPECT_EQ(window.list_bit.Text(), "32");
    ASSERT_EQ(window.list_d3d7.ListCount(), 1);
    EXPECT_EQ(window.list_d3d7.Text(), std::string("Direct3D HAL") + std::string(88, ' ') + "IID_IDirect3DHALDevice");

    EXPECT_EQ(window.Combo1.Text(), "D3DRMTEXTURE_LINEAR");
    EXPECT_EQ(window.Combo1.ItemData(5), 5);
    EXPECT_EQ(window.Combo2.Text(), "D3DRMRENDER_GOURAUD");
    EXPECT_EQ(window.Combo2.ItemData(3), 137);
    EXPECT_EQ(window.Combo2.ItemData(0), 64);
    EXPECT_EQ(window.Check1.Caption(), "Full screen  ( clipper)");
    EXPECT_EQ(window.Check1.Value(), 0);
    EXPECT_TRUE(window.Option1(1).Value());
    EXPECT_TRUE(window.optrnd(0).Value());
    EXPECT_EQ(window.cmbtyp.ListIndex(), 0);

    // What a first start reads: the enumeration's choices, with both keys
    // made and nothing stored.
    EXPECT_EQ(BitDepth, 32);
    EXPECT_EQ(ResIndex, 4);
    EXPECT_EQ(DDrawIndex, 0);
    EXPECT_EQ(D3DIndex, 0);
    EXPECT_TRUE(hive_values::KeyExists(kGameKey));
    EXPECT_EQ(hive_values::Stored(kGameKey, "Res").second, "<missing>");
}

TEST_F(Launcher, StoredSettingsChooseTheirRowsAndOptions) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> stored;
        std::function<int()> shown;
        int expected;
    };
    form2& w = window;
    const auto display = [&w] { return w.list_display.ListIndex(); };
    const auto bits = [&w] { return std::stoi(w.list_bit.Text()); };
    const auto full = [&w] { return w.Check1.Value(); };
    const auto screenOption = [&w] { return w.Option1(0).Value() ? 0 : w.Option1(1).Value() ? 1 : -1; };
    const auto player = [&w] { return w.optrnd(0).Value() ? 0 : w.optrnd(1).Value() ? 1 : -1; };
    const auto texture = [&w] { return w.Combo1.ListIndex(); };
    const auto quality = [&w] { return w.Combo2.ListIndex(); };
    const auto side = [&w] { return w.cmbtyp.ListIndex(); };
    const auto network = [&w] { return w.Option2(0).Value() ? 0 : w.Option2(1).Value() ? 1 : -1; };
    const Case cases[] = {
        {{{"Res", "1"}, {"Draw", "0"}}, display, 1},
        {{{"Res", "99"}}, display, 4},
        {{{"Res", "-1"}}, display, 4},
        {{{"Bit", "16"}}, bits, 16},
        {{{"Bit", "24"}}, bits, 32},
        {{{"Full", "-1"}}, full, 1},
        {{{"Full", "1"}}, full, 1},
        {{{"Full", "0"}}, full, 0},
        {{{"Full", "abc"}}, full, 0},
        {{{"Mode", "1"}}, screenOption, 0},
        {{{"Mode", "0"}}, screenOption, 1},
        {{{"Box", "-1"}}, player, 1},
        {{{"Box", "0"}}, player, 0},
        {{{"Tex", "4"}}, texture, 4},
        {{{"Tex", "6"}}, texture, 1},
        {{{"Tex", "-1"}}, texture, 1},
        {{{"Qua", "0"}}, quality, 0},
        {{{"Qua", "5"}}, quality, 3},
        {{{"Qua", "-1"}}, quality, 3},
        {{{"Type", "0"}}, side, 0},
        {{{"Type", "1"}}, side, 1},
        {{{"Type", "7"}}, side, 0},
        {{{"Dplay2", "1"}}, network, 1},
        {{{"Dplay2", "0"}}, network, 0},
    };
    for (const Case& c : cases) {
        std::string what;
        FreshHive();
        for (const auto& [name, value] : c.stored) {
            hive_values::SetText(kGameKey, name, value);
            what += std::string(name) + "=" + value + " ";
        }
        Restart();
        EXPECT_EQ(c.shown(), c.expected) << what;
    }

    // A hive that does not parse gives the defaults.
    FreshHive();
    const std::string hive = registry::HiveFilePath(registry::HKEY_LOCAL_MACHINE);
    fs::create_directories(fs::path(hive).parent_path());
    std::ofstream(hive) << "\x01\x02 not a hive";
    Restart();
    EXPECT_EQ(display(), 4);
    EXPECT_EQ(texture(), 1);
    EXPECT_EQ(quality(), 3);
    EXPECT_EQ(network(), 0);
}

}  // namespace
