#pragma once

// Machines of a session inside one test process, each with its own layer
// object, on loopback and a door port of the test's own.

#include "platform/failure.h"
#include "platform/play/direct_play.h"
#include "platform/play/lobby.h"
#include "support/failure_number.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace play_test {

inline const std::string App = "{AC330441-9B71-11D2-9AAB-0020781461AC}";

// Polls `done` until it holds or `timeout` passes; returns whether it held.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5));

struct Received {
    int32_t from = 0;  // 0: a system message
    int32_t to = 0;
    std::shared_ptr<play::DirectPlayMessage> message;  // read from its second field on
    int32_t code = 0;                                  // the first Long (0 when there is none)
};

// A message as it reached a machine, its first Long read.
Received Arrived(int32_t from, int32_t to, std::shared_ptr<play::DirectPlayMessage> message);
// Everything waiting now for the local players `ids`, oldest first.
std::vector<Received> TakeWaiting(play::DirectPlay& dp, const std::vector<int32_t>& ids);
// Calls `take` until it has brought `count` messages in all (or `timeout`
// passes) and returns them.
std::vector<Received> TakeAtLeast(const std::function<std::vector<Received>()>& take, size_t count,
                                  std::chrono::milliseconds timeout);
// The sessions of `application` on the connection of `dp`.
std::shared_ptr<play::DirectPlayEnumSessions> SearchSessions(play::DirectPlay& dp, const std::string& application,
                                                             int32_t flags);

struct Machine {
    std::shared_ptr<play::DirectPlay> dp = play::DirectPlayCreate("");
    int32_t id = 0;

    Machine();
    void Host(const std::string& name, int32_t maxPlayers = 4, int32_t flags = 4);
    std::shared_ptr<play::DirectPlayEnumSessions> Search(int32_t flags = 1);
    void Join(const std::string& name);
    // Everything waiting now.
    std::vector<Received> Drain();
    // Waits until `count` messages have come (or the time-out) and takes them.
    std::vector<Received> DrainAtLeast(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5));
    std::vector<int32_t> PlayerIds();
};

// The session's door port for the test; set before any machine is made.
class PlayTest : public testing::Test {
protected:
    void SetUp() override;
    uint16_t port_ = 0;
};

// System messages seen in `messages`, as (code, player id or 0).
std::vector<std::pair<int32_t, int32_t>> SystemMessages(const std::vector<Received>& messages);

}  // namespace play_test
