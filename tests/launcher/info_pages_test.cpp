// The launcher's arsenal and controls pages on the test display: the weapons
// of each level against the player's rank, and the fixed keys with the
// inverted-mouse box and its stored value.

#include "launcher/launcher_window.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "launcher/splash.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "support/hive_values.h"
#include "support/message_boxes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The arsenal buttons by level.
constexpr int kLevelButton[] = {19, 20, 21, 23};

class InfoPages : public testing::Test {
protected:
    InfoPages() {
        fs::create_directories(Game());
        fs::copy(fs::path(QUELLMAR_GAME_DIR) / "weapons", Game() / "weapons");
        os::SetExecutableFolder(Game().string());
        registry::SetHiveFolder(folder_.filePath("hive").toStdString());
    }
    ~InfoPages() override {
        window.Unload();
        SplashWindow().Unload();
        registry::SetHiveFolder({});
        os::SetExecutableFolder({});
    }

    fs::path Game() const { return fs::path(folder_.path().toStdString()) / "game"; }

    void Start() {
        boxes.Take();
        window.Show();
    }

    // The arsenal of `level` as its menu button shows it.
    void ShowLevel(int level) {
        window.btn_Click(3);
        window.btn_Click(12);
        window.btn_Click(kLevelButton[level - 1]);
    }

    QImage Picture(const std::string& weapon) {
        return ui::LoadPicture((Game() / "weapons" / ("640_" + weapon + ".bmp")).string()).Image();
    }

    QTemporaryDir folder_;
    form2& window = LauncherWindow();
    MessageBoxes boxes;
};

TEST_F(InfoPages, EachLevelShowsItsWeaponsGreyedAboveTheRank) {
    struct Case {
        int level;  // through a button whose caption names it
        std::vector<std::string> captions;
        int weaponLevel;
    };
    const Case cases[] = {
        {1, {"MAC10", "UMP45", "AUG", "P90"}, 1}, {2, {"MP5", "AK47"}, 2}, {3, {"M4A1", "SG550", "SG552"}, 3},
        {4, {"M249", "M3", "AWP", "XM1014"}, 4},  {0, {"MAC10"}, 1},       {5, {"MAC10"}, 1},
    };
    Start();
    for (int rank = 1; rank <= 4; ++rank) {
        WeaponPower = rank;
        for (const Case& c : cases) {
            SCOPED_TRACE("level " + std::to_string(c.level) + ", rank " + std::to_string(rank));
            window.btn(19).SetCaption("NIVEAU " + std::to_string(c.level));
            ShowLevel(1);
            EXPECT_TRUE(window.Frame8.Visible());
            EXPECT_EQ(window.Frame8.Caption(), "");  // the title picture stands in its place
            for (int k = 0; k < 4; ++k) {
                const bool used = k < int(c.captions.size());
                EXPECT_EQ(window.Framew(k).Visible(), used) << k;
                if (!used) continue;
                EXPECT_EQ(window.Framew(k).Caption(), c.captions[size_t(k)]);
                EXPECT_EQ(window.Framew(k).Enabled(), rank >= c.weaponLevel) << k;
            }
        }
    }
    window.btn(19).SetCaption("NIVEAU 1");
}

TEST_F(InfoPages, AWeaponShowsItsStatisticsAndPicture) {
    Start();
    ShowLevel(4);
    EXPECT_EQ(window.lblrang(2).Caption(), "POWER: 100");
    EXPECT_EQ(window.lblammo(2).Caption(), "AMMO: 1");
    EXPECT_EQ(window.lblsnipper(2).Caption(), "SNIPPER: YES");
    EXPECT_EQ(window.lblsnipper(1).Caption(), "SNIPPER: NO");
    EXPECT_EQ(window.img(2).Picture().Image(), Picture("awp"));
}

TEST_F(InfoPages, AMissingPictureLeavesThePreviousOne) {
    Start();
    ShowLevel(1);
    fs::remove(Game() / "weapons" / "640_mp5.bmp");
    ShowLevel(2);
    EXPECT_EQ(window.img(0).Picture().Image(), Picture("mac10"));
    EXPECT_EQ(window.img(1).Picture().Image(), Picture("ak47"));
    EXPECT_EQ(window.Framew(0).Caption(), "MP5");
}

TEST_F(InfoPages, TheControlsPageShowsTheFixedKeysOnceAfterEveryLoad) {
    const std::vector<std::string> keys = {"FLECHE HAUT",      "FLECHE BAS",        "FLECHE GAUCHE", "FLECHE DROITE",
                                           "SOURIS GAUCHE",    "SOURIS DROITE",     "TOUCHE SUPPR",  "TOUCHE FIN",
                                           "TOUCHE PAGE DOWN", "TOUCHE CTRL DROITE"};
    Start();
    window.Unload();
    Start();
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(window.cmbdep(i).ListCount(), 1);
        EXPECT_EQ(window.cmbdep(i).Text(), keys[size_t(i)]);
        EXPECT_EQ(window.cmbdep(i).ListIndex(), 0);
        EXPECT_FALSE(window.cmbdep(i).Enabled());
    }
    EXPECT_EQ(window.lblAction(0).Caption(), "AVANCER:");
    EXPECT_EQ(window.lblAction(9).Caption(), "BAISSER:");
    EXPECT_EQ(window.lblRotation.Caption(), "Les rotations du joueur se font \u00e0 la souris");
    EXPECT_EQ(window.Chcnt.Caption(), "SOURIS INVERSEE");
}

// Any stored value but 0 means inverted; one outside the box's range once
// stopped the launcher's start.
TEST_F(InfoPages, TheInvertedMouseBoxFollowsTheStoredValueAndStoresItsOwn) {
    struct Case {
        const char* stored;
        int ticked;
        int32_t after;
    };
    const Case cases[] = {{"0", 0, 0}, {"1", 1, 1}, {"5", 1, 1}, {"-1", 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        registry::SetHiveFolder(folder_.filePath(QString("hive") + c.stored).toStdString());
        hive_values::SetText(kGameKey, "Souris", c.stored);
        Start();
        EXPECT_EQ(window.Chcnt.Value(), c.ticked);
        EXPECT_EQ(InverseSouris, c.after);
        window.Chcnt.SetValue(1 - c.ticked);
        EXPECT_EQ(InverseSouris, 1 - c.ticked);
        window.Unload();
    }
}

}  // namespace
