#pragma once

// A machine that does not run the session layer: a bare ENet host on
// loopback that speaks the layer's link packets (wire.h) as a test tells it
// to, right or wrong. A thread of its own keeps its links serviced, so they
// stay up while the test waits elsewhere.

#include "platform/play/wire.h"

#include <enet/enet.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace play_test {

class BareClient {
public:
    explicit BareClient(size_t links = 4);
    ~BareClient();
    BareClient(const BareClient&) = delete;
    BareClient& operator=(const BareClient&) = delete;

    // Opens a link to the port on 127.0.0.1 and returns its handle at once;
    // Connected tells when the other side has taken it.
    int Open(uint16_t port);
    // Opens a link and waits until it is up; -1 when it did not come up.
    int Connect(uint16_t port, std::chrono::milliseconds timeout = std::chrono::seconds(3));
    bool Connected(int link);
    // Whether the other side has closed or dropped the link.
    bool Closed(int link);
    void Close(int link);

    void Send(int link, const play::wire::LinkPacket& packet, bool guaranteed = true);
    void SendBytes(int link, const std::vector<uint8_t>& bytes, bool guaranteed = true);
    // The first packet of kind T that comes on the link within the time-out,
    // dropping those before it.
    template <class T>
    std::optional<T> Next(int link, std::chrono::milliseconds timeout = std::chrono::seconds(3)) {
        std::optional<T> found;
        WaitUntil(timeout, [&] {
            auto& inbox = links_[link].inbox;
            while (!inbox.empty() && !found) {
                if (auto* packet = std::get_if<T>(&inbox.front())) found = std::move(*packet);
                inbox.pop_front();
            }
            return found.has_value();
        });
        return found;
    }

    // Joins the session whose host listens on `hostPort` as the layer would:
    // JoinRequest, then a Hello with the token to every member. The
    // JoinAccept, or nothing when the host or a member did not take it.
    std::optional<play::wire::JoinAccept> Join(uint16_t hostPort, const std::string& instance);
    // After Join: the link to the machine with that number.
    int LinkOf(uint32_t number) const { return members_.at(number); }

private:
    struct Link {
        ENetPeer* peer = nullptr;
        bool connected = false;
        bool closed = false;
        std::deque<play::wire::LinkPacket> inbox;
    };
    void Run();
    template <class Done>
    bool WaitUntil(std::chrono::milliseconds timeout, Done done) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, done);
    }

    ENetHost* host_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    std::map<int, Link> links_;
    std::map<uint32_t, int> members_;
    std::thread thread_;
};

}  // namespace play_test
