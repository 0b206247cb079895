#include "platform/play/door.h"

#include "platform/failure.h"
#include "platform/play/errors.h"
#include "platform/play/network.h"

#include <chrono>
#include <random>

namespace play {
namespace {

constexpr uint32_t ResendEveryMs = 150;
// Larger than any door datagram: a reply holds at most four texts.
constexpr size_t DatagramCapacity = 8192;
// A reply outgrows its request by 15 bytes of fixed fields, the session's
// instance (38) and its name (at most MaxStringLength): a request padded by
// this much is answered for any session.
constexpr uint16_t SearchPadding = 1100;

void SendTo(ENetSocket socket, const ENetAddress& to, const std::vector<uint8_t>& bytes) {
    ENetBuffer buffer{const_cast<uint8_t*>(bytes.data()), bytes.size()};
    enet_socket_send(socket, &to, &buffer, 1);
}

class Socket {
public:
    Socket() : socket_(enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM)) {
        if (socket_ == ENET_SOCKET_NULL) throw Failure(error::NoConnection, "no socket for the session search");
        enet_socket_set_option(socket_, ENET_SOCKOPT_NONBLOCK, 1);
    }
    ~Socket() { enet_socket_destroy(socket_); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ENetSocket get() const { return socket_; }

private:
    ENetSocket socket_;
};

}  // namespace

std::vector<FoundSession> FindSessions(const std::string& hostText, uint16_t port, const std::string& application,
                                       uint32_t timeoutMs) {
    EnsureEnet();
    std::vector<ENetAddress> targets;
    if (hostText.empty()) {
        targets.push_back(ENetAddress{ENET_HOST_BROADCAST, port});
        ENetAddress self{0, port};
        enet_address_set_host_ip(&self, "127.0.0.1");
        targets.push_back(self);
    } else {
        ENetAddress target{0, port};
        if (enet_address_set_host(&target, hostText.c_str()) != 0)
            throw Failure(error::NoConnection, "unknown host " + hostText);
        targets.push_back(target);
    }
    Socket socket;
    if (hostText.empty()) enet_socket_set_option(socket.get(), ENET_SOCKOPT_BROADCAST, 1);

    const uint32_t nonce = std::random_device{}();
    const std::vector<uint8_t> request = wire::Encode(wire::EnumRequest{nonce, application, SearchPadding});
    std::vector<FoundSession> found;
    const auto start = std::chrono::steady_clock::now();
    auto elapsedMs = [&] {
        return static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
    };
    uint32_t nextSend = 0;
    std::vector<uint8_t> bytes(DatagramCapacity);
    for (uint32_t now = 0; now < timeoutMs; now = elapsedMs()) {
        if (now >= nextSend) {
            for (const ENetAddress& target : targets) SendTo(socket.get(), target, request);
            nextSend = now + ResendEveryMs;
        }
        enet_uint32 condition = ENET_SOCKET_WAIT_RECEIVE;
        if (enet_socket_wait(socket.get(), &condition, std::min(nextSend, timeoutMs) - now) != 0) break;
        if (!(condition & ENET_SOCKET_WAIT_RECEIVE)) continue;
        ENetAddress from{};
        ENetBuffer buffer{bytes.data(), bytes.size()};
        const int received = enet_socket_receive(socket.get(), &from, &buffer, 1);
        if (received <= 0) continue;
        const auto datagram = wire::DecodeDoor(bytes.data(), static_cast<size_t>(received));
        const auto* reply = datagram ? std::get_if<wire::EnumReply>(&*datagram) : nullptr;
        if (!reply || reply->nonce != nonce) continue;
        bool known = false;
        for (const FoundSession& s : found) known |= s.description.instance == reply->description.instance;
        if (!known) found.push_back({reply->description, reply->currentPlayers, from.host, reply->linkPort});
        if (!hostText.empty()) break;
    }
    return found;
}

Door::~Door() { Close(); }

bool Door::Open(uint16_t port) {
    Close();
    socket_ = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
    if (socket_ == ENET_SOCKET_NULL) return false;
    enet_socket_set_option(socket_, ENET_SOCKOPT_NONBLOCK, 1);
    const ENetAddress address{ENET_HOST_ANY, port};
    if (enet_socket_bind(socket_, &address) != 0) {
        Close();
        return false;
    }
    return true;
}

void Door::Close() {
    if (socket_ != ENET_SOCKET_NULL) enet_socket_destroy(socket_);
    socket_ = ENET_SOCKET_NULL;
}

void Door::Serve(const Answer& answer) {
    if (!IsOpen()) return;
    std::vector<uint8_t> bytes(DatagramCapacity);
    for (;;) {
        ENetAddress from{};
        ENetBuffer buffer{bytes.data(), bytes.size()};
        const int received = enet_socket_receive(socket_, &from, &buffer, 1);
        if (received <= 0) return;
        const auto datagram = wire::DecodeDoor(bytes.data(), static_cast<size_t>(received));
        const auto* request = datagram ? std::get_if<wire::EnumRequest>(&*datagram) : nullptr;
        if (!request) continue;
        const auto reply = answer(*request);
        if (!reply) continue;
        // Never more than was sent, so the door cannot amplify a forged request.
        const std::vector<uint8_t> replyBytes = wire::Encode(*reply);
        if (replyBytes.size() <= static_cast<size_t>(received)) SendTo(socket_, from, replyBytes);
    }
}

}  // namespace play
