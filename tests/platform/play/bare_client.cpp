#include "bare_client.h"

#include "platform/play/network.h"

#include <stdexcept>

namespace play_test {

using namespace play::wire;

BareClient::BareClient(size_t links) {
    play::EnsureEnet();
    host_ = enet_host_create(nullptr, links, 1, 0, 0);
    if (!host_) throw std::runtime_error("no ENet host for the bare client");
    host_->checksum = enet_crc32;
    thread_ = std::thread(&BareClient::Run, this);
}

BareClient::~BareClient() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    thread_.join();
    enet_host_destroy(host_);
}

void BareClient::Run() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
            ENetEvent event;
            while (enet_host_service(host_, &event, 0) > 0) {
                // ENet hands out a closed link's peer again: only open links match.
                auto link = links_.begin();
                while (link != links_.end() && link->second.peer != event.peer) ++link;
                if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                    auto packet = DecodeLink(event.packet->data, event.packet->dataLength);
                    if (packet && link != links_.end()) link->second.inbox.push_back(std::move(*packet));
                    enet_packet_destroy(event.packet);
                }
                if (link == links_.end()) continue;
                if (event.type == ENET_EVENT_TYPE_CONNECT) link->second.connected = true;
                if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
                    link->second.closed = true;
                    link->second.peer = nullptr;
                }
            }
            changed_.notify_all();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int BareClient::Open(uint16_t port) {
    std::lock_guard lock(mutex_);
    ENetAddress to{0, port};
    enet_address_set_host_ip(&to, "127.0.0.1");
    const int handle = static_cast<int>(links_.size());
    links_[handle].peer = enet_host_connect(host_, &to, 1, 0);
    if (!links_[handle].peer) throw std::runtime_error("no free link in the bare client");
    enet_host_flush(host_);
    return handle;
}

int BareClient::Connect(uint16_t port, std::chrono::milliseconds timeout) {
    const int link = Open(port);
    return WaitUntil(timeout, [&] { return links_[link].connected; }) ? link : -1;
}

bool BareClient::Connected(int link) {
    std::lock_guard lock(mutex_);
    return links_.at(link).connected;
}

bool BareClient::Closed(int link) {
    std::lock_guard lock(mutex_);
    return links_.at(link).closed;
}

void BareClient::Close(int link) {
    std::lock_guard lock(mutex_);
    Link& closing = links_.at(link);
    if (closing.peer) enet_peer_disconnect_now(closing.peer, 0);
    closing.peer = nullptr;
    closing.closed = true;
}

void BareClient::Send(int link, const LinkPacket& packet, bool guaranteed) {
    SendBytes(link, Encode(packet), guaranteed);
}

void BareClient::SendBytes(int link, const std::vector<uint8_t>& bytes, bool guaranteed) {
    std::lock_guard lock(mutex_);
    ENetPeer* peer = links_.at(link).peer;
    if (!peer) return;
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), guaranteed ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (enet_peer_send(peer, 0, packet) != 0) enet_packet_destroy(packet);
    enet_host_flush(host_);
}

std::optional<JoinAccept> BareClient::Join(uint16_t hostPort, const std::string& instance) {
    const int host = Connect(hostPort);
    if (host < 0) return std::nullopt;
    Send(host, JoinRequest{instance, ""});
    auto accept = Next<JoinAccept>(host);
    if (!accept) return std::nullopt;
    members_[accept->senderNumber] = host;
    for (const Member& member : accept->members) {
        const int link = Connect(member.port);
        if (link < 0) return std::nullopt;
        Send(link, Hello{instance, accept->yourNumber, accept->yourToken, {}});
        if (!Next<HelloAck>(link)) return std::nullopt;
        members_[member.number] = link;
    }
    return accept;
}

}  // namespace play_test
