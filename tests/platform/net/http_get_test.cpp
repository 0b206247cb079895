#include "platform/net/http_get.h"

#include "platform/failure.h"
#include "support/fake_web_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace std::chrono_literals;

namespace {

constexpr net::TransferLimits kQuick{.connectTimeout = 2s, .totalTimeout = 500ms, .maxBytes = 1 << 20};
// Only the low-speed limit stops a transfer: the total time-out is far off.
constexpr net::TransferLimits kSlowOnly{.totalTimeout = 60s, .lowSpeedBytes = 512, .lowSpeedTime = 1s};

class HttpGet : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(server_.Start(), 0); }
    FakeWebServer server_;
};

TEST_F(HttpGet, GivesTheWholeBodyAndSendsTheQueryAsTyped) {
    const std::string body("MZ\0\x01binary\xff", 11);
    std::string name;
    server_.Route("/script/nouveaujoueur.php3", [&](const FakeRequest& request) {
        name = request.params.find("LENOM")->second;
        return FakeReply{200, body, "application/octet-stream"};
    });
    const std::vector<uint8_t> reply =
        net::OpenURL(server_.Url("/script/nouveaujoueur.php3?LENOM=Jo #1 \xc3\xa9&LEPWD="));
    EXPECT_EQ(std::string(reply.begin(), reply.end()), body);
    EXPECT_EQ(name, "Jo #1 \xc3\xa9");
    EXPECT_EQ(server_.Requests().back(), "/script/nouveaujoueur.php3?LENOM=Jo%20%231%20%C3%A9&LEPWD=");
}

TEST_F(HttpGet, FailsWithTheReason) {
    server_.ServeStatus("/missing", 404);
    server_.ServeStatus("/broken", 500);
    server_.ServeSlow("/slow", 5s, "<late/>");
    server_.ServeSlow("/silent", 60s, "<late/>");
    server_.ServeTrickle("/trickle", 1000, 100ms);
    server_.ServeOversized("/huge", 3 << 20);
    server_.ServeCutShort("/cut", 1 << 20);
    FakeWebServer stopped;
    const int closedPort = stopped.Start();
    stopped.Stop();

    const struct {
        std::string url;
        int32_t number;
        std::string reason;
        net::TransferLimits limits = kQuick;
    } cases[] = {
        {server_.Url("/missing"), net::ErrorStatus, "status 404"},
        {server_.Url("/broken"), net::ErrorStatus, "status 500"},
        {server_.Url("/slow"), net::TimedOut, "timed out"},
        {server_.Url("/silent"), net::TimedOut, "timed out", kSlowOnly},
        {server_.Url("/trickle"), net::TimedOut, "timed out", kSlowOnly},
        {server_.Url("/huge"), net::ReplyTooLarge, "larger than 1048576 bytes"},
        {server_.Url("/cut"), net::TransferFailed, "failed"},
        {"http://127.0.0.1:" + std::to_string(closedPort) + "/", net::TransferFailed, "failed"},
        {"file:///etc/passwd", net::TransferFailed, "failed"},
    };
    for (const auto& [url, number, reason, limits] : cases) {
        SCOPED_TRACE(url);
        const auto start = std::chrono::steady_clock::now();
        try {
            net::OpenURL(url, limits);
            ADD_FAILURE() << "no failure";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Number(), number);
            EXPECT_NE(failure.Description().find(reason), std::string::npos) << failure.Description();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    }
}

}  // namespace
