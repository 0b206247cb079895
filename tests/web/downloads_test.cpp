// The map list, the map and release downloads, and the counted wait, against
// the scripted site and a game folder of the test's own.

#include "web_fixture.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "platform/failure.h"
#include "platform/net/http_get.h"
#include "platform/os/executable.h"
#include "platform/ui/list_control.h"
#include "platform/ui/mouse_pointer.h"
#include "support/failure_number.h"
#include "support/program_ended.h"
#include "support/zip_builder.h"
#include "web/game_list.h"
#include "web/web_host.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class MapsWindow : public ui::Form {
public:
    MapsWindow() : ui::Form("MapsWindow") {}
    ui::ListBox List2{*this, "List2"};
};

// What the wait showed as each tick came, before the tick ran.
struct Tick {
    std::string status;
    bool statusShown = false;
    bool callerEnabled = false;
};

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Every path below `folder`, relative to it.
std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        paths.insert(fs::relative(entry.path(), folder).string());
    return paths;
}

const std::string kUnpacking = "END of DOWNLOAD...\r\nUNZIP IN PROGRESS ...";

// The game folder lies in a folder of its own whose path holds a space, so
// that a test can also see that nothing was written beside it.
class Downloads : public WebTest {
protected:
    void SetUp() override {
        WebTest::SetUp();
        ASSERT_TRUE(outside_.isValid());
        game_ = fs::path(outside_.path().toStdString()) / "game folder";
        fs::create_directories(game_ / "map");
        CheminJeu = game_.string();
        os::SetExecutableFolder(game_.string());
        WaitTickMilliseconds = 5;
        // A whole download leaves the hourglass for its caller to take
        // away; each test starts from the default pointer.
        ui::SetMousePointer(ui::vbDefault);
        tick_ = status_.Timer1.Tick;
        status_.Timer1.Tick = [this] {
            ui::Form& caller = watched_ ? *watched_ : static_cast<ui::Form&>(caller_);
            ticks_.push_back({status_.lbl.Caption(), status_.Visible(), caller.Enabled()});
            if (duringWait_) duringWait_(ticks_.size());
            tick_();
        };
    }
    void TearDown() override {
        status_.Timer1.Tick = tick_;
        GameWindow().Unload();
        os::SetExecutableFolder({});
        WebTest::TearDown();
    }

    // The statuses a whole wait shows: the unpacking, then 1 to 10 of 10.
    static std::vector<std::string> WholeWait() {
        std::vector<std::string> statuses{kUnpacking};
        for (int i = 1; i <= 10; ++i) statuses.push_back("UNZIP " + std::to_string(i) + " / 10");
        return statuses;
    }
    std::vector<std::string> Statuses() const {
        std::vector<std::string> statuses;
        for (const Tick& tick : ticks_) statuses.push_back(tick.status);
        return statuses;
    }
    // After a wait the caller puts the default pointer back; after a
    // failure the download has done it.
    void ExpectWindowsBack(ui::Form& caller, bool pointerBack = false) {
        EXPECT_FALSE(status_.IsLoaded());
        EXPECT_TRUE(caller.Enabled());
        if (pointerBack) {
            EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
        }
    }

    QTemporaryDir outside_{QDir::tempPath() + "/Quellmar-dl-XXXXXX"};
    fs::path game_;
    std::vector<Tick> ticks_;
    std::function<void(size_t tick)> duringWait_;
    ui::Form* watched_ = nullptr;  // the caller the ticks look at, caller_ when none
    std::function<void()> tick_;
};

