// The status window, the busy pattern around each request, and what each
// procedure sends.

#include "web_fixture.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "platform/failure.h"
#include "platform/net/http_get.h"
#include "platform/ui/colour.h"
#include "platform/ui/mouse_pointer.h"
#include "web/requests.h"
#include "web/web_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using StatusWindowTest = WebTest;

TEST_F(StatusWindowTest, DesignedWithItsPicturesAndTimerAndTheLookAndCannotBeClosedByThePlayer) {
    status_.Show();
    EXPECT_EQ(status_.Timer1.Interval(), 1000);
    EXPECT_FALSE(status_.Timer1.Enabled());
    EXPECT_EQ(status_.Image1.Picture().Width(), 127);
    EXPECT_EQ(status_.Image1.Picture().Height(), 128);
    EXPECT_EQ(status_.Image2.Picture().Width(), 203);
    EXPECT_EQ(status_.Image2.Picture().Height(), 45);
    EXPECT_EQ(status_.lbl.ForeColor(), ui::vbWhite);
    EXPECT_EQ(status_.lbl.FontName(), "arial black");

    ui_events::CloseBox(status_);
    EXPECT_TRUE(status_.IsLoaded());
    EXPECT_TRUE(status_.Visible());
}

// Each procedure, on a reply that loads and on one that does not: just
// before the request the hourglass, the caller disabled and the status
// window in front with its text; afterwards all undone.
TEST_F(StatusWindowTest, EachProcedureIsBusyDuringItsRequestAndUndoesItAfter) {
    int32_t board = 0;
    const struct {
        const char* what;
        std::function<void()> call;
    } procedures[] = {
        {"InfoJoueur", [&] { status_.InfoJoueur(&caller_); }},
        {"EnvoiMessage", [&] { status_.EnvoiMessage("hello", 0, caller_); }},
        {"RecupMessage", [&] { status_.RecupMessage(caller_, board); }},
    };
    const std::string waiting = "Please Wait Connexion to " + server_.Host() + " in progress...";
    for (const bool loads : {true, false}) {
        if (!loads) {
            server_.ServeStatus("/script/nouveaujoueur.php3", 404);
            server_.ServeStatus("/script/nouveaumess.php3", 500);
            server_.ServeFixed("/script/getmess.php3", "not xml");
        }
        for (const auto& [what, call] : procedures) {
            SCOPED_TRACE(std::string(what) + (loads ? " loaded" : " not loaded"));
            seen_.clear();
            call();
            ASSERT_EQ(seen_.size(), 1u);
            EXPECT_EQ(seen_[0].status, waiting);
            EXPECT_TRUE(seen_[0].statusShown);
            EXPECT_FALSE(seen_[0].callerEnabled);
            EXPECT_EQ(seen_[0].pointer, ui::vbHourglass);
            EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
            EXPECT_FALSE(status_.IsLoaded());
            EXPECT_TRUE(caller_.Enabled());
        }
    }
}

TEST_F(StatusWindowTest, AnAccountRequestWithoutCallerShowsOnlyTheHourglass) {
    EXPECT_TRUE(status_.InfoJoueur(nullptr));
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_FALSE(seen_[0].statusShown);
    EXPECT_TRUE(seen_[0].callerEnabled);
    EXPECT_EQ(seen_[0].pointer, ui::vbHourglass);
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    EXPECT_FALSE(status_.IsLoaded());
}

// A failure on the way passes to the caller, and the windows and pointer
// still end as after any request.
TEST_F(StatusWindowTest, AFailureDuringTheRequestStillUndoesTheBusyPattern) {
    SetRequestHook([](std::string_view) { throw Failure(net::TransferFailed, "Connection reset"); });
    int32_t board = 0;
    const std::function<void()> procedures[] = {
        [&] { status_.InfoJoueur(&caller_); },
        [&] { status_.EnvoiMessage("hello", 0, caller_); },
        [&] { status_.RecupMessage(caller_, board); },
    };
    for (const auto& call : procedures) {
        EXPECT_THROW(call(), Failure);
        EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
        EXPECT_FALSE(status_.IsLoaded());
        EXPECT_TRUE(caller_.Enabled());
    }
}

// Each procedure with set values, against the target the server received.
TEST_F(StatusWindowTest, EachProcedureSendsItsVariablesInTheScriptsOrder) {
    ProfileId = -3;
    ProfileName = "Jo";
    ProfileLogin = "jo";
    status_.InfoJoueur(&caller_);
    ProfileId = 7;
    status_.EnvoiMessage("hi&LEJOUEUR=1", 0, caller_);
    int32_t privateBoard = 1;
    status_.RecupMessage(caller_, privateBoard);
    EXPECT_EQ(privateBoard, 1);
    ProfileId = 1;  // the keeper reads the private board as board 2
    status_.RecupMessage(caller_, privateBoard);
    EXPECT_EQ(privateBoard, 2);
    int32_t publicBoard = 0;
    status_.RecupMessage(caller_, publicBoard);
    EXPECT_EQ(publicBoard, 0);

    EXPECT_EQ(Targets(), (std::vector<std::string>{
                             "/script/nouveaujoueur.php3?LENUM=-3&LENOM=Jo&LELOG=jo&LEPWD=&LEMAIL=&LESOFT=1"
                             "&LEVERSION=2.11.0",
                             "/script/nouveaumess.php3?LESOFT=1&LEJOUEUR=7&LETYP=0&LEMESS=hi%26LEJOUEUR%3D1",
                             "/script/getmess.php3?LESOFT=1&LETYP=1",
                             "/script/getmess.php3?LESOFT=1&LETYP=2",
                             "/script/getmess.php3?LESOFT=1&LETYP=0",
                         }));
}

// Whatever the player types reaches the site as typed, as the one value of
// its key.
TEST_F(StatusWindowTest, TypedTextsReachTheServerExactly) {
    ProfileName = "Jo & Co = #1 + 50%41 caf\xc3\xa9";
    ProfileLogin = "a=b&c";
    ProfilePassword = "p+w %41 x#y ";
    ProfileEmail = "e@x.org&LENUM=5";
    std::multimap<std::string, std::string> keys;
    server_.Route("/script/nouveaujoueur.php3", [&](const FakeRequest& request) {
        keys = request.params;
        return FakeReply{200, "<J/>"};
    });
    EXPECT_TRUE(status_.InfoJoueur(&caller_));
    EXPECT_EQ(keys, (std::multimap<std::string, std::string>{{"LENUM", "0"},
                                                             {"LENOM", ProfileName},
                                                             {"LELOG", ProfileLogin},
                                                             {"LEPWD", ProfilePassword},
                                                             {"LEMAIL", ProfileEmail},
                                                             {"LESOFT", "1"},
                                                             {"LEVERSION", "2.11.0"}}));
}

TEST_F(StatusWindowTest, WithNoWebHostNothingIsSentAndTheCallerIsUsableAgain) {
    FixedWebHost = "";
    int32_t board = 0;
    EXPECT_FALSE(status_.InfoJoueur(&caller_));
    status_.EnvoiMessage("hello", 0, caller_);
    EXPECT_EQ(status_.RecupMessage(caller_, board), "");
    EXPECT_TRUE(Targets().empty());
    EXPECT_TRUE(seen_.empty());
    EXPECT_TRUE(HiveUntouched());
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(caller_.Enabled());
    EXPECT_FALSE(status_.IsLoaded());
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
}

}  // namespace
