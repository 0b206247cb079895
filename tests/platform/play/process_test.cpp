// Machines of one session in separate processes: the one in the child
// process leaves cleanly, or is killed.

#include "support/play_fixture.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

using namespace play_test;

namespace {

using System = std::pair<int32_t, int32_t>;

// A play_peer process; its player's id once it is ready.
class Peer {
public:
    Peer(const char* role, const char* name) {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        char* argv[] = {const_cast<char*>(PLAY_PEER_PATH), const_cast<char*>(role), const_cast<char*>(name), nullptr};
        const int spawned = posix_spawn(&pid_, PLAY_PEER_PATH, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        input_ = in[1];
        output_ = out[0];
        if (spawned != 0) throw std::runtime_error("spawn");
        id = ReadReady();
    }
    ~Peer() {
        close(input_);
        close(output_);
        if (pid_ > 0) kill(pid_, SIGCONT);
        if (pid_ > 0 && !WaitForExit(std::chrono::seconds(3))) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    // Ends standard input: the peer leaves its session and exits.
    bool Leave() {
        close(input_);
        input_ = -1;
        return WaitForExit(std::chrono::seconds(3));
    }
    void Kill() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    // The process stays, but stops answering.
    void Stop() { kill(pid_, SIGSTOP); }
    int32_t id = 0;

private:
    int32_t ReadReady() {
        std::string line;
        char c;
        pollfd ready{output_, POLLIN, 0};
        while (poll(&ready, 1, 5000) > 0 && read(output_, &c, 1) == 1 && c != '\n') line += c;
        return line.rfind("ready ", 0) == 0 ? std::stoi(line.substr(6)) : 0;
    }
    bool WaitForExit(std::chrono::milliseconds timeout) {
        int status = 0;
        const bool gone = WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeout);
        if (gone) pid_ = -1;
        return gone;
    }
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
};

class ProcessTest : public PlayTest {};

TEST_F(ProcessTest, MachinesInSeparateProcessesShareASession) {
    Peer host("host", "carl");
    ASSERT_NE(host.id, 0);
    Machine b;
    b.Join("bob");
    EXPECT_EQ(b.PlayerIds(), (std::vector<int32_t>{host.id, b.id}));
    EXPECT_EQ(b.dp->GetPlayerFriendlyName(host.id), "carl");
    EXPECT_EQ(b.dp->GetPlayerFormalName(host.id), "0carl");

    auto message = b.dp->CreateMessage();
    message->WriteLong(77);
    b.dp->Send(b.id, host.id, play::SendGuaranteed, message);
    const auto echo = b.DrainAtLeast(1);
    ASSERT_EQ(echo.size(), 1u);
    EXPECT_EQ(echo[0].from, host.id);
    EXPECT_EQ(echo[0].code, 77);

    ASSERT_TRUE(host.Leave());
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(2)), (std::vector<System>{{5, host.id}, {0x101, 0}}));
}

TEST_F(ProcessTest, KilledHostIsDestroyedEverywhereAndOneMachineTakesOver) {
    Peer host("host", "carl");
    ASSERT_NE(host.id, 0);
    Machine b, c;
    b.Join("bob");
    c.Join("cleo");
    ASSERT_TRUE(WaitFor([&] { return b.PlayerIds().size() == 3; }));
    b.Drain();

    host.Kill();
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(2, std::chrono::seconds(6))),
              (std::vector<System>{{5, host.id}, {0x101, 0}}));
    EXPECT_EQ(SystemMessages(c.DrainAtLeast(1, std::chrono::seconds(6))), (std::vector<System>{{5, host.id}}));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(c.Drain().empty()) << "only one machine becomes host";

    Machine d;
    ASSERT_TRUE(WaitFor([&] { return d.Search()->GetCount() == 1; }));
    d.Join("dora");
    EXPECT_EQ(d.PlayerIds(), (std::vector<int32_t>{b.id, c.id, d.id}));
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(1)), (std::vector<System>{{3, d.id}}));
    EXPECT_EQ(SystemMessages(c.DrainAtLeast(1)), (std::vector<System>{{3, d.id}}));
}

TEST_F(ProcessTest, MachineThatStopsAnsweringIsDestroyedEverywhere) {
    Machine a;
    a.Host("alice");
    Peer joiner("join", "jon");
    ASSERT_NE(joiner.id, 0);
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 2; }));
    a.Drain();

    joiner.Stop();
    EXPECT_EQ(SystemMessages(a.DrainAtLeast(1, std::chrono::seconds(6))), (std::vector<System>{{5, joiner.id}}));
    EXPECT_EQ(a.PlayerIds(), (std::vector<int32_t>{a.id}));
}

}  // namespace