TEST_F(Downloads, TheMapListReplacesTheRowsOnlyWhenItsReplyLoads) {
    site_.OfferMap("quay");
    site_.OfferMap("Docks");
    const struct Case {
        const char* what;
        int status;  // 0: the scripted site's own list
        const char* reply;
        bool loaded;
        std::vector<std::string> rows;
    } cases[] = {
        {"the site's list", 0, "", true, {"QUAY", "DOCKS"}},
        {"mixed case, other elements",
         200,
         "<MAPS><MAP>uPPer</MAP><X>x</X><MAP>a b</MAP><MAPX>y</MAPX></MAPS>",
         true,
         {"UPPER", "A B"}},
        {"no map", 200, "<MAPS><X>x</X></MAPS>", true, {}},
        {"not found", 404, "", false, {"OLD"}},
        {"not xml", 200, "<MAPS>", false, {"OLD"}},
    };
    MapsWindow maps;
    maps.Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.status != 0) server_.ServeFixed("/script/get_map.php3", c.reply, c.status);
        maps.List2.Clear();
        maps.List2.AddItem("OLD");
        WebServers.assign(3, ServerEntry{});
        EXPECT_EQ(status_.Get_Map(maps), c.loaded);
        std::vector<std::string> rows;
        for (int i = 0; i < maps.List2.ListCount(); ++i) rows.push_back(maps.List2.List(i));
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(WebServers.size(), 1u);
        ASSERT_EQ(seen_.size(), 1u);
        EXPECT_EQ(seen_[0].status, "Please Wait Connexion to " + server_.Host() + " in progress...");
        EXPECT_EQ(seen_[0].pointer, ui::vbHourglass);
        ExpectWindowsBack(maps, true);
        seen_.clear();
    }
    EXPECT_EQ(Targets().front(), "/script/get_map.php3");
    maps.Unload();
}

// The name is shown as given and fetched in lower case; the caller stays
// disabled under the modal status window until the eleventh tick, and the
// close box changes nothing meanwhile.
TEST_F(Downloads, AMapIsDownloadedUnpackedAndWaitedForWithTheCallerDisabled) {
    const std::string package = SampleMapPackage("quay");
    site_.OfferMap("quay", package);
    duringWait_ = [this](size_t tick) {
        if (tick == 3) ui_events::CloseBox(status_);
    };
    status_.GetAnyFile("QUAY", &caller_);

    EXPECT_EQ(Targets(), std::vector<std::string>{"/quellmar/map/quay.exe"});
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0].status, "Download MAP (QUAY) In PROGRESS...\r\n Please Wait !!");
    EXPECT_TRUE(seen_[0].statusShown);
    EXPECT_FALSE(seen_[0].callerEnabled);
    EXPECT_EQ(seen_[0].pointer, ui::vbHourglass);
    EXPECT_EQ(Bytes(game_ / "quay.exe"), package);
    for (const char* file : {"quay.map", "quay.sol", "quay.mur", "quay.lad", "quay.pla"})
        EXPECT_TRUE(fs::is_regular_file(game_ / "map" / file)) << file;

    EXPECT_EQ(Statuses(), WholeWait());
    for (const Tick& tick : ticks_) {
        EXPECT_TRUE(tick.statusShown) << tick.status;
        EXPECT_FALSE(tick.callerEnabled) << tick.status;
    }
    ExpectWindowsBack(caller_);
    EXPECT_EQ(Listing(game_.parent_path()).count("quay.exe"), 0u);
}

TEST_F(Downloads, ASecondShorterDownloadReplacesTheFirstFileWhole) {
    const std::string first = SampleMapPackage("quay");
    const std::string second = BuildZip({{"quay.map", "sky\n"}});
    ASSERT_LT(second.size(), first.size());
    site_.OfferMap("quay", first);
    status_.GetAnyFile("quay", &caller_);
    site_.OfferMap("quay", second);
    status_.GetAnyFile("quay", &caller_);
    EXPECT_EQ(Bytes(game_ / "quay.exe"), second);
    EXPECT_EQ(Bytes(game_ / "map" / "quay.map"), "sky\n");
    for (const std::string& path : Listing(game_)) EXPECT_EQ(path.find(".copy-"), std::string::npos) << path;
}

TEST_F(Downloads, WithoutACallerTheGameWindowIsDisabledForTheWait) {
    site_.OfferMap("quay", SampleMapPackage("quay"));
    GameWindow().Show();
    watched_ = &GameWindow();
    status_.GetAnyFile("quay", nullptr);
    ASSERT_EQ(ticks_.size(), 11u);
    for (const Tick& tick : ticks_) EXPECT_FALSE(tick.callerEnabled) << tick.status;
    ExpectWindowsBack(GameWindow());
    EXPECT_TRUE(fs::is_regular_file(game_ / "map" / "quay.map"));
}

// Refused before anything is sent, or failed on the way: the failure comes
// back, the windows and the pointer are as before, no wait runs and no
// package is left.
TEST_F(Downloads, ANameThatIsNotPlainOrAFailedTransferOrWriteLeavesNothing) {
    server_.ServeCutShort("/quellmar/map/cut.exe", 200000);
    fs::create_directory(game_ / "folder.exe");  // a package cannot be written over a folder
    site_.OfferMap("folder", SampleMapPackage("folder"));
    const struct Case {
        std::string name;
        int32_t failure;
        bool sent;
    } cases[] = {
        {"../x", failure_number::InvalidArgument, false},
        {"a/b", failure_number::InvalidArgument, false},
        {"a\\b", failure_number::InvalidArgument, false},
        {"", failure_number::InvalidArgument, false},
        {"x y", failure_number::InvalidArgument, false},
        {"../../.config/autostart/x", failure_number::InvalidArgument, false},
        {"gone", net::ErrorStatus, true},
        {"cut", net::TransferFailed, true},
        {"folder", failure_number::PathFileAccessError, true},
    };
    const std::set<std::string> before = Listing(outside_.path().toStdString());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t sent = Targets().size();
        EXPECT_EQ(FailureNumberOf([&] { status_.GetAnyFile(c.name, &caller_); }), c.failure);
        EXPECT_EQ(Targets().size(), sent + (c.sent ? 1 : 0));
        EXPECT_TRUE(ticks_.empty());
        ExpectWindowsBack(caller_, true);
        EXPECT_EQ(Listing(outside_.path().toStdString()), before);
    }
}

// Whatever the package holds, the wait runs; a package the unpacking
// refuses installs nothing, and nothing lands outside the map folder.
TEST_F(Downloads, APackageThatDoesNotUnpackInstallsNothingAndStillGetsItsWait) {
    const struct Case {
        const char* what;
        std::string package;
        bool broken;
    } cases[] = {
        {"an HTML page", SampleMapPackage("quay"), true},
        {"an entry leaving the folder", BuildZip({{"quay.map", "sky\n"}, {"../quay.map", "sky\n"}}), false},
        {"a link", BuildZip({{"quay.map", "sky\n"}, {"env", "/tmp", ZipEntry::Kind::Symlink}}), false},
        {"not a zip", std::string(4000, 'x'), false},
    };
    const std::set<std::string> before = Listing(outside_.path().toStdString());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        site_.OfferMap("quay", c.package);
        site_.BreakPackages(c.broken);
        ticks_.clear();
        status_.GetAnyFile("quay", &caller_);
        EXPECT_EQ(Statuses(), WholeWait());
        ExpectWindowsBack(caller_);
        std::set<std::string> after = Listing(outside_.path().toStdString());
        after.erase("game folder/quay.exe");
        EXPECT_EQ(after, before);
    }
}

TEST_F(Downloads, ANewReleaseIsUnpackedIntoTheGameFolderAndTheProgramEnds) {
    std::ofstream(game_ / "readme.txt") << "old";
    const std::string package = BuildZip({{"readme.txt", "new"}, {"media/new.bmp", "BM"}});
    site_.SetReleasePackage(package);
    EXPECT_THROW(status_.GetVersion(), ProgramEnded);
    EXPECT_EQ(Targets(), std::vector<std::string>{"/quellmar/release.exe"});
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0].status, "Download NEW VERSION In PROGRESS...\r\n Please Wait !!");
    EXPECT_TRUE(seen_[0].statusShown);
    EXPECT_TRUE(seen_[0].callerEnabled);
    EXPECT_EQ(Bytes(game_ / "release.exe"), package);
    EXPECT_EQ(Bytes(game_ / "readme.txt"), "new");
    EXPECT_EQ(Bytes(game_ / "media" / "new.bmp"), "BM");
}

TEST_F(Downloads, AReleaseThatDoesNotUnpackStillEndsTheProgramAndAFailedOneDoesNot) {
    site_.SetReleasePackage(BuildZip({{"readme.txt", "new"}}));
    site_.BreakPackages(true);
    EXPECT_THROW(status_.GetVersion(), ProgramEnded);
    EXPECT_FALSE(fs::exists(game_ / "readme.txt"));

    server_.ServeCutShort("/quellmar/release.exe", 200000);
    EXPECT_EQ(FailureNumberOf([&] { status_.GetVersion(); }), net::TransferFailed);
    ExpectWindowsBack(caller_, true);
}

}  // namespace
